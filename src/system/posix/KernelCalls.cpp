#include "system/posix/SystemCalls.h"

#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kelvrast {
namespace {

class KernelCalls final : public SystemCalls {
public:
    int open(const char* path, int flags, mode_t mode) override { return ::open(path, flags, mode); }
    int close(int fd) override { return ::close(fd); }
    ssize_t read(int fd, void* into, size_t size) override { return ::read(fd, into, size); }
    ssize_t pread(int fd, void* into, size_t size, off_t at) override { return ::pread(fd, into, size, at); }
    ssize_t write(int fd, const void* bytes, size_t size) override { return ::write(fd, bytes, size); }
    ssize_t pwritev(int fd, const iovec* parts, int count, off_t at) override {
        return ::pwritev(fd, parts, count, at);
    }
    int ftruncate(int fd, off_t size) override { return ::ftruncate(fd, size); }
    int fdatasync(int fd) override { return ::fdatasync(fd); }
    int fsync(int fd) override { return ::fsync(fd); }
    int fstat(int fd, struct stat* into) override { return ::fstat(fd, into); }
    int flock(int fd, int operation) override { return ::flock(fd, operation); }
    int mkdir(const char* path, mode_t mode) override { return ::mkdir(path, mode); }
    int rename(const char* from, const char* to) override { return ::rename(from, to); }
    int unlink(const char* path) override { return ::unlink(path); }
};

} // namespace

SystemCalls& kernelCalls() {
    static KernelCalls calls;
    return calls;
}

} // namespace kelvrast
