#pragma once
#include <cstddef>
#include <cstdio>
#include <filesystem>

// The calls to the operating system that core makes: files for loading and saving, and the hint
// for large pages; the same source files also turn a name into a path (core/FileName.h). Files are C runtime file descriptors and streams. One source file per family of
// systems implements them (SystemCallsPosix.cpp, SystemCallsWindows.cpp on Windows' C runtime) and
// the build picks it, so nothing else in core depends on the system. A call that fails returns -1,
// nullptr or false with errno set, as the C runtime does.
namespace halvern::os {

// ---- Reading ----

// The file at path, opened for reading in binary mode.
std::FILE* OpenForReading(const std::filesystem::path& path);

// Puts an open stream (standard input) into binary mode, where the C runtime would turn CR LF
// into LF. POSIX streams have no other mode.
void UseBinaryMode(std::FILE* stream);

// ---- Writing ----

// An existing file (a device, a pipe) opened for writing as it is: nothing truncated or replaced.
int OpenForWriting(const std::filesystem::path& path);

// One write of at most size bytes (size is at most 1 GiB): the number of bytes written, or -1.
std::ptrdiff_t WriteSome(int fd, const char* data, std::size_t size);

// Closes fd: 0, or -1 when the system reports a failure (a write it had delayed, say).
int Close(int fd);

// 0 when the existing file at path may be written by this process, otherwise -1.
int CheckWritable(const std::filesystem::path& path);

// ---- Temporary files of a save ----

// A new file at path, opened for writing; fails with EEXIST when the name is taken. The file is
// guarded as long as the descriptor is open: RemoveIfUnguarded, from this process or any other,
// leaves it alone. A process that ends, however it ends, no longer guards its files.
int CreateGuardedFile(const std::filesystem::path& path);

// A second descriptor that keeps fd's guard after fd is closed, until it is closed itself, so a
// temporary file stays guarded up to its rename. -1 where the system cannot keep a guard past the
// close (on Windows the rename needs every descriptor of the file closed).
int KeepGuard(int fd);

// Removes the file at path when it is a regular file that nobody guards; otherwise, and when the
// removal fails, nothing happens.
void RemoveIfUnguarded(const std::filesystem::path& path);

// ---- Memory ----

// Asks for large pages for the size bytes from start, a large-page boundary. Only a hint: nothing
// happens where the system offers no large pages on request.
void RequestLargePages(void* start, std::size_t size) noexcept;

}  // namespace halvern::os
