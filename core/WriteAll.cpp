#include "core/WriteAll.h"

#include <cerrno>
#include <cstddef>

#include "core/SystemCalls.h"

namespace halvern {

bool WriteAll(int fd, std::string_view bytes) {
    constexpr std::size_t kMaxChunk = std::size_t{1} << 30;
    while (!bytes.empty()) {
        const std::size_t chunk = bytes.size() < kMaxChunk ? bytes.size() : kMaxChunk;
        const std::ptrdiff_t written = os::WriteSome(fd, bytes.data(), chunk);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace halvern
