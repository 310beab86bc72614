#pragma once
#include <cstdio>

#include "base/UniqueRes.h"
#include "core/SystemCalls.h"

namespace halvern {

inline void CloseStream(std::FILE* stream) noexcept { std::fclose(stream); }

// A C stream that is closed when it goes. Release it first to close it yourself and check the result.
using UniqueStream = UniqueRes<std::FILE*, &CloseStream>;

inline void CloseDescriptor(int fd) noexcept { os::Close(fd); }

// A file descriptor that is closed when it goes; the same advice applies.
using UniqueFd = UniqueRes<int, &CloseDescriptor, -1>;

}  // namespace halvern
