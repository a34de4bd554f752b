// Runs a GoogleTest program of the web build under node and judges it by GoogleTest's own XML report:
// a program that stops before its tests end writes none, whatever its exit code (an early exit with
// code 0 must not pass). ctest runs every test program of the web build through this file:
//   node node_runner.mjs PROGRAM.js [GoogleTest arguments...]
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

// Programs built by Emscripten 3.1.6 would load their .wasm through node's fetch, which cannot read files.
function run(program, args) {
    const result = spawnSync(process.execPath, ['--no-experimental-fetch', program, ...args], { stdio: 'inherit' });
    return result.status === null ? 128 : result.status;
}

// The whole run's counts from the report's root element.
function counts(xml) {
    const root = /<testsuites\b([^>]*)>/.exec(xml);
    if (!root) {
        return null;
    }
    const number = (name) => Number((new RegExp(`\\b${name}="(\\d+)"`).exec(root[1]) || [])[1]);
    return { tests: number('tests'), failures: number('failures'), errors: number('errors') };
}

const [program, ...args] = process.argv.slice(2);
if (args.includes('--gtest_list_tests')) {
    process.exit(run(program, args));
}

const folder = mkdtempSync(join(tmpdir(), 'kw-gtest-'));
const report = join(folder, 'report.xml');
// The program sees the machine's files under /host (node_files.js).
const status = run(program, [...args, `--gtest_output=xml:/host${report}`]);
const found = existsSync(report) ? counts(readFileSync(report, 'utf8')) : null;
rmSync(folder, { recursive: true, force: true });

let verdict = '';
if (found === null) {
    verdict = `no GoogleTest report: the program stopped before its tests ended (exit code ${status})`;
} else if (found.tests === 0) {
    verdict = 'the report lists no test';
} else if (found.failures !== 0 || found.errors !== 0) {
    verdict = `${found.failures} failed and ${found.errors} errors of ${found.tests}`;
} else if (status !== 0) {
    verdict = `every test passed, but the program exited with code ${status}`;
}
if (verdict !== '') {
    console.error(`node_runner: ${verdict}`);
    process.exit(1);
}
