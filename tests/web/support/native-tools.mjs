// The native tree's halvern-cli and gedcom-gen, which the page's results are compared with.
import { execFileSync } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { nativeDir } from './page-driver.mjs';

export function scratchFolder() {
  return mkdtempSync(join(tmpdir(), 'halvern-web-'));
}

export function generateGedcom(individuals, file) {
  execFileSync(join(nativeDir, 'bin', 'gedcom-gen'), [String(individuals), file]);
  return file;
}

// halvern-cli with args; its standard output as lines.
export function halvernCli(...args) {
  return execFileSync(join(nativeDir, 'bin', 'halvern-cli'), args, { encoding: 'utf8' }).split('\n').filter(Boolean);
}
