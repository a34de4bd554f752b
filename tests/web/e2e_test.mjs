// End to end in headless Chromium: the web build's pages as a user meets them, judged by their pixels and
// by what the page says, with the checks of the desktop end-to-end tests. Run one case by its name:
//   node e2e_test.mjs skidwell
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { basename } from 'node:path';
import { test } from 'node:test';
import {
    capture,
    clickMenu,
    followRecordedFrame,
    isColour,
    judgeFrame,
    launchBrowser,
    openPage,
    pixelsOf,
    startServer,
    waitFor,
    waitForProgram,
    waitForState,
} from './browser.mjs';

const kBackground = [0x202023, 0x222225]; // Skidwell's
const kMenuSampleBackground = [0x324c65, 0x344e67]; // glClearColor(0.2, 0.3, 0.4)
const kTriangleBackground = [0x181831, 0x1c1c35]; // glClearColor(0.1, 0.1, 0.2)
const kWhite = [0xe6e6e6, 0xffffff];
const kGrey = [0x787878, 0x888888]; // the curve's 0x808080
const kGreen = [0x00d700, 0x28ff28];
const kOrange = [0xe68a00, 0xffb030]; // glColor3f(1.0, 0.6, 0.1)
const kSteadyMilliseconds = 300; // longer than any gap between two frames

const chosen = process.argv[2];
let registered = 0;

// One case with a browser and a server of its own, closed whatever happens.
function scenario(name, body) {
    if (chosen !== undefined && !name.startsWith(`${chosen}:`)) {
        return;
    }
    registered++;
    test(name, async () => {
        const server = await startServer(process.env.KW_PAGES_DIR, process.env.KW_TEST_PAGES_DIR);
        const browser = await launchBrowser();
        try {
            await body((path, prepare) => openPage(browser, server.url + path, prepare));
        } finally {
            await browser.close();
            server.close();
        }
    });
}

const kControlPoints = [[-1, 0], [-1, 0.5], [0, 0.25], [1, 0.5], [1, 0], [0, -1]];

// Skidwell's picture fills the surface; the curve editor's is the largest 4:3 rectangle centred on it.
const whole = (view) => ({ left: 0, top: 0, width: view.width, height: view.height });
function centred(view) {
    const width = Math.min(view.width, (view.height * 4) / 3);
    const height = Math.min(view.height, (view.width * 3) / 4);
    return { left: (view.width - width) / 2, top: (view.height - height) / 2, width, height };
}

// The pixel where the view puts the point (x, 0, z) in a picture: eye 5 above the plane, +x right, -z up,
// f = 1 / tan(35 radians), aspect 4:3.
function where(picture, x, z) {
    return {
        x: Math.floor(picture.left + ((1 + x / Math.tan(35) / (4 / 3) / 5) / 2) * picture.width),
        y: Math.floor(picture.top + ((1 + z / Math.tan(35) / 5) / 2) * picture.height),
    };
}

// Pixels of `colour` within `r` of where the view puts the point (x, 0, z) in its picture.
function near(view, x, z, r, colour, picture = whole) {
    const { x: px, y: py } = where(picture(view), x, z);
    return pixelsOf(view, colour, { left: px - r, top: py - r, right: px + r, bottom: py + r }).length;
}

function samePixels(a, b) {
    return a.width === b.width && a.height === b.height && a.data.equals(b.data);
}

// The element's pixels once they have not changed for kSteadyMilliseconds.
async function steadyCapture(page, selector) {
    let last = await capture(page, selector);
    let since = Date.now();
    return waitFor(`${selector} to hold still`, async () => {
        const now = await capture(page, selector);
        if (!samePixels(now, last)) {
            last = now;
            since = Date.now();
            return null;
        }
        return Date.now() - since >= kSteadyMilliseconds ? now : null;
    });
}

// The exit code the page reports, and nothing the framework reported on the way.
async function expectCleanEnd(page) {
    assert.match(await waitForState(page, 'ended'), /has ended \(exit code 0\)/);
    assert.equal(await page.$('.kw-window'), null, 'the window is still on the page');
    assert.deepEqual(page.output.filter((line) => line.includes('ASSERTION FAILED!')), []);
}

scenario('skidwell: six rings where the view puts them, a marker that moves, the close control', async (open) => {
    const page = await open('skidwell.html');
    await waitForProgram(page, 'Skidwell: Curve Test', kBackground);
    const first = await capture(page);

    kControlPoints.forEach(([x, z], i) => {
        assert.ok(near(first, x, z, 6, kWhite) >= 4, `no white ring at control point ${i}`);
    });
    const marker = pixelsOf(first, kGreen);
    assert.ok(marker.length > 10, 'no green marker in the first capture');

    // The marker moves: a later capture shows it, less than half of it where it was.
    await waitFor('the green marker to move', async () => {
        const later = await capture(page);
        const stayed = marker.filter(([x, y]) => isColour(later.pixel(x, y), kGreen));
        return pixelsOf(later, kGreen).length > 10 && stayed.length < marker.length / 2;
    });

    await page.click('.kw-close');
    await expectCleanEnd(page);
});

scenario('menu-sample: File, then Exit, ends the program', async (open) => {
    const page = await open('menu-sample.html');
    await waitForProgram(page, 'Kelpwright Menu Sample', kMenuSampleBackground);
    await clickMenu(page, 'File');
    await clickMenu(page, 'Exit');
    await expectCleanEnd(page);
});

// The curve editor: a dragged ring follows the pointer and stays where it is dropped with the curve
// through it, Space stops the marker, R brings the ring back, every ring where a centred 4:3 picture
// puts it, and File -> Exit ends the run.
scenario('curve-editor: a dragged ring, Space, R, File and Exit', async (open) => {
    const page = await open('curve-editor.html');
    await waitForProgram(page, 'Skidwell: Curve Editor', kBackground);
    const ringAt = async ([x, z]) => near(await capture(page), x, z, 6, kWhite, centred) >= 4;
    const allRingsShow = async () => (await Promise.all(kControlPoints.map(ringAt))).every(Boolean);
    const from = kControlPoints[2];
    const via = [0.25, 0.1];
    const to = [0.4, -0.2]; // away from the curve and the axes
    await waitFor('every ring where the picture puts it', allRingsShow);
    const grey = async () => near(await capture(page), ...to, 10, kGrey, centred);
    assert.equal(await grey(), 0, 'the curve passes there already');

    // The drag, as the user moves the mouse.
    const box = await page.$eval('.kw-view', (view) => view.getBoundingClientRect().toJSON());
    const view = await capture(page);
    const pointerTo = ([x, z]) => {
        const spot = where(centred(view), x, z);
        return page.mouse.move(box.x + spot.x + 0.5, box.y + spot.y + 0.5, { steps: 5 });
    };
    await pointerTo(from);
    await page.mouse.down();
    await pointerTo(via);
    await waitFor('the ring to follow the pointer', () => ringAt(via));
    await pointerTo(to);
    await page.mouse.up();
    await waitFor('the ring where it was dropped', async () => (await ringAt(to)) && !(await ringAt(from)));
    assert.ok((await grey()) >= 5, 'the curve misses the ring');

    // Space: the marker stops, so the whole picture holds still.
    await page.keyboard.press('Space');
    await steadyCapture(page, '.kw-view');

    // R: the ring goes back.
    await page.keyboard.press('KeyR');
    await waitFor('R to bring the ring back', async () => (await ringAt(from)) && !(await ringAt(to)));

    await clickMenu(page, 'File');
    await clickMenu(page, 'Exit');
    await expectCleanEnd(page);
});

// Where the guide's triangle points, in degrees in the image: from the centroid of its orange pixels to
// the one farthest from it, its apex (the other corners are a tenth nearer). NaN without a triangle.
function apexAngle(view) {
    const orange = pixelsOf(view, kOrange);
    if (orange.length < 100) {
        return NaN;
    }
    const cx = orange.reduce((sum, [x]) => sum + x, 0) / orange.length;
    const cy = orange.reduce((sum, [, y]) => sum + y, 0) / orange.length;
    const [ax, ay] = orange.reduce((far, p) =>
        Math.hypot(p[0] - cx, p[1] - cy) > Math.hypot(far[0] - cx, far[1] - cy) ? p : far);
    return (Math.atan2(ay - cy, ax - cx) * 180) / Math.PI;
}

// The guide's game in real time, from the animation frames: a quarter of a circle a second of wall
// time, followed from capture to capture (each well under half a turn apart) for 2.5 s. Then "Pause"
// stops the triangle and shows its check mark, "Pause" again restarts it and takes the mark away, and
// "Quit" ends the run.
scenario('triangle-game: a quarter turn a second, Pause, its check mark, Pause again, Quit', async (open) => {
    const kDegreesPerSecond = 90;
    const kTolerance = 0.25;
    const page = await open('triangle-game.html');
    await waitForProgram(page, 'Kelpwright Triangle', kTriangleBackground);
    let last = apexAngle(await capture(page));
    assert.ok(!Number.isNaN(last), 'no triangle in the first capture');
    const start = Date.now();
    let turned = 0;
    let seconds = 0;
    await waitFor('2.5 s of captures with the triangle in them', async () => {
        const angle = apexAngle(await capture(page));
        if (Number.isNaN(angle)) {
            return false;
        }
        turned += angle - last - 360 * Math.round((angle - last) / 360);
        last = angle;
        seconds = (Date.now() - start) / 1000;
        return seconds >= 2.5;
    });
    const rate = Math.abs(turned) / seconds;
    assert.ok(Math.abs(rate - kDegreesPerSecond) <= kDegreesPerSecond * kTolerance,
        `${rate.toFixed(1)} degrees a second, ${turned.toFixed(1)} in ${seconds.toFixed(2)} s`);

    const openGame = async () => {
        await clickMenu(page, 'Game');
        return steadyCapture(page, '.kw-menu-bar .kw-menu .kw-menu');
    };
    const unchecked = await openGame();
    await clickMenu(page, 'Pause');
    const paused = await steadyCapture(page, '.kw-view');
    const checked = await openGame();
    assert.ok(!samePixels(checked, unchecked), 'no check mark beside "Pause"');
    assert.equal(await page.$eval('[data-kw-item="2"]', (item) => item.getAttribute('aria-checked')), 'true');

    await clickMenu(page, 'Pause');
    await waitFor('the triangle to turn again', async () => !samePixels(await capture(page), paused));
    assert.ok(samePixels(await openGame(), unchecked), 'the check mark stayed beside "Pause"');
    await clickMenu(page, 'Quit');
    await expectCleanEnd(page);
});

// A page whose module cannot load, and a browser without WebGL, get a message, not a blank page.
scenario('load-failure: a module that cannot load, or no WebGL, is said so on the page', async (open) => {
    for (const missing of ['.wasm', '.js']) {
        const page = await open('skidwell.html', async (unopened) => {
            await unopened.setRequestInterception(true);
            unopened.on('request', (request) =>
                request.url().endsWith(`skidwell${missing}`) ? request.abort() : request.continue());
        });
        assert.match(await waitForState(page, 'failed'),
            /^Skidwell: Curve Test could not be loaded \(.+\)\. Reload the page to try again\.$/);
        assert.equal(await page.$('.kw-window'), null, `a window stayed without skidwell${missing}`);
    }
    const page = await open('triangle-game.html', (unopened) =>
        unopened.evaluateOnNewDocument(() => {
            const getContext = HTMLCanvasElement.prototype.getContext;
            HTMLCanvasElement.prototype.getContext = function (type, ...rest) {
                return /webgl/.test(type) ? null : getContext.call(this, type, ...rest);
            };
        }));
    assert.match(await waitForState(page, 'no-webgl'), /^Kelpwright Triangle cannot run in this browser: it draws with WebGL/);
});

// The frames of tests/golden, and one of every primitive, replayed through the OpenGL subset must show
// every segment and triangle where the recorded matrices put it, in its colour, and the clear colour
// everywhere else.
scenario('gl-replay: the recorded frames give the right pixels', async (open) => {
    for (const file of process.env.KW_FRAMES.split(',')) {
        const name = basename(file);
        const page = await open(`test/test-page.html?module=kw_gl_replay.js&arg=${name}`);
        const frame = followRecordedFrame(readFileSync(file, 'utf8'), 800, 600);
        const pack = (offset) => frame.clear.reduce((rgb, c) => (rgb << 8) | Math.min(255, Math.max(0, c + offset)), 0);
        await waitForProgram(page, 'Kelpwright Replay', [pack(-1), pack(1)]);
        const view = await capture(page);
        assert.equal(`${view.width} x ${view.height}`, '800 x 600', name);
        const { segments, triangles, background, problems } = judgeFrame(view, frame);
        const checked = `${segments} of ${frame.segments.length} segments, ${triangles} of ` +
            `${frame.triangles.length} triangles and ${background} background places`;
        assert.deepEqual(problems.slice(0, 10), [], `${name}: ${problems.length} wrong; checked ${checked}`);
        assert.ok(segments > frame.segments.length / 2, `${name}: checked only ${checked}`);
        assert.ok(triangles >= frame.triangles.length / 2, `${name}: checked only ${checked}`);
        await page.close();
    }
});

// The probe's printed callbacks from `from` on (those starting with `kind`, when given) equal `expected`,
// waiting for them to arrive.
async function expectCalls(page, from, expected, what, kind = '') {
    const calls = () => page.output.slice(from)
        .filter((line) => line.startsWith(kind) && !line.startsWith('Failed to load'));
    await waitFor(`${what}: ${expected.join(', ')}`, () => calls().length >= expected.length);
    assert.deepEqual(calls(), expected, what);
}

// The neutral keys by number, as the probe prints them.
const kKeys = ['Unknown', ...'ABCDEFGHIJKLMNOPQRSTUVWXYZ', ...'0123456789'.split('').map((d) => `Digit${d}`),
    'Left', 'Right', 'Up', 'Down', 'Space', 'Enter', 'Escape', 'Tab', 'Backspace', 'Delete',
    ...Array.from({ length: 12 }, (_, i) => `F${i + 1}`), 'Shift', 'Control', 'Alt'];

async function openProbe(open) {
    const page = await open('test/test-page.html?module=kw_web_probe.js', (unopened) =>
        unopened.setViewport({ width: 1000, height: 800, deviceScaleFactor: 2 }));
    await expectCalls(page, 0, ['open', 'size 1600 1150', 'active'], 'the window made, sized and shown');
    return page;
}

// Real keys and pointer events, in drawing-surface pixels (the page is shown at devicePixelRatio 2).
scenario('input: keys, the pointer and the wheel arrive as neutral callbacks', async (open) => {
    const page = await openProbe(open);
    const kPresses = [
        // DOM code, neutral key, DOM key code
        ['KeyR', 'R', 82],
        ['Digit7', 'Digit7', 55],
        ['Space', 'Space', 32],
        ['ArrowLeft', 'Left', 37],
        ['Enter', 'Enter', 13],
        ['F2', 'F2', 113],
        ['ShiftRight', 'Shift', 16],
        ['ControlLeft', 'Control', 17],
        ['Backquote', 'Unknown', 192], // outside the neutral set: only its own code tells
    ];
    for (const [code, key, native] of kPresses) {
        const from = page.output.length;
        await page.keyboard.press(code);
        const number = kKeys.indexOf(key);
        await expectCalls(page, from, [`key down ${number} ${native}`, `key up ${number} ${native}`], code);
    }

    // A held key repeats, and is let go when the page loses the focus.
    let from = page.output.length;
    await page.keyboard.down('KeyA');
    await page.keyboard.down('KeyA');
    const other = await page.browser().newPage();
    await other.bringToFront();
    await page.bringToFront();
    await expectCalls(page, from, ['key down 1 65', 'key down 1 65 repeat', 'key up 1 65', 'inactive', 'active'],
        'a held key when the page loses the focus');

    // A drag that leaves the canvas is followed to its release.
    const box = await page.$eval('.kw-view', (view) => view.getBoundingClientRect().toJSON());
    from = page.output.length;
    await page.mouse.move(box.x + 100, box.y + 50);
    await page.mouse.down();
    await page.mouse.move(box.x - 20, box.y + 50);
    await page.mouse.up();
    await page.mouse.click(box.x + 10, box.y + 20, { button: 'right' });
    // Chromium takes the wheel's delta in device pixels: 200 is 100 CSS pixels, one notch away.
    await page.mouse.wheel({ deltaY: -200 });
    await expectCalls(page, from, ['move 200 100', 'down Left 200 100', 'move -40 100', 'up Left -40 100',
        'move 20 40', 'down Right 20 40', 'up Right 20 40', 'wheel 1 20 40'], 'the pointer');
});

// The menu bar as declared, choices routed by identifier, the bar going and coming back with the
// drawing size following, and the close control ending the run.
scenario('window: the menu bar, the drawing size and the close control', async (open) => {
    const page = await openProbe(open);
    const shown = await page.$$eval('.kw-menu-bar li', (items) =>
        items.map((item) => item.getAttribute('role') === 'separator' ? '-' :
            `${item.firstChild.textContent}:${item.firstChild.getAttribute('aria-checked') || ''}` +
            `${item.firstChild.getAttribute('aria-disabled') || ''}`));
    assert.deepEqual(shown, ['File:', 'Check:true', '-', 'Disabled:true', 'Sub:', 'Deep:', 'Bare:']);

    let from = page.output.length;
    await clickMenu(page, 'File');
    await clickMenu(page, 'Check');
    await clickMenu(page, 'File');
    await clickMenu(page, 'Disabled');
    await page.keyboard.press('Escape');
    await clickMenu(page, 'File');
    await clickMenu(page, 'Sub');
    await clickMenu(page, 'Deep');
    await clickMenu(page, 'Bare');
    // Escape closed the menu that Disabled left open; keys pressed in the menu bar are the menu's.
    await expectCalls(page, from, ['menu 0 2', 'menu 0 6', 'menu 0 8'], 'menu choices, the disabled one left out');

    from = page.output.length;
    await page.keyboard.press('KeyD');
    await waitFor('the menu bar to go', () => page.$eval('.kw-menu-bar', (bar) => bar.hidden));
    await page.keyboard.press('KeyM');
    await waitFor('the menu bar to come back', () => page.$eval('.kw-menu-bar', (bar) => !bar.hidden));
    await expectCalls(page, from, ['size 1600 1200', 'size 1600 1150'], 'the drawing size without and with the bar',
        'size');

    // A context menu, which only a program that reaches into the binding has: chosen, then dismissed.
    from = page.output.length;
    await page.keyboard.press('KeyC');
    await page.click('.kw-view', { button: 'right' });
    await (await waitFor('the pop-up', () => page.$('.kw-popup .kw-item'))).click();
    await page.click('.kw-view', { button: 'right' });
    await waitFor('the pop-up', () => page.$('.kw-popup'));
    await page.keyboard.press('Escape');
    await waitFor('the pop-up to go', async () => (await page.$('.kw-popup')) === null);
    await expectCalls(page, from, ['menu 0 9'], 'the pop-up choice', 'menu');

    from = page.output.length;
    await page.click('.kw-close');
    await expectCleanEnd(page);
    assert.deepEqual(page.output.slice(from), ['close']);
});

if (registered === 0) {
    console.error(`no case named "${chosen}"`);
    process.exitCode = 1;
}
