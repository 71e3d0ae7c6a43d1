#pragma once

#include "support/SimulatedDiskModel.h"
#include "system/posix/SystemCalls.h"

namespace kelvrast::testing {

// The simulated disk below PosixFiles, as the man pages of fsync(2) and fdatasync(2) promise no more: fdatasync
// or fsync makes a file's bytes and size durable, an fsync of a folder its entries; nothing else is. Every call
// after the power cut fails with EIO.
class SimulatedDisk final : public SystemCalls, public SimulatedDiskModel {
public:
    int open(const char* path, int flags, mode_t mode) override;
    int close(int fd) override;
    ssize_t read(int fd, void* into, size_t size) override;
    ssize_t pread(int fd, void* into, size_t size, off_t at) override;
    ssize_t write(int fd, const void* bytes, size_t size) override;
    ssize_t pwritev(int fd, const iovec* parts, int count, off_t at) override;
    int ftruncate(int fd, off_t size) override;
    int fdatasync(int fd) override;
    int fsync(int fd) override;
    int fstat(int fd, struct stat* into) override;
    int flock(int fd, int operation) override;
    int mkdir(const char* path, mode_t mode) override;
    int rename(const char* from, const char* to) override;
    int unlink(const char* path) override;

private:
    static int fail(int error);
    // The open file, or nothing with errno set: EIO once the power is gone.
    Open* usable(int fd);
    ssize_t writeAt(int fd, std::string_view bytes, std::optional<off_t> at);
};

} // namespace kelvrast::testing
