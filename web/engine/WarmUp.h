#pragma once

namespace halvern::web {

// Renumbers a small made-up family tree a few times and throws the result away. A browser first
// runs WebAssembly through a quick compiler and compiles what turns out hot again, better, for its
// next call; the engine's passes are single calls that run long, so without this the first file a
// person renumbers would run at the quick compiler's speed, several times slower.
void WarmUpEngine();

}  // namespace halvern::web
