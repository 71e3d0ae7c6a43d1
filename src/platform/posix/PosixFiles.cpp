#include "platform/posix/PosixFiles.h"

#include "platform/posix/FileDescriptor.h"
#include "platform/posix/RetryOnInterrupt.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
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
        const int result = retryOnInterrupt([this] { return ::flock(fd_, LOCK_EX); });
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
    return FileDescriptor(retryOnInterrupt([&] { return ::open(file.c_str(), flags | O_CLOEXEC, 0644); }));
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = retryOnInterrupt([&] { return ::write(fd, bytes.data(), bytes.size()); });
        if (written < 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

int syncData(int fd) {
    return retryOnInterrupt([fd] { return ::fdatasync(fd); }) == 0 ? 0 : errno;
}

// A kill can stop write(2) at any page boundary of the file, so even a short block can be cut, and the next block
// would then follow a partial one. Before a block goes in, a note of the file's size and of the block is written
// beside the file; whoever next opens the file for appending takes out, under the lock, what an append that never
// finished left at its end. The note is written in place and not flushed, so it costs next to nothing: it covers a
// program that is killed or crashes, not a machine that loses power. A note that cannot be written only costs the
// repair.
std::filesystem::path notePath(const std::filesystem::path& file) {
    return file.parent_path() / ".unfinished" / file.filename();
}

// The note of the file, opened for reading and, when create is set, for writing, its folder made when missing.
FileDescriptor openNote(const std::filesystem::path& file, bool create) {
    const std::filesystem::path note = notePath(file);
    if (!create)
        return openFile(note, O_RDONLY);
    FileDescriptor fd = openFile(note, O_RDWR | O_CREAT);
    if (fd.isOpen() || errno != ENOENT)
        return fd;
    ::mkdir(note.parent_path().c_str(), 0755);
    return openFile(note, O_RDWR | O_CREAT);
}

void writeNote(int note, off_t sizeBefore, std::string_view block) {
    // One call from the start of the note: a kill cuts it at a page boundary, never inside the first line.
    std::string head = std::to_string(sizeBefore) + " " + std::to_string(block.size()) + "\n";
    iovec parts[] = {{head.data(), head.size()}, {const_cast<char*>(block.data()), block.size()}};
    retryOnInterrupt([&] { return ::pwritev(note, parts, 2, 0); });
}

bool readAt(int fd, char* into, std::size_t size, off_t at) {
    while (size > 0) {
        const ssize_t count = retryOnInterrupt([&] { return ::pread(fd, into, size, at); });
        if (count <= 0)
            return false;
        into += count;
        size -= static_cast<std::size_t>(count);
        at += count;
    }
    return true;
}

struct Note {
    off_t sizeBefore = 0;
    off_t length = 0;
    off_t blockAt = 0; // where the block starts in the note
};

std::optional<Note> readNoteHead(int fd) {
    char head[64];
    const ssize_t count = retryOnInterrupt([&] { return ::pread(fd, head, sizeof head, 0); });
    const char* end = count > 0 ? std::find(head, head + count, '\n') : head;
    if (end == head + std::max<ssize_t>(count, 0))
        return std::nullopt;
    Note note;
    const auto size = std::from_chars(head, end, note.sizeBefore);
    if (size.ec != std::errc() || size.ptr == end || *size.ptr != ' ' || note.sizeBefore < 0)
        return std::nullopt;
    const auto length = std::from_chars(size.ptr + 1, end, note.length);
    if (length.ec != std::errc() || length.ptr != end || note.length <= 0 ||
        note.length > std::numeric_limits<off_t>::max() - note.sizeBefore)
        return std::nullopt;
    note.blockAt = end + 1 - head;
    return note;
}

// Called with the file locked: cuts the file back to its size before the noted block when the file ends with
// only the start of that block.
void takeOutUnfinishedBlock(int fd, const std::filesystem::path& file, int noteFd) {
    const std::optional<Note> note = noteFd >= 0 ? readNoteHead(noteFd) : std::nullopt;
    struct stat now {};
    if (!note || ::fstat(fd, &now) != 0 || now.st_size <= note->sizeBefore ||
        now.st_size >= note->sizeBefore + note->length)
        return;
    // The appending descriptor is write-only, so the tail is read through one of its own.
    FileDescriptor reader = openFile(file, O_RDONLY);
    const auto tailSize = static_cast<std::size_t>(now.st_size - note->sizeBefore);
    std::string tail(tailSize, '\0'), noted(tailSize, '\0');
    if (!reader.isOpen() || !readAt(reader.get(), tail.data(), tailSize, note->sizeBefore) ||
        !readAt(noteFd, noted.data(), tailSize, note->blockAt) || tail != noted)
        return;
    if (::ftruncate(fd, note->sizeBefore) == 0)
        syncData(fd);
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
    if (ExclusiveLock lock(fd.get()); lock.locked())
        takeOutUnfinishedBlock(fd.get(), file, openNote(file, false).get());
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
        const ssize_t count = retryOnInterrupt([&] { return ::read(fd.get(), buffer, sizeof buffer); });
        if (count < 0)
            return failure("Could not read", file, errno);
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
    FileDescriptor note = openNote(file, true);
    takeOutUnfinishedBlock(fd.get(), file, note.get());
    struct stat before {};
    if (::fstat(fd.get(), &before) != 0)
        return failure("Could not read the size of", file, errno);
    AppendReceipt receipt{static_cast<std::uintmax_t>(before.st_size), block.size()};
    if (note.isOpen())
        writeNote(note.get(), before.st_size, block);

    const ssize_t written = retryOnInterrupt([&] { return ::write(fd.get(), block.data(), block.size()); });
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
