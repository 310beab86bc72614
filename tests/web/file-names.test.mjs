// The names the page proposes for its downloads.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { test } from 'node:test';

const names = createRequire(import.meta.url)('../../web/page/file-names.js');

test('the result is named after the input, the map after the result', () => {
  assert.equal(names.resultName('stamboom.ged'), 'stamboom-hernummerd.ged');
  assert.equal(names.resultName('familie.v2.GED'), 'familie.v2-hernummerd.GED');
  assert.equal(names.resultName('zonder'), 'zonder-hernummerd');
  assert.equal(names.resultName('.ged'), '.ged-hernummerd');
  assert.equal(names.mapName(' uit.ged '), 'uit-lijst.tsv');
  assert.equal(names.mapName('uit'), 'uit-lijst.tsv');
});
