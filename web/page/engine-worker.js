// The page's worker: it holds the document in the engine (createHalvernEngine, the WebAssembly build
// of core/ and app/ that stands before this code in the same script) and does what the page asks,
// one request at a time, so that the page stays responsive while a large file is read or renumbered.
'use strict';

const kReadChunk = 16 << 20;  // a file is read in slices straight into the engine's memory

let engine = null;

function textAt(pointer) {
  return engine.UTF8ToString(pointer >>> 0);
}

// Calls call with a UTF-8 copy of text in the engine's memory.
function withCString(text, call) {
  const size = engine.lengthBytesUTF8(text) + 1;
  const pointer = engine._malloc(size);
  if (pointer === 0) throw new RangeError('no memory');
  try {
    engine.stringToUTF8(text, pointer, size);
    return call(pointer);
  } finally {
    engine._free(pointer);
  }
}

// A Blob of size bytes of the engine's memory from pointer on (the Blob takes its own copy).
function blobOf(pointer, size, type) {
  const start = pointer >>> 0;
  return new Blob([engine.HEAPU8.subarray(start, start + (size >>> 0))], { type });
}

async function open(file) {
  let target;
  try {
    target = withCString(file.name, (name) => engine._hv_prepare_load(file.size, name)) >>> 0;
  } catch {
    target = 0;
  }
  if (target === 0 && file.size > 0) return { type: 'opened', ok: false, memory: true };
  try {
    for (let offset = 0; offset < file.size; offset += kReadChunk) {
      const slice = new Uint8Array(await file.slice(offset, offset + kReadChunk).arrayBuffer());
      engine.HEAPU8.set(slice, target + offset);  // the heap is looked up again: it may have grown
    }
  } catch {
    withCString('', (name) => engine._hv_prepare_load(0, name));
    return { type: 'opened', ok: false };
  }
  const loaded = engine._hv_finish_load();
  return { type: 'opened', ok: loaded === 1, memory: loaded === -1 };
}

// Calls call with a copy of bytes in the engine's memory (a pointer, or 0 for no bytes).
function withBytes(bytes, call) {
  if (bytes.length === 0) return call(0);
  const pointer = engine._malloc(bytes.length);
  if (pointer === 0) throw new RangeError('no memory');
  try {
    engine.HEAPU8.set(bytes, pointer >>> 0);
    return call(pointer);
  } finally {
    engine._free(pointer);
  }
}

async function run(request) {
  // The earlier map whose numbers stay, as the bytes of its file.
  const keep = request.keep ? new Uint8Array(await request.keep.arrayBuffer()) : new Uint8Array();
  const startText = withCString(request.timeOfDay, (time) => textAt(engine._hv_start_text(time)));
  postMessage({ type: 'panel', panel: 1, text: startText });
  const status = withCString(request.tag, (tag) =>
    withCString(request.prefix, (prefix) =>
      withCString(request.start, (start) =>
        withCString(request.order, (order) =>
          withBytes(keep, (list) => engine._hv_run(tag, prefix, request.width, start, order, list, keep.length))))));
  return {
    type: 'ran',
    status,
    message: textAt(engine._hv_run_message()),
    progress: textAt(engine._hv_run_progress()),
    elapsed: textAt(engine._hv_run_elapsed()),
    elapsedMs: engine._hv_run_elapsed_ms(),
    count: textAt(engine._hv_run_count()),
  };
}

function save(request) {
  const refusal = withCString(request.name, (name) => textAt(engine._hv_check_save(name)));
  if (refusal !== '') return { type: 'saved', refusal };
  const output = engine._hv_output();
  if (output === 0) return { type: 'saved', memory: true };
  const result = blobOf(output, engine._hv_output_size(), 'application/octet-stream');
  engine._hv_release_output();
  const map = request.withMap ? blobOf(engine._hv_map(), engine._hv_map_size(), 'text/tab-separated-values') : null;
  return { type: 'saved', result, map };
}

// The program's message catalogue, from each text's name to its text ({ rsBerichten: 'berichten', ... }).
function catalogue() {
  const entries = [];
  for (let entry = 0; entry < engine._hv_catalogue_size(); ++entry) {
    entries.push([textAt(engine._hv_catalogue_name(entry)), textAt(engine._hv_catalogue_text(entry))]);
  }
  return Object.fromEntries(entries);
}

function defaultPrefixes(tags) {
  return Object.fromEntries(tags.map((tag) => [tag, withCString(tag, (t) => textAt(engine._hv_default_prefix(t)))]));
}

async function handle(request) {
  switch (request.type) {
    case 'open': return open(request.file);
    case 'prefixes': return { type: 'prefixes', prefixes: defaultPrefixes(request.tags) };
    case 'check-run': return { type: 'checked', refusal: textAt(engine._hv_check_run()) };
    case 'run': return run(request);
    case 'save': return save(request);
    default: throw new TypeError(`unknown request ${request.type}`);
  }
}

let queue = createHalvernEngine().then((loaded) => {
  engine = loaded;
  postMessage({ type: 'ready', catalogue: catalogue() });
  // Before the first request: lets the browser compile the engine's hot code at full speed.
  engine._hv_warm_up();
});

self.onmessage = (event) => {
  queue = queue.then(() => handle(event.data)).then(
    (answer) => postMessage(answer),
    (error) => postMessage({ type: 'failed', request: event.data.type, detail: String(error) }));
};
