#include "platform/PosixFiles.h"

#include "platform/FileDescriptor.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvrast {
namespace {

std::string reason(int error) {
    switch (error) {
    case ENOENT:
        return "the file or its folder does not exist";
    case EACCES:
    case EPERM:
        return "permission was refused";
    case EISDIR:
        return "it is a folder, not a file";
    case ENOSPC:
    case EDQUOT:
        return "the disk is full";
    case EROFS:
        return "the disk is read-only";
    case ENAMETOOLONG:
        return "the name is too long";
    case ENOTDIR:
        return "part of the path is not a folder";
    default:
        return std::strerror(error);
    }
}

Status failure(const char* what, const std::filesystem::path& file, int error) {
    std::string message = std::string(what) + " " + file.string() + ": " + reason(error) + ".";
    return error == ENOENT ? Status::notFound(std::move(message)) : Status::failure(std::move(message));
}

// Holds an exclusive lock on an open file until the end of the scope.
class ExclusiveLock {
public:
    explicit ExclusiveLock(int fd) : fd_(fd) {
        int result;
        do {
            result = ::flock(fd_, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        locked_ = result == 0;
        error_ = locked_ ? 0 : errno;
    }
    ~ExclusiveLock() {
        if (locked_)
            ::flock(fd_, LOCK_UN);
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    bool locked() const { return locked_; }
    int error() const { return error_; }

private:
    int fd_;
    bool locked_ = false;
    int error_ = 0;
};

FileDescriptor openFile(const std::filesystem::path& file, int flags) {
    int fd;
    do {
        fd = ::open(file.c_str(), flags | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return FileDescriptor(fd);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

int syncData(int fd) {
    int result;
    do {
        result = ::fdatasync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

} // namespace

Status PosixFiles::createFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0755) != 0)
        return failure("Could not create the folder", folder, errno);
    return Status::success();
}

Status PosixFiles::touch(const std::filesystem::path& file) {
    FileDescriptor fd = openFile(file, O_WRONLY | O_APPEND | O_CREAT);
    if (!fd.isOpen())
        return failure("Could not open", file, errno);
    return Status::success();
}

Status PosixFiles::readLines(const std::filesystem::path& file, const LineSink& sink) {
    FileDescriptor fd = openFile(file, O_RDONLY);
    if (!fd.isOpen())
        return failure("Could not open", file, errno);
    std::string line;
    bool lineOpen = false;         // something has been read since the last line end
    bool dropNextLineFeed = false; // the last character was the CR that ended a line
    char buffer[1 << 16];
    for (;;) {
        ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return failure("Could not read", file, errno);
        }
        if (count == 0)
            break;
        std::string_view chunk(buffer, static_cast<std::size_t>(count));
        if (dropNextLineFeed && chunk.front() == '\n')
            chunk.remove_prefix(1);
        dropNextLineFeed = false;
        while (!chunk.empty()) {
            std::size_t cr = chunk.find('\r');
            if (cr == std::string_view::npos) {
                line.append(chunk);
                lineOpen = true;
                break;
            }
            if (line.empty())
                sink(chunk.substr(0, cr));
            else {
                line.append(chunk.substr(0, cr));
                sink(line);
                line.clear();
            }
            lineOpen = false;
            chunk.remove_prefix(cr + 1);
            if (chunk.empty())
                dropNextLineFeed = true;
            else if (chunk.front() == '\n')
                chunk.remove_prefix(1);
        }
    }
    if (lineOpen)
        sink(line);
    return Status::success();
}

Status PosixFiles::writeFile(const std::filesystem::path& file, std::string_view bytes) {
    FileDescriptor fd = openFile(file, O_WRONLY | O_CREAT | O_TRUNC);
    if (!fd.isOpen())
        return failure("Could not open", file, errno);
    if (!writeAll(fd.get(), bytes))
        return failure("Could not write to", file, errno);
    return Status::success();
}

Result<AppendReceipt> PosixFiles::appendBlock(const std::filesystem::path& file, std::string_view block) {
    FileDescriptor fd = openFile(file, O_WRONLY | O_APPEND | O_CREAT);
    if (!fd.isOpen())
        return failure("Could not open", file, errno);
    ExclusiveLock lock(fd.get());
    if (!lock.locked())
        return failure("Could not lock", file, lock.error());
    struct stat before {};
    if (::fstat(fd.get(), &before) != 0)
        return failure("Could not read the size of", file, errno);
    AppendReceipt receipt{static_cast<std::uintmax_t>(before.st_size), block.size()};

    ssize_t written;
    do {
        written = ::write(fd.get(), block.data(), block.size());
    } while (written < 0 && errno == EINTR);
    int error = written < 0 ? errno : (static_cast<std::size_t>(written) < block.size() ? ENOSPC : 0);
    if (error == 0)
        error = syncData(fd.get());
    if (error != 0) {
        // Whatever part of the block reached the file goes again, so the file holds whole blocks only.
        if (written > 0 && ::ftruncate(fd.get(), before.st_size) == 0)
            syncData(fd.get());
        return failure("Could not write to", file, error);
    }
    return receipt;
}

Status PosixFiles::takeBack(const std::filesystem::path& file, const AppendReceipt& receipt) {
    FileDescriptor fd = openFile(file, O_WRONLY);
    if (!fd.isOpen())
        return failure("Could not open", file, errno);
    ExclusiveLock lock(fd.get());
    if (!lock.locked())
        return failure("Could not lock", file, lock.error());
    struct stat now {};
    if (::fstat(fd.get(), &now) != 0)
        return failure("Could not read the size of", file, errno);
    if (static_cast<std::uintmax_t>(now.st_size) != receipt.sizeBefore + receipt.length)
        return Status::failure("Could not take the record back out of " + file.string() +
                               ": the file has changed since it was written.");
    if (::ftruncate(fd.get(), static_cast<off_t>(receipt.sizeBefore)) != 0)
        return failure("Could not take the record back out of", file, errno);
    if (int error = syncData(fd.get()); error != 0)
        return failure("Could not take the record back out of", file, error);
    return Status::success();
}

} // namespace kelvrast
