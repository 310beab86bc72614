#pragma once
#include <cstdio>

#include "base/UniqueRes.h"

namespace halvern {

inline void CloseStream(std::FILE* stream) noexcept { std::fclose(stream); }

// A C stream that is closed when it goes. Release it first to close it yourself and check the result.
using UniqueStream = UniqueRes<std::FILE*, &CloseStream>;

}  // namespace halvern
