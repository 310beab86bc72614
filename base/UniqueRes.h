#pragma once
#include <utility>

namespace halvern {

// Owns one handle and releases it with Close when it goes: UniqueRes<HKEY, &RegCloseKey>.
// Move-only. Invalid is the value that means "no handle" (nullptr for most Windows handles).
template <typename Handle, auto Close, Handle Invalid = Handle{}>
class UniqueRes {
public:
    UniqueRes() noexcept = default;
    explicit UniqueRes(Handle handle) noexcept : handle_(handle) {}
    UniqueRes(const UniqueRes&) = delete;
    UniqueRes& operator=(const UniqueRes&) = delete;
    UniqueRes(UniqueRes&& other) noexcept : handle_(other.release()) {}
    UniqueRes& operator=(UniqueRes&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueRes() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Invalid; }

    // The address to hand to a function that returns a new handle through an out argument.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }
    Handle release() noexcept { return std::exchange(handle_, Invalid); }
    void reset(Handle handle = Invalid) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old != Invalid) Close(old);
    }

private:
    Handle handle_ = Invalid;
};

}  // namespace halvern
