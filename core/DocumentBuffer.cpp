#include "core/DocumentBuffer.h"

#include <cstring>

namespace halvern {

void DocumentBuffer::Reserve(std::size_t capacity) {
    if (capacity <= Capacity()) return;
    LargeBlock larger(static_cast<char*>(AllocateBlock(capacity)), FreeLargeBlock{capacity});
    if (size_ > 0) std::memcpy(larger.get(), block_.get(), size_);
    block_ = std::move(larger);
}

}  // namespace halvern
