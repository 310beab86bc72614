#pragma once
#include <string_view>

namespace halvern {

// Writes every byte to the file descriptor fd; false with errno set when the system refuses. A
// write that makes no progress counts as a full disk.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace halvern
