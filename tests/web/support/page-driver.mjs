// Drives the built page in Debian's headless Chromium, as a person would: the buttons, the file
// chooser, the choice dialog, the message box and the downloads. Shared by the page's tests and
// the benchmark.
import { mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

export const webDir = resolve(process.env.HALVERN_WEB ?? 'dist/web');
export const nativeDir = resolve(process.env.HALVERN_NATIVE ?? 'build/native');

export async function launchBrowser() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    // As root Chromium starts only without its sandbox; CI runs as root.
    args: process.getuid?.() === 0 ? ['--no-sandbox'] : [],
  });
}

export class PageDriver {
  static async open(browser) {
    const page = await browser.newPage();
    const driver = new PageDriver(page);
    const session = await page.createCDPSession();
    driver.downloads = mkdtempSync(join(tmpdir(), 'halvern-downloads-'));
    await session.send('Browser.setDownloadBehavior', {
      behavior: 'allow', downloadPath: driver.downloads, eventsEnabled: true,
    });
    session.on('Browser.downloadProgress', (event) => {
      if (event.state === 'completed') driver.completed += 1;
    });
    page.on('pageerror', (error) => driver.errors.push(String(error)));
    // Every request of the page and its worker, and whether the page was ready by then.
    page.on('request', (request) => (driver.ready ? driver.requestsAfterLoad : driver.requestsOnLoad).push(request.url()));
    await page.goto(pathToFileURL(join(webDir, 'index.html')).href);
    await page.waitForSelector('#openen:not([disabled])');
    driver.ready = true;
    return driver;
  }

  constructor(page) {
    this.page = page;
    this.completed = 0;
    this.errors = [];
    this.ready = false;
    this.requestsOnLoad = [];
    this.requestsAfterLoad = [];
  }

  async close() {
    await this.page.close();
    rmSync(this.downloads, { recursive: true, force: true });
  }

  async idle() {
    await this.page.waitForSelector('#venster[aria-busy="false"]');
  }

  async openFile(path) {
    const [chooser] = await Promise.all([this.page.waitForFileChooser(), this.page.click('#openen')]);
    await chooser.accept([path]);
    // The chooser's change event sets the page busy; wait until it is done reading.
    await this.page.waitForFunction((name) => document.getElementById('bestand-openen').value === name,
      {}, path.split('/').pop());
    await this.idle();
  }

  // Uitvoeren with the choice dialog filled in; resolves once the run has ended.
  // order: the order's value; keep: the path of an earlier map whose numbers stay.
  async run({ tag, start = '', prefix = '', width = 5, order = 'definition', keep = null } = {}) {
    await this.page.click('#uitvoeren');
    await this.page.waitForFunction(() => document.getElementById('keuze').open
      || document.getElementById('melding').open);
    if (await this.page.$eval('#melding', (box) => box.open)) return;
    await this.page.evaluate(({ tag, start, prefix, width, order }) => {
      const radio = tag && document.querySelector(`input[name="soort"][value="${tag}"]`);
      if (radio) radio.checked = true;
      document.getElementById('vlgnummer').value = start;
      document.getElementById('voorvoegsel').value = prefix;
      document.getElementById('cijfers').value = String(width);
      document.getElementById('volgorde').value = order;
    }, { tag, start, prefix, width, order });
    if (keep !== null) await (await this.page.$('#vorige-lijst')).uploadFile(keep);
    await this.page.focus('#vlgnummer');
    await this.page.keyboard.press('Enter');  // Enter runs, as the dialog's Uitvoeren button does
    await this.page.waitForFunction(() => !document.getElementById('keuze').open);
    await this.idle();
  }

  panels() {
    return this.page.$$eval('.status-panel', (panels) => panels.map((panel) => panel.textContent));
  }

  // The message box's text, or null when none is shown.
  message() {
    return this.page.$eval('#melding', (box) => (box.open ? document.getElementById('melding-tekst').textContent : null));
  }

  async closeMessage() {
    await this.page.click('#melding button');
  }

  // Opslaan under name; resolves with the bytes of each file downloaded, by name.
  async save(name, { withMap = false, expectFiles = withMap ? 2 : 1 } = {}) {
    await this.page.$eval('#bestand-opslaan', (box, value) => { box.value = value; }, name);
    await this.page.$eval('#met-lijst', (box, value) => { box.checked = value; }, withMap);
    const before = this.completed;
    await this.page.click('#opslaan');
    await this.idle();
    if (await this.message() !== null) return null;
    const deadline = Date.now() + 20_000;
    while (this.completed < before + expectFiles) {
      if (Date.now() > deadline) throw new Error('download did not complete');
      await new Promise((done) => setTimeout(done, 25));
    }
    const files = {};
    for (const file of readdirSync(this.downloads)) files[file] = readFileSync(join(this.downloads, file));
    for (const file of Object.keys(files)) rmSync(join(this.downloads, file));
    return files;
  }
}
