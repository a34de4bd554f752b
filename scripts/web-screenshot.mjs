// Used by scripts/run.sh --web where there is no display: opens a page of the web build in headless
// Chromium, waits until its program has drawn for a few seconds and saves a screenshot of its window.
//   node scripts/web-screenshot.mjs URL FILE
import { launchBrowser, openPage, waitFor } from '../tests/web/browser.mjs';

const [url, file] = process.argv.slice(2);
const browser = await launchBrowser();
try {
    const page = await openPage(browser, url);
    const state = await waitFor('the program to start', () =>
        page.$eval('#kelpwright', (element) => (element.dataset.state === 'loading' ? null : element.dataset.state)));
    if (state !== 'running') {
        throw new Error(await page.$eval('#kelpwright-status', (element) => element.textContent));
    }
    await new Promise((resolve) => setTimeout(resolve, 3000));
    const window = await page.$('.kw-window');
    await window.screenshot({ path: file });
} finally {
    await browser.close();
}
