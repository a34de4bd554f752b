// Test support for the web build's pages: a static server on 127.0.0.1, Debian's Chromium in new
// headless mode (WebGL through SwiftShader, no network), pages found by title, waits on conditions with
// deadlines, screenshots read as pixels, and the frames of recorded OpenGL calls followed and judged.
import { createServer } from 'node:http';
import { readFileSync, statSync } from 'node:fs';
import { extname, join, normalize } from 'node:path';
import puppeteer from 'puppeteer-core';

const kChromium = process.env.KW_CHROMIUM || '/usr/lib/chromium/chromium';
export const kSeconds = 60; // for any wait: a loaded 2-core machine renders WebGL in software

const kTypes = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript',
    '.wasm': 'application/wasm',
    '.css': 'text/css',
};

// Serves the programs' pages, and the test programs' page and modules under /test/.
export async function startServer(pages, testPages) {
    const server = createServer((request, response) => {
        const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
        const [folder, rest] = path.startsWith('/test/') ? [testPages, path.slice('/test/'.length)] : [pages, path];
        const file = join(folder, normalize(rest));
        if (!file.startsWith(folder) || !statSync(file, { throwIfNoEntry: false })?.isFile()) {
            response.writeHead(404).end();
            return;
        }
        response.writeHead(200, { 'Content-Type': kTypes[extname(file)] || 'application/octet-stream' });
        response.end(readFileSync(file));
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// The machine has no network: everything that would reach out is switched off (puppeteer's own defaults
// already switch off background networking, sync and the first-run pages, and give each launch a
// temporary profile that it removes on close).
export function launchBrowser() {
    return puppeteer.launch({
        executablePath: kChromium,
        args: [
            '--no-sandbox',
            '--use-angle=swiftshader',
            '--enable-unsafe-swiftshader',
            '--disable-component-update',
            '--disable-quic',
        ],
    });
}

// Polls `condition` (which may be async) until it returns a true value, which is returned; fails with
// `what` and the last value at the deadline.
export async function waitFor(what, condition, seconds = kSeconds) {
    const deadline = Date.now() + seconds * 1000;
    let last;
    for (;;) {
        last = await condition();
        if (last) {
            return last;
        }
        if (Date.now() > deadline) {
            throw new Error(`waited ${seconds} s for ${what}; last seen: ${JSON.stringify(last)}`);
        }
        await new Promise((resolve) => setTimeout(resolve, 100));
    }
}

// Opens a page, after `prepare(page)` when given, and keeps what it printed (the program's standard
// output and errors) in page.output.
export async function openPage(browser, url, prepare) {
    const page = await browser.newPage();
    page.output = [];
    page.on('console', (message) => page.output.push(message.text()));
    page.on('pageerror', (error) => page.output.push(`page error: ${error.message}`));
    await page.setViewport({ width: 1000, height: 800 });
    if (prepare) {
        await prepare(page);
    }
    await page.goto(url);
    return page;
}

// Waits for the program's window: the page's title set by the program, its canvas drawn with
// `background` in the bottom left corner.
export async function waitForProgram(page, title, background) {
    await waitFor(`the title "${title}"`, async () => (await page.title()) === title);
    await waitFor(`the background ${background} in the canvas's corner`, async () => {
        const view = await capture(page);
        return view.width > 100 && isColour(view.pixel(4, view.height - 5), background);
    });
}

// The canvas as the screen shows it (what the page shows over it included), in CSS pixels: { width,
// height, data, pixel(x, y) -> [r, g, b] }. The page's own image decoder reads the screenshot.
export async function capture(page, selector = '.kw-view') {
    const box = await page.$eval(selector, (element) => element.getBoundingClientRect().toJSON());
    const png = await page.screenshot({ clip: box, encoding: 'base64' });
    const rgba = await page.evaluate(async (encoded) => {
        const image = await createImageBitmap(await (await fetch(`data:image/png;base64,${encoded}`)).blob());
        const context = new OffscreenCanvas(image.width, image.height).getContext('2d');
        context.drawImage(image, 0, 0);
        const bytes = context.getImageData(0, 0, image.width, image.height).data;
        let text = '';
        for (let i = 0; i < bytes.length; i += 0x8000) {
            text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
        }
        return { width: image.width, height: image.height, data: btoa(text) };
    }, png);
    const data = Buffer.from(rgba.data, 'base64');
    const pixel = (x, y) => [...data.subarray((y * rgba.width + x) * 4, (y * rgba.width + x) * 4 + 3)];
    return { width: rgba.width, height: rgba.height, data, pixel };
}

// Colour ranges, as the desktop tests take them: [low, high] per channel of 0xRRGGBB.
export function isColour(rgb, [low, high]) {
    return [16, 8, 0].every((shift, channel) => {
        const value = rgb[channel];
        return value >= ((low >> shift) & 0xff) && value <= ((high >> shift) & 0xff);
    });
}

// The [x, y] of every pixel of `colour` in the view, or in its part from [left, top] to [right, bottom].
export function pixelsOf(view, colour, { left = 0, top = 0, right = view.width - 1, bottom = view.height - 1 } = {}) {
    const found = [];
    for (let y = Math.max(top, 0); y <= Math.min(bottom, view.height - 1); y++) {
        for (let x = Math.max(left, 0); x <= Math.min(right, view.width - 1); x++) {
            if (isColour(view.pixel(x, y), colour)) {
                found.push([x, y]);
            }
        }
    }
    return found;
}

// The page's words once its state is `wanted`: 'ended' after the program, 'failed' or 'no-webgl'.
export async function waitForState(page, wanted) {
    const state = () => page.$eval('#kelpwright', (element) => element.dataset.state);
    await waitFor(`the page's state "${wanted}"`, async () => (await state()) === wanted);
    return page.$eval('#kelpwright-status', (element) => element.textContent);
}

// Clicks the menu element whose text is `name` (the first one shown), as a user clicks it.
export async function clickMenu(page, name) {
    const item = await waitFor(`the menu item "${name}"`, async () => {
        const found = await page.evaluateHandle((text) => [...document.querySelectorAll('.kw-menu-bar .kw-item')]
            .find((element) => element.textContent === text && element.offsetParent !== null), name);
        return found.asElement();
    });
    await item.click();
}

// A frame of recorded OpenGL calls (a file of tests/golden) followed as OpenGL follows them: the matrix
// stacks and the current colour, each line segment and each triangle (quads, strips, fans and polygons
// split as a driver splits them) in the coordinates of a width x height surface, y down, with the
// colours of their corners. Points are refused, so a frame this cannot judge never passes unjudged.
export function followRecordedFrame(text, width, height) {
    const identity = () => [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1];
    const stacks = { 0x1700: [identity()], 0x1701: [identity()] }; // modelview, projection
    const frame = { clear: null, segments: [], triangles: [] };
    let mode = 0x1700;
    let colour = [255, 255, 255];
    let primitive = null;
    const current = (which = mode) => stacks[which][stacks[which].length - 1];
    const replace = (matrix) => stacks[mode].splice(-1, 1, matrix);
    const apply = (matrix) => replace(multiply(current(), matrix));
    const toSurface = ([x, y, z]) => {
        const clip = transform(current(0x1701), transform(current(0x1700), [x, y, z, 1]));
        return { x: ((clip[0] / clip[3] + 1) / 2) * width, y: ((1 - clip[1] / clip[3]) / 2) * height, w: clip[3] };
    };
    const calls = {
        glClearColor: (n) => (frame.clear = n.slice(0, 3).map((channel) => Math.round(channel * 255))),
        glClear: () => {},
        glEnable: () => {},
        glDisable: () => {},
        glMatrixMode: (n) => (mode = n[0]),
        glLoadIdentity: () => replace(identity()),
        glLoadMatrixf: (n) => replace(n),
        glPushMatrix: () => stacks[mode].push([...current()]),
        glPopMatrix: () => stacks[mode].pop(),
        glTranslatef: (n) => apply([1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, ...n, 1]),
        glScalef: (n) => apply([n[0], 0, 0, 0, 0, n[1], 0, 0, 0, 0, n[2], 0, 0, 0, 0, 1]),
        glRotatef: (n) => {
            assert(n[1] === 0 && n[2] === 0 && n[3] === 1, 'rotations about z only');
            const [c, s] = [Math.cos((n[0] * Math.PI) / 180), Math.sin((n[0] * Math.PI) / 180)];
            apply([c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1]);
        },
        glColor3f: (n) => (colour = n.map((channel) => channel * 255)),
        glColor3ub: (n) => (colour = n),
        glColor4ub: (n) => (colour = n.slice(0, 3)),
        glBegin: (n) => (primitive = { mode: n[0], corners: [] }),
        glVertex3f: (n) => primitive.corners.push({ ...toSurface(n), colour }),
        glEnd: () => addPrimitive(frame, primitive),
    };
    for (const line of text.split('\n').filter((call) => call !== '')) {
        const [, name, list] = /^(\w+)\((.*)\)$/.exec(line) || [];
        assert(name in calls, line);
        calls[name](list === '' ? [] : list.split(' ').map(Number));
    }
    return frame;
}

function assert(condition, what) {
    if (!condition) {
        throw new Error(`cannot follow the frame: ${what}`);
    }
}

// The corners of each segment or triangle of a primitive of n corners, split as a driver splits it.
const range = (count, make) => Array.from({ length: Math.max(count, 0) }, (_, i) => make(i)).flat();
const kPieces = {
    0x1: (n) => range(n >> 1, (i) => [[2 * i, 2 * i + 1]]), // lines
    0x2: (n) => [...range(n - 1, (i) => [[i, i + 1]]), ...(n > 2 ? [[n - 1, 0]] : [])], // line loop
    0x3: (n) => range(n - 1, (i) => [[i, i + 1]]), // line strip
    0x4: (n) => range(Math.floor(n / 3), (i) => [[3 * i, 3 * i + 1, 3 * i + 2]]), // triangles
    0x5: (n) => range(n - 2, (i) => [[i, i + 1, i + 2]]), // triangle strip
    0x6: (n) => range(n - 2, (i) => [[0, i + 1, i + 2]]), // triangle fan
    0x7: (n) => range(n >> 2, (i) => [[4 * i, 4 * i + 1, 4 * i + 2], [4 * i, 4 * i + 2, 4 * i + 3]]), // quads
    0x8: (n) => range((n >> 1) - 1, (i) => [[2 * i, 2 * i + 1, 2 * i + 3], [2 * i, 2 * i + 3, 2 * i + 2]]), // quad strip
    0x9: (n) => range(n - 2, (i) => [[0, i + 1, i + 2]]), // polygon: a fan
};

function addPrimitive(frame, { mode, corners }) {
    assert(mode in kPieces || corners.length === 0, `primitive 0x${mode.toString(16)}`);
    for (const piece of mode in kPieces ? kPieces[mode](corners.length) : []) {
        const ends = piece.map((i) => corners[i]);
        if (ends.every((corner) => corner.w > 0)) {
            (ends.length === 2 ? frame.segments : frame.triangles).push(ends);
        }
    }
}

function multiply(left, right) {
    const product = new Array(16).fill(0);
    for (let column = 0; column < 4; column++) {
        for (let row = 0; row < 4; row++) {
            for (let k = 0; k < 4; k++) {
                product[column * 4 + row] += left[k * 4 + row] * right[column * 4 + k];
            }
        }
    }
    return product;
}

function transform(matrix, vector) {
    return [0, 1, 2, 3].map((row) => [0, 1, 2, 3].reduce((sum, k) => sum + matrix[k * 4 + row] * vector[k], 0));
}

function distanceToSegment(point, [a, b]) {
    const dx = b.x - a.x;
    const dy = b.y - a.y;
    const lengthSquared = dx * dx + dy * dy;
    const t = lengthSquared === 0 ? 0 : Math.max(0, Math.min(1, ((point.x - a.x) * dx + (point.y - a.y) * dy) / lengthSquared));
    return Math.hypot(point.x - a.x - t * dx, point.y - a.y - t * dy);
}

// Inside the triangle, or within `margin` pixels of one of its edges.
function covers(triangle, point, margin) {
    const side = (a, b) => (b.x - a.x) * (point.y - a.y) - (b.y - a.y) * (point.x - a.x);
    const sides = [side(triangle[0], triangle[1]), side(triangle[1], triangle[2]), side(triangle[2], triangle[0])];
    const inside = sides.every((value) => value >= 0) || sides.every((value) => value <= 0);
    return inside || [0, 1, 2].some((i) => distanceToSegment(point, [triangle[i], triangle[(i + 1) % 3]]) <= margin);
}

const average = (corners) => corners[0].colour.map((_, c) => corners.reduce((sum, corner) => sum + corner.colour[c], 0) / corners.length);
const mean = (corners, axis) => corners.reduce((sum, corner) => sum + corner[axis], 0) / corners.length;

// Where the captured surface differs from the followed frame: the middle of every segment at least 2
// pixels long, and the centroid of every triangle of 20 square pixels or more with the points halfway
// from it to the corners, must show their colour within a pixel (unless another colour is drawn within 3
// pixels), and every 10th pixel of each row and column farther than 4 pixels from everything drawn the
// clear colour. Returns how many segments, triangles and background places were checked, and what was
// wrong.
export function judgeFrame(view, frame) {
    const problems = [];
    const checked = { segments: 0, triangles: 0, background: 0 };
    const near = (rgb, expected, tolerance) => rgb.every((value, c) => Math.abs(value - expected[c]) <= tolerance);
    const drawnNear = (point, colour, margin) =>
        frame.segments.some((s) => !near(average(s), colour, 8) && distanceToSegment(point, s) < margin) ||
        frame.triangles.some((t) => !near(average(t), colour, 8) && covers(t, point, margin));
    const shows = (point, expected) => {
        const around = [];
        for (let y = Math.floor(point.y) - 1; y <= Math.floor(point.y) + 1; y++) {
            for (let x = Math.floor(point.x) - 1; x <= Math.floor(point.x) + 1; x++) {
                around.push(view.pixel(x, y));
            }
        }
        if (!around.some((rgb) => near(rgb, expected, 8))) {
            problems.push(`no ${expected.map(Math.round)} near (${point.x.toFixed(1)}, ${point.y.toFixed(1)}): ${around.join(' ')}`);
        }
    };
    const check = (kind, corners, size) => {
        const middle = { x: mean(corners, 'x'), y: mean(corners, 'y') };
        const points = kind === 'segments' ? [middle] :
            [middle, ...corners.map((corner) => ({ x: (middle.x + corner.x) / 2, y: (middle.y + corner.y) / 2 }))];
        const expected = average(corners);
        const inside = points.every((p) => p.x >= 1 && p.y >= 1 && p.x < view.width - 1 && p.y < view.height - 1);
        if (size < (kind === 'segments' ? 2 : 20) || !inside || points.some((p) => drawnNear(p, expected, 3))) {
            return;
        }
        checked[kind]++;
        points.forEach((point) => shows(point, expected));
    };
    for (const [a, b] of frame.segments) {
        check('segments', [a, b], Math.hypot(b.x - a.x, b.y - a.y));
    }
    for (const [a, b, c] of frame.triangles) {
        check('triangles', [a, b, c], Math.abs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2);
    }
    for (let y = 0; y < view.height; y += 10) {
        for (let x = 0; x < view.width; x += 10) {
            const point = { x: x + 0.5, y: y + 0.5 };
            if (!frame.segments.some((s) => distanceToSegment(point, s) <= 4) && !frame.triangles.some((t) => covers(t, point, 4))) {
                checked.background++;
                if (!near(view.pixel(x, y), frame.clear, 2)) {
                    problems.push(`(${x}, ${y}) is ${view.pixel(x, y)}, not the clear colour ${frame.clear}`);
                }
            }
        }
    }
    return { ...checked, problems };
}
