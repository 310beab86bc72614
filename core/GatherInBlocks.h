#pragma once
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

    explicit GatherInBlocks(const std::function<void(std::string_view)>& write)
        : write_(write), block_(std::make_unique<char[]>(kBlockSize)) {}

    void Append(std::string_view bytes) {
        if (bytes.size() > kBlockSize - filled_) {
            Flush();
            if (bytes.size() >= kBlockSize) {
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
    std::unique_ptr<char[]> block_;
    std::size_t filled_ = 0;
};

// The same pieces appended to a string.
struct AppendToString {
    std::string& text;
    void Append(std::string_view bytes) { text.append(bytes); }
};

}  // namespace halvern
