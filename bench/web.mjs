// make bench-web: the page in headless Chromium on a generated file of 100,000 individuals (and
// one of 10,000). Prints, per file, the median of five runs of INDI in the browser: from the
// choice dialog's Uitvoeren to the result in the status bar, the engine's share of it, and how
// long opening the file took.
import { statSync } from 'node:fs';
import { join } from 'node:path';
import { launchBrowser, PageDriver } from '../tests/web/support/page-driver.mjs';
import { generateGedcom, scratchFolder } from '../tests/web/support/native-tools.mjs';

const kRuns = 5;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const folder = scratchFolder();
const browser = await launchBrowser();
try {
  for (const individuals of [10_000, 100_000]) {
    const file = generateGedcom(individuals, join(folder, `bench-${individuals}.ged`));
    const megabytes = statSync(file).size / 1e6;
    const opens = [];
    const runs = [];
    const engine = [];
    for (let i = 0; i < kRuns; ++i) {
      const driver = await PageDriver.open(browser);
      const opening = performance.now();
      await driver.openFile(file);
      opens.push(performance.now() - opening);
      // Each run on the file as it was opened: the page is opened afresh every time.
      await driver.run({ tag: 'INDI' });
      const measured = await driver.page.evaluate(() => {
        const [run] = performance.getEntriesByName('halvern-run', 'measure');
        return { page: run.duration, engine: run.detail.engineMs };
      });
      runs.push(measured.page);
      engine.push(measured.engine);
      await driver.close();
    }
    console.log(`${individuals} individuals (${megabytes.toFixed(1)} MB): run INDI in the browser ` +
      `${median(runs).toFixed(0)} ms (median of ${kRuns}; ${runs.map((ms) => ms.toFixed(0)).join(', ')}), ` +
      `of which the engine ${median(engine)} ms, ` +
      `opening the file ${median(opens).toFixed(0)} ms`);
  }
} finally {
  await browser.close();
}
