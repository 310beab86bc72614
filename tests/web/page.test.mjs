// The page in headless Chromium, opened from the built folder as a person opens it from disk: runs
// in a row whose downloads are byte for byte what halvern-cli writes, refusals in the catalogue's
// words that leave the text as it was, UTF-16 files, and not one request once the page is loaded.
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { launchBrowser, PageDriver } from './support/page-driver.mjs';
import { generateGedcom, halvernCli, scratchFolder } from './support/native-tools.mjs';

const folder = scratchFolder();
let browser;

before(async () => { browser = await launchBrowser(); });
after(async () => { await browser?.close(); });

async function withPage(use) {
  const driver = await PageDriver.open(browser);
  try {
    await use(driver);
    assert.deepEqual(driver.errors, []);
  } finally {
    await driver.close();
  }
}

test('runs INDI then FAM, and the downloads are what halvern-cli writes', () => withPage(async (page) => {
  const input = generateGedcom(3000, join(folder, 'stamboom.ged'));
  const cliCounts = halvernCli('-t', 'INDI', '-t', 'FAM:100', '-m', join(folder, 'lijst.tsv'), input, join(folder, 'cli.ged'));

  await page.openFile(input);
  assert.deepEqual(await page.panels(), ['berichten', 'dd:uu:mm:ss', 'aantal']);
  assert.equal(await page.page.$eval('#bestand-opslaan', (box) => box.value), 'stamboom-hernummerd.ged');

  await page.run({ tag: 'INDI' });
  const [progress, elapsed, count] = await page.panels();
  assert.match(progress, /^schonen \d+$/);
  assert.match(elapsed, /^\d\d:\d\d:\d\d:\d\d$/);
  assert.equal(count, cliCounts[0]);
  await page.run({ tag: 'FAM', start: '100' });
  assert.equal((await page.panels())[2], cliCounts[1]);

  const files = await page.save('uitvoer.ged', { withMap: true });
  assert.deepEqual(Object.keys(files).sort(), ['uitvoer-lijst.tsv', 'uitvoer.ged']);
  assert.ok(files['uitvoer.ged'].equals(readFileSync(join(folder, 'cli.ged'))), 'result differs from halvern-cli');
  assert.ok(files['uitvoer-lijst.tsv'].equals(readFileSync(join(folder, 'lijst.tsv'))), 'map differs from halvern-cli');
}));

test('keeps the numbers of an earlier map and numbers the new ones by name, as halvern-cli does', () => withPage(async (page) => {
  const first = generateGedcom(400, join(folder, 'vorige.ged'));
  halvernCli('-q', '-m', join(folder, 'vorige.tsv'), first, join(folder, 'vorige-uit.ged'));
  // A month later: the first record gone, two people added.
  const text = readFileSync(first, 'latin1');
  const later = join(folder, 'later.ged');
  const firstRecord = text.indexOf('0 @');
  const added = '0 @N2@ INDI\n1 NAME Piet /Zwart/\n0 @N1@ INDI\n1 NAME Anna /de Aa/\n0 TRLR';
  writeFileSync(later, text.slice(0, firstRecord) + text.slice(text.indexOf('0 @', firstRecord + 3)).replace('0 TRLR', added), 'latin1');
  halvernCli('-q', '-k', join(folder, 'vorige.tsv'), '--order', 'name', '-m', join(folder, 'later.tsv'), later, join(folder, 'later-cli.ged'));

  await page.openFile(later);
  assert.equal(await page.page.$eval('label[for="kies-lijst"]', (label) => label.textContent.length > 0), true);
  await page.run({ tag: 'INDI', order: 'name', keep: join(folder, 'vorige.tsv') });
  assert.equal(await page.page.$eval('#lijst-naam', (name) => name.textContent), 'vorige.tsv');
  const files = await page.save('later-uit.ged', { withMap: true });
  assert.ok(files['later-uit.ged'].equals(readFileSync(join(folder, 'later-cli.ged'))), 'result differs from halvern-cli');
  assert.ok(files['later-uit-lijst.tsv'].equals(readFileSync(join(folder, 'later.tsv'))), 'map differs from halvern-cli');
}));

test('refusals show the catalogue text and leave the text as it was', () => withPage(async (page) => {
  const refusal = async (action) => {
    await action();
    const text = await page.message();
    if (text !== null) await page.closeMessage();
    return text;
  };

  assert.equal(await refusal(() => page.run()), 'Er is geen bestand opgegeven om te openen.');

  const picture = join(folder, 'foto.ged');
  writeFileSync(picture, Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0, 0, 0, 0x0d]));
  await page.openFile(picture);
  assert.equal((await page.panels())[0], 'Verkeert bestandsformaat.');
  assert.equal(await refusal(() => page.run()), 'Er is geen bestand opgegeven om te openen.');

  const blanks = join(folder, 'leeg.ged');
  writeFileSync(blanks, ' \r\n\t \n');
  await page.openFile(blanks);
  assert.equal(await refusal(() => page.run()), 'Er zijn geen gegevens om te hernummeren.');

  // Twelve individuals, and a note that already holds the identifier the second would get.
  const crowded = join(folder, 'vol.ged');
  let text = '0 HEAD\n';
  for (let i = 1; i <= 12; ++i) text += `0 @P${i}@ INDI\n1 FAMC @G1@\n`;
  text += '0 @G1@ FAM\n0 @I00002@ NOTE bezet\n0 TRLR\n';
  writeFileSync(crowded, text);
  await page.openFile(crowded);
  await page.run({ tag: 'FAM', start: '7' });
  const afterFam = text.replaceAll('@G1@', '@F00007@');
  assert.equal(await refusal(() => page.run({ tag: 'INDI', width: 1 })),
    'De nieuwe nummers zouden dubbel voorkomen; er is niets hernummerd.');
  assert.equal(await refusal(() => page.run({ tag: 'INDI' })),
    'Een nieuw nummer staat al in het bestand; er is niets hernummerd. (@I00002@)');
  assert.equal(await refusal(() => page.save('  ')), 'Er is geen bestand opgegeven om de gegevens in op te slaan.');
  assert.equal(await refusal(() => page.save('vol.ged')), 'Het invoerbestand heeft dezelfde naam als het uitvoerbestand.');
  const files = await page.save('vol-uit.ged');
  assert.equal(files['vol-uit.ged'].toString('latin1'), afterFam);
}));

test('UTF-16 files come back in UTF-16, as halvern-cli writes them', () => withPage(async (page) => {
  const example = readFileSync(new URL('../../examples/voorbeeld.ged', import.meta.url), 'latin1');
  const encodings = {
    le: Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(example, 'utf16le')]),
    be: Buffer.from(example, 'utf16le').swap16(),  // no byte order mark: found by "0 HEAD"
  };
  for (const [name, bytes] of Object.entries(encodings)) {
    const input = join(folder, `utf16${name}.ged`);
    writeFileSync(input, bytes);
    halvernCli('-q', '-t', 'INDI', '-t', 'SOUR', input, join(folder, `cli-${name}.ged`));
    await page.openFile(input);
    await page.run({ tag: 'INDI' });
    await page.run({ tag: 'SOUR' });
    const files = await page.save(`uit-${name}.ged`);
    assert.ok(files[`uit-${name}.ged`].equals(readFileSync(join(folder, `cli-${name}.ged`))), `UTF-16 ${name} differs`);
  }
}));

test('no request at all once the page is loaded', () => withPage(async (page) => {
  assert.ok(page.requestsOnLoad.some((url) => url.endsWith('/index.html')), 'requests are seen');
  await page.openFile(generateGedcom(200, join(folder, 'klein.ged')));
  await page.run({ tag: 'INDI', prefix: 'P', width: 7 });
  await page.save('klein-uit.ged', { withMap: true });
  assert.deepEqual(page.requestsAfterLoad, []);
}));
