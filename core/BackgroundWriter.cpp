#include "core/BackgroundWriter.h"

#include <cstring>
#include <utility>

namespace halvern {

BackgroundWriter::BackgroundWriter(std::function<void(std::string_view)> writeBlock)
    : writeBlock_(std::move(writeBlock)),
      filling_(std::make_unique_for_overwrite<char[]>(kBlockSize)),
      spare_(std::make_unique_for_overwrite<char[]>(kBlockSize)),
      thread_([this] { Run(); }) {}

BackgroundWriter::~BackgroundWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundWriter::Write(std::string_view bytes) {
    while (bytes.size() > kBlockSize - filled_) {
        const std::size_t part = kBlockSize - filled_;
        std::memcpy(filling_.get() + filled_, bytes.data(), part);
        filled_ = kBlockSize;
        bytes.remove_prefix(part);
        HandOver();
    }
    std::memcpy(filling_.get() + filled_, bytes.data(), bytes.size());
    filled_ += bytes.size();
}

void BackgroundWriter::Finish() {
    if (filled_ > 0) HandOver();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_ || failure_; });
    if (failure_) std::rethrow_exception(failure_);
}

void BackgroundWriter::HandOver() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !busy_ || failure_; });
        if (failure_) std::rethrow_exception(failure_);
        // The thread is done with its block: that one is filled next.
        if (handed_) spare_ = std::move(handed_);
        handed_ = std::move(filling_);
        handedSize_ = filled_;
        busy_ = true;
    }
    changed_.notify_all();
    filling_ = std::move(spare_);
    filled_ = 0;
}

void BackgroundWriter::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (!busy_) return;  // stopping, nothing left
        if (stopping_ && !failure_) {
            // Destroyed before Finish: what was handed over is dropped.
            busy_ = false;
            return;
        }
        const std::string_view block(handed_.get(), handedSize_);
        lock.unlock();
        std::exception_ptr failure;
        try {
            writeBlock_(block);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        busy_ = false;
        if (failure) failure_ = failure;
        changed_.notify_all();
        if (failure_) return;
    }
}

}  // namespace halvern
