#pragma once
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace halvern {

// Gathers the many small pieces of a replacement pass into blocks and hands each full block on, so
// whoever receives them (a file) gets few large writes. A piece larger than a block by itself is
// handed on as it is. Flush hands on what is left.
class GatherInBlocks {
public:
    static constexpr std::size_t kBlockSize = std::size_t{256} << 10;

    // total: the most bytes that will be appended; a smaller text gets a block of its size, so a
    // short text does not clear a block of 256 KiB.
    GatherInBlocks(const std::function<void(std::string_view)>& write, std::size_t total)
        : write_(write), size_(std::min(total, kBlockSize)), block_(std::make_unique<char[]>(size_)) {}

    void Append(std::string_view bytes) {
        if (bytes.size() > size_ - filled_) {
            Flush();
            if (bytes.size() >= size_) {
                write_(bytes);
                return;
            }
        }
        std::memcpy(block_.get() + filled_, bytes.data(), bytes.size());
        filled_ += bytes.size();
    }

    void Flush() {
        if (filled_ > 0) write_(std::string_view(block_.get(), filled_));
        filled_ = 0;
    }

private:
    const std::function<void(std::string_view)>& write_;
    std::size_t size_;
    std::unique_ptr<char[]> block_;
    std::size_t filled_ = 0;
};

// The same pieces appended to a string.
struct AppendToString {
    std::string& text;
    void Append(std::string_view bytes) { text.append(bytes); }
};

}  // namespace halvern
