#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>

namespace kelvrast {

// The system calls PosixFiles makes on answer files, their notes and their folders: the real ones forward to the
// kernel, and a test puts a simulated disk in their place to cut the power after any one of them. Each returns
// what its system call returns and sets errno as it does.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    virtual int open(const char* path, int flags, mode_t mode) = 0;
    virtual int close(int fd) = 0;
    virtual ssize_t read(int fd, void* into, size_t size) = 0;
    virtual ssize_t pread(int fd, void* into, size_t size, off_t at) = 0;
    virtual ssize_t write(int fd, const void* bytes, size_t size) = 0;
    virtual ssize_t pwritev(int fd, const iovec* parts, int count, off_t at) = 0;
    virtual int ftruncate(int fd, off_t size) = 0;
    virtual int fdatasync(int fd) = 0;
    virtual int fsync(int fd) = 0;
    virtual int fstat(int fd, struct stat* into) = 0;
    virtual int flock(int fd, int operation) = 0;
    virtual int mkdir(const char* path, mode_t mode) = 0;
    virtual int rename(const char* from, const char* to) = 0;
    virtual int unlink(const char* path) = 0;
};

// The kernel's own calls.
SystemCalls& kernelCalls();

} // namespace kelvrast
