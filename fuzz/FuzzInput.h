#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace halvern::fuzz {

// The fuzzer's bytes, taken from the front a piece at a time; what is left at the end is the text.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // One byte, 0 when none is left.
    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return byte;
    }
    std::uint32_t Word32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = (value << 8) | Byte();
        return value;
    }
    // At most count bytes.
    std::string_view Take(std::size_t count) {
        const std::string_view piece = rest_.substr(0, count);
        rest_.remove_prefix(piece.size());
        return piece;
    }
    std::string_view Rest() const { return rest_; }

private:
    std::string_view rest_;
};

// A broken invariant: says which and stops the run so libFuzzer keeps the input.
[[noreturn]] inline void Broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void Require(bool holds, const char* what) {
    if (!holds) Broken(what);
}

}  // namespace halvern::fuzz
