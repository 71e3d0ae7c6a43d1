#pragma once

#include "system/posix/SystemCalls.h"

#include <utility>

namespace kelvrast {

// Owns an open file descriptor and closes it on every path out of the scope.
class FileDescriptor {
public:
    FileDescriptor(SystemCalls& calls, int fd) : calls_(&calls), fd_(fd) {}
    // A descriptor that the kernel's own calls opened.
    explicit FileDescriptor(int fd) : FileDescriptor(kernelCalls(), fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            calls_->close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : calls_(other.calls_), fd_(std::exchange(other.fd_, -1)) {}

    bool isOpen() const { return fd_ >= 0; }
    int get() const { return fd_; }

private:
    SystemCalls* calls_;
    int fd_;
};

} // namespace kelvrast
