// Test support for the web build's pages: a static server on 127.0.0.1, Debian's Chromium in new
// headless mode (WebGL through SwiftShader, no network), pages found by title, waits on conditions with
// deadlines, screenshots decoded to pixels, and clicks and drags as a user makes them.
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import { inflateSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';

const kChromium = process.env.KW_CHROMIUM || '/usr/lib/chromium/chromium';
export const kSeconds = 60; // for any wait: a loaded 2-core machine renders WebGL in software

const kTypes = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript',
    '.wasm': 'application/wasm',
    '.css': 'text/css',
    '.txt': 'text/plain; charset=utf-8',
};

// Serves each folder under its URL prefix, e.g. { '/': pages, '/golden/': goldenFiles }.
export async function startServer(folders) {
    const server = createServer((request, response) => {
        const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
        const prefix = Object.keys(folders)
            .filter((candidate) => path.startsWith(candidate))
            .sort((a, b) => b.length - a.length)[0];
        const file = prefix === undefined ? '' : join(folders[prefix], normalize(path.slice(prefix.length)));
        if (file === '' || !file.startsWith(folders[prefix]) || !statSync(file, { throwIfNoEntry: false })?.isFile()) {
            response.writeHead(404).end();
            return;
        }
        response.writeHead(200, { 'Content-Type': kTypes[extname(file)] || 'application/octet-stream' });
        response.end(readFileSync(file));
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// The machine has no network: everything that would reach out is switched off.
export async function launchBrowser() {
    const profile = mkdtempSync(join(tmpdir(), 'kw-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: kChromium,
        headless: true,
        userDataDir: profile,
        args: [
            '--no-sandbox',
            '--use-angle=swiftshader',
            '--enable-unsafe-swiftshader',
            '--disable-background-networking',
            '--disable-component-update',
            '--disable-sync',
            '--no-first-run',
            '--disable-quic',
        ],
    });
    const close = browser.close.bind(browser);
    browser.close = async () => {
        await close();
        rmSync(profile, { recursive: true, force: true });
    };
    return browser;
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

// The canvas as the screen shows it (what the page shows over it included): { width, height,
// pixel(x, y) -> [r, g, b], data } in CSS pixels.
export async function capture(page, selector = '.kw-view') {
    const box = await page.$eval(selector, (element) => {
        const rect = element.getBoundingClientRect();
        return { x: rect.left, y: rect.top, width: rect.width, height: rect.height };
    });
    const png = await page.screenshot({ clip: box, type: 'png' });
    return decodePng(Buffer.from(png));
}

// Colour ranges, as the desktop tests take them: [low, high] per channel of 0xRRGGBB.
export function isColour(rgb, [low, high]) {
    return [16, 8, 0].every((shift, channel) => {
        const value = rgb[channel];
        return value >= ((low >> shift) & 0xff) && value <= ((high >> shift) & 0xff);
    });
}

export function count(view, colour) {
    let found = 0;
    for (let y = 0; y < view.height; y++) {
        for (let x = 0; x < view.width; x++) {
            found += isColour(view.pixel(x, y), colour) ? 1 : 0;
        }
    }
    return found;
}

// The page's words after the program has ended.
export async function waitForEnd(page) {
    await waitFor('the program to end', async () => (await state(page)) === 'ended');
    return page.$eval('#kelpwright-status', (element) => element.textContent);
}

export function state(page) {
    return page.$eval('#kelpwright', (element) => element.dataset.state);
}

// Clicks the menu element whose text is `name` (the first one shown), as a user clicks it.
export async function clickMenu(page, name) {
    const item = await waitFor(`the menu item "${name}"`, async () => {
        const handles = await page.$$('.kw-menu-bar .kw-item');
        for (const handle of handles) {
            const text = await handle.evaluate((element) => element.textContent);
            const shown = await handle.evaluate((element) => element.offsetParent !== null);
            if (text === name && shown) {
                return handle;
            }
        }
        return null;
    });
    await item.click();
    return item;
}

// 8-bit RGB or RGBA PNG, as Chromium writes its screenshots.
export function decodePng(png) {
    let offset = 8;
    let width = 0;
    let height = 0;
    let channels = 0;
    const data = [];
    while (offset < png.length) {
        const length = png.readUInt32BE(offset);
        const type = png.toString('ascii', offset + 4, offset + 8);
        const body = png.subarray(offset + 8, offset + 8 + length);
        if (type === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            channels = { 2: 3, 6: 4 }[body[9]];
            if (body[8] !== 8 || channels === undefined || body[12] !== 0) {
                throw new Error('only 8-bit RGB or RGBA PNG without interlacing is read here');
            }
        } else if (type === 'IDAT') {
            data.push(body);
        }
        offset += 12 + length;
    }
    const raw = inflateSync(Buffer.concat(data));
    const stride = width * channels;
    const pixels = Buffer.alloc(height * stride);
    for (let y = 0; y < height; y++) {
        const filter = raw[y * (stride + 1)];
        for (let i = 0; i < stride; i++) {
            const value = raw[y * (stride + 1) + 1 + i];
            const left = i >= channels ? pixels[y * stride + i - channels] : 0;
            const up = y > 0 ? pixels[(y - 1) * stride + i] : 0;
            const upLeft = y > 0 && i >= channels ? pixels[(y - 1) * stride + i - channels] : 0;
            pixels[y * stride + i] = (value + unfilter(filter, left, up, upLeft)) & 0xff;
        }
    }
    return {
        width,
        height,
        pixel: (x, y) => {
            const at = y * stride + x * channels;
            return [pixels[at], pixels[at + 1], pixels[at + 2]];
        },
    };
}

function unfilter(filter, left, up, upLeft) {
    switch (filter) {
        case 0:
            return 0;
        case 1:
            return left;
        case 2:
            return up;
        case 3:
            return (left + up) >> 1;
        case 4: {
            const estimate = left + up - upLeft;
            const [a, b, c] = [Math.abs(estimate - left), Math.abs(estimate - up), Math.abs(estimate - upLeft)];
            return a <= b && a <= c ? left : b <= c ? up : upLeft;
        }
        default:
            throw new Error(`PNG filter ${filter}`);
    }
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
    const top = () => stacks[mode].length - 1;
    const apply = (matrix) => {
        stacks[mode][top()] = multiply(stacks[mode][top()], matrix);
    };
    const toSurface = ([x, y, z]) => {
        const eye = transform(stacks[0x1700][stacks[0x1700].length - 1], [x, y, z, 1]);
        const clip = transform(stacks[0x1701][stacks[0x1701].length - 1], eye);
        return { x: (clip[0] / clip[3] + 1) / 2 * width, y: (1 - clip[1] / clip[3]) / 2 * height, w: clip[3] };
    };
    for (const line of text.split('\n')) {
        const call = /^(\w+)\((.*)\)$/.exec(line);
        if (!call) {
            continue;
        }
        const numbers = call[2] === '' ? [] : call[2].split(' ').map(Number);
        switch (call[1]) {
            case 'glClearColor':
                frame.clear = numbers.slice(0, 3).map((channel) => Math.round(channel * 255));
                break;
            case 'glMatrixMode':
                mode = numbers[0];
                break;
            case 'glLoadIdentity':
                stacks[mode][top()] = identity();
                break;
            case 'glLoadMatrixf':
                stacks[mode][top()] = numbers;
                break;
            case 'glPushMatrix':
                stacks[mode].push([...stacks[mode][top()]]);
                break;
            case 'glPopMatrix':
                stacks[mode].pop();
                break;
            case 'glTranslatef':
                apply([1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, ...numbers, 1]);
                break;
            case 'glScalef':
                apply([numbers[0], 0, 0, 0, 0, numbers[1], 0, 0, 0, 0, numbers[2], 0, 0, 0, 0, 1]);
                break;
            case 'glRotatef': // about the z axis only
                assert(numbers[1] === 0 && numbers[2] === 0 && numbers[3] === 1, 'rotations about z only');
                apply(rotationAboutZ(numbers[0]));
                break;
            case 'glColor3f':
                colour = numbers.map((channel) => channel * 255);
                break;
            case 'glColor3ub':
            case 'glColor4ub':
                colour = numbers.slice(0, 3);
                break;
            case 'glBegin':
                primitive = { mode: numbers[0], corners: [] };
                break;
            case 'glVertex3f':
                primitive.corners.push({ ...toSurface(numbers), colour });
                break;
            case 'glEnd':
                addPrimitive(frame, primitive);
                break;
        }
    }
    return frame;
}

function assert(condition, what) {
    if (!condition) {
        throw new Error(`cannot follow the frame: ${what}`);
    }
}

function rotationAboutZ(degrees) {
    const c = Math.cos((degrees * Math.PI) / 180);
    const s = Math.sin((degrees * Math.PI) / 180);
    return [c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1];
}

// Corner numbers of the segments or triangles of each primitive of OpenGL 1.1 but points.
function addPrimitive(frame, { mode, corners }) {
    const n = corners.length;
    const groups = [];
    const range = (count, make) => Array.from({ length: Math.max(count, 0) }, (_, i) => make(i));
    switch (mode) {
        case 0x1: // lines
            groups.push(...range(Math.floor(n / 2), (i) => [2 * i, 2 * i + 1]));
            break;
        case 0x2: // line loop
        case 0x3: // line strip
            groups.push(...range(n - 1, (i) => [i, i + 1]));
            if (mode === 0x2 && n > 2) {
                groups.push([n - 1, 0]);
            }
            break;
        case 0x4: // triangles
            groups.push(...range(Math.floor(n / 3), (i) => [3 * i, 3 * i + 1, 3 * i + 2]));
            break;
        case 0x5: // triangle strip
            groups.push(...range(n - 2, (i) => [i, i + 1, i + 2]));
            break;
        case 0x6: // triangle fan
        case 0x9: // polygon
            groups.push(...range(n - 2, (i) => [0, i + 1, i + 2]));
            break;
        case 0x7: // quads
            for (let q = 0; q + 3 < n; q += 4) {
                groups.push([q, q + 1, q + 2], [q, q + 2, q + 3]);
            }
            break;
        case 0x8: // quad strip: quad k is corners 2k, 2k+1, 2k+3, 2k+2
            for (let q = 0; q + 3 < n; q += 2) {
                groups.push([q, q + 1, q + 3], [q, q + 3, q + 2]);
            }
            break;
        default:
            assert(n === 0, `primitive 0x${mode.toString(16)}`);
    }
    for (const group of groups) {
        const ends = group.map((i) => corners[i]);
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
