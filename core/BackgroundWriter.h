#pragma once
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

namespace halvern {

// Gathers bytes written in pieces of any size into blocks and hands each full block to writeBlock
// on a thread of its own, so that the time the system takes to take in one block overlaps with
// the making of the next. There are two blocks: one being filled while the other is written.
//
// An exception thrown by writeBlock stops the writing; it is thrown again from the next Write or
// from Finish. Destroying the writer without Finish (on the way out of a failure) drops what has
// not been written yet.
class BackgroundWriter {
public:
    explicit BackgroundWriter(std::function<void(std::string_view)> writeBlock);
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;
    ~BackgroundWriter();

    void Write(std::string_view bytes);
    // Writes what is left and waits until everything is written.
    void Finish();

    static constexpr std::size_t kBlockSize = 256 * 1024;

private:
    // Hands the block being filled to the thread, once it is done with the other one.
    void HandOver();
    void Run();
    void ThrowIfFailed();

    std::function<void(std::string_view)> writeBlock_;
    std::unique_ptr<char[]> filling_;
    std::size_t filled_ = 0;
    std::unique_ptr<char[]> spare_;  // free when the thread holds no block

    std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<char[]> handed_;  // the block the thread is to write or is writing
    std::size_t handedSize_ = 0;
    bool busy_ = false;      // handed_ holds a block not yet written
    bool stopping_ = false;  // no more blocks will come
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace halvern
