#pragma once
#include <cstddef>
#include <string_view>

#include "core/LargeBuffer.h"

namespace halvern {

// The bytes of a document as read, in one block of memory that is filled from its start and never
// set to anything first: a file is read straight into it. Move-only.
class DocumentBuffer {
public:
    DocumentBuffer() = default;

    std::string_view Text() const { return {block_.get(), size_}; }
    std::size_t Capacity() const { return block_.get_deleter().bytes; }

    // Makes room for at least capacity bytes in all; the bytes so far are kept.
    void Reserve(std::size_t capacity);
    // Where the next bytes go (Capacity() - Text().size() of them fit), and taking them in.
    char* End() { return block_.get() + size_; }
    void Extend(std::size_t count) { size_ += count; }

private:
    LargeBlock block_;
    std::size_t size_ = 0;
};

}  // namespace halvern
