// make web-screenshot: docs/web.png (the page after a run on the example file) and
// docs/web-keuze.png (the choice dialog), taken with headless Chromium.
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchBrowser, PageDriver } from '../tests/web/support/page-driver.mjs';

const root = join(fileURLToPath(import.meta.url), '..', '..');
const browser = await launchBrowser();
try {
  const driver = await PageDriver.open(browser);
  await driver.page.setViewport({ width: 640, height: 420 });
  await driver.openFile(join(root, 'examples', 'voorbeeld.ged'));
  await driver.run({ tag: 'INDI' });
  await driver.page.screenshot({ path: join(root, 'docs', 'web.png') });
  await driver.page.setViewport({ width: 640, height: 590 });  // the dialog with its order and earlier list
  await driver.page.click('#uitvoeren');
  await driver.page.waitForFunction(() => document.getElementById('keuze').open);
  await driver.page.click('input[value="FAM"]');
  await driver.page.type('#vlgnummer', '100');
  await driver.page.screenshot({ path: join(root, 'docs', 'web-keuze.png') });
  await driver.close();
} finally {
  await browser.close();
}
