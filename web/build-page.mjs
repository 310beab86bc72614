// Puts the page together in one folder: node web/build-page.mjs ENGINE_JS OUT_DIR
// The worker's script (the engine that Emscripten made, followed by engine-worker.js) goes into
// halvern-engine.js as one string, from which the page starts its worker through a Blob URL: a
// page opened from the file system may not load a worker's script from a file.
import { copyFileSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const [engineJs, outDir] = process.argv.slice(2);
if (!engineJs || !outDir) {
  console.error('usage: node web/build-page.mjs ENGINE_JS OUT_DIR');
  process.exit(2);
}
const pageDir = join(dirname(fileURLToPath(import.meta.url)), 'page');

mkdirSync(outDir, { recursive: true });
for (const file of ['index.html', 'halvern.css', 'halvern.js', 'file-names.js']) {
  copyFileSync(join(pageDir, file), join(outDir, file));
}
const workerSource = `${readFileSync(engineJs, 'utf8')}\n${readFileSync(join(pageDir, 'engine-worker.js'), 'utf8')}`;
writeFileSync(join(outDir, 'halvern-engine.js'),
  `'use strict';\n// The page's worker: the engine in WebAssembly and the code that serves the page.\n` +
  `globalThis.HalvernWorkerSource = ${JSON.stringify(workerSource)};\n`);
