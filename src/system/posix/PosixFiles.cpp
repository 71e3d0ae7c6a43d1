#include "system/posix/PosixFiles.h"

#include "platform/FileFailure.h"
#include "platform/LineSplitter.h"
#include "platform/UnfinishedAppend.h"
#include "system/posix/FileDescriptor.h"
#include "system/posix/PosixFailure.h"
#include "system/posix/RetryOnInterrupt.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace kelvrast {
namespace {

Status failure(FileAction action, const std::filesystem::path& file, int error) {
    return posixFailure(action, file, error);
}

// Holds an exclusive lock on an open file until the end of the scope.
class ExclusiveLock {
public:
    ExclusiveLock(SystemCalls& calls, int fd) : calls_(calls), fd_(fd) {
        const int result = retryOnInterrupt([this] { return calls_.flock(fd_, LOCK_EX); });
        locked_ = result == 0;
        error_ = locked_ ? 0 : errno;
    }
    ~ExclusiveLock() {
        if (locked_)
            calls_.flock(fd_, LOCK_UN);
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    bool locked() const { return locked_; }
    int error() const { return error_; }

private:
    SystemCalls& calls_;
    int fd_;
    bool locked_ = false;
    int error_ = 0;
};

// What the program makes is for the student's account alone: a file is readable and writable by its owner only,
// a folder usable by its owner only. The umask can take more away, never add.
constexpr mode_t privateFile = S_IRUSR | S_IWUSR;
constexpr mode_t privateFolder = S_IRWXU;
constexpr mode_t othersBits = S_IRWXG | S_IRWXO;

FileDescriptor openFile(SystemCalls& calls, const std::filesystem::path& file, int flags) {
    return FileDescriptor(calls,
                          retryOnInterrupt([&] { return calls.open(file.c_str(), flags | O_CLOEXEC, privateFile); }));
}

bool writeAll(SystemCalls& calls, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = retryOnInterrupt([&] { return calls.write(fd, bytes.data(), bytes.size()); });
        if (written < 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

int syncData(SystemCalls& calls, int fd) {
    return retryOnInterrupt([&] { return calls.fdatasync(fd); }) == 0 ? 0 : errno;
}

// A new file's or folder's entry is durable only once the folder that holds it is flushed (fsync(2)), so this is
// done whenever the program makes one, before anything relies on it.
int syncFolder(SystemCalls& calls, const std::filesystem::path& folder) {
    FileDescriptor opened = openFile(calls, folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
    if (!opened.isOpen())
        return errno;
    return retryOnInterrupt([&] { return calls.fsync(opened.get()); }) == 0 ? 0 : errno;
}

// Opens the file for appending, creating it when missing; made tells whether this call created it.
FileDescriptor openOrCreate(SystemCalls& calls, const std::filesystem::path& file, int flags, bool& made) {
    made = false;
    for (;;) {
        FileDescriptor fd = openFile(calls, file, flags | O_CREAT | O_EXCL);
        if (fd.isOpen()) {
            made = true;
            return fd;
        }
        if (errno != EEXIST)
            return fd;
        FileDescriptor existing = openFile(calls, file, flags);
        // Removed between the two calls: make it again.
        if (existing.isOpen() || errno != ENOENT)
            return existing;
    }
}

// The file opened for appending, or the failure to show. A file made here has its folder entry made durable first:
// each block's own fdatasync covers the rest.
Result<FileDescriptor> openForAppending(SystemCalls& calls, const std::filesystem::path& file) {
    bool made = false;
    FileDescriptor fd = openOrCreate(calls, file, O_WRONLY | O_APPEND, made);
    if (!fd.isOpen())
        return failure(FileAction::open, file, errno);
    if (made)
        if (int error = syncFolder(calls, file.parent_path()); error != 0)
            return failure(FileAction::saveNewFile, file, error);
    return fd;
}

// The note of the file (see platform/UnfinishedAppend.h), opened for reading and writing. When create is set, it
// and its folder are made when missing, each entry flushed, so that a power cut cannot lose a note in use.
FileDescriptor openNote(SystemCalls& calls, const std::filesystem::path& file, bool create) {
    const std::filesystem::path note = unfinished::notePath(file);
    FileDescriptor existing = openFile(calls, note, O_RDWR);
    if (!create || existing.isOpen() || errno != ENOENT)
        return existing;
    const std::filesystem::path folder = note.parent_path();
    if (retryOnInterrupt([&] { return calls.mkdir(folder.c_str(), privateFolder); }) == 0)
        syncFolder(calls, folder.parent_path());
    bool made = false;
    FileDescriptor fd = openOrCreate(calls, note, O_RDWR, made);
    if (made)
        syncFolder(calls, folder);
    return fd;
}

bool writeAt(SystemCalls& calls, int fd, std::vector<iovec> parts, off_t at) {
    std::size_t left = 0;
    for (const iovec& part : parts)
        left += part.iov_len;
    std::size_t first = 0;
    while (left > 0) {
        const ssize_t count = retryOnInterrupt(
            [&] { return calls.pwritev(fd, parts.data() + first, static_cast<int>(parts.size() - first), at); });
        if (count <= 0)
            return false;
        left -= static_cast<std::size_t>(count);
        at += count;
        for (auto done = static_cast<std::size_t>(count); done > 0;) {
            const std::size_t taken = std::min(done, parts[first].iov_len);
            parts[first].iov_base = static_cast<char*>(parts[first].iov_base) + taken;
            parts[first].iov_len -= taken;
            done -= taken;
            if (parts[first].iov_len == 0)
                ++first;
        }
    }
    return true;
}

// Step 1 of an append: the note, over the old one in place, flushed before the block goes in.
void writeNote(SystemCalls& calls, int note, off_t sizeBefore, std::string_view block) {
    // One call from the start of the note: the head lies in its first sector, which a cut keeps whole or not at all.
    std::string head = unfinished::noteHead(static_cast<std::uint64_t>(sizeBefore), block.size());
    if (writeAt(calls, note, {{head.data(), head.size()}, {const_cast<char*>(block.data()), block.size()}}, 0))
        syncData(calls, note);
}

// Step 3: the head's form overwritten in place and flushed, so that after a kill or a power cut the note cannot
// describe a block that is in the file for good: a later edit that shortens the file would otherwise look like
// that block cut short. The note keeps its size, so the flush has no new size to commit.
int retireNote(SystemCalls& calls, int note) {
    std::string retired(unfinished::retiredForm);
    if (!writeAt(calls, note, {{retired.data(), retired.size()}}, 0))
        return errno == 0 ? EIO : errno;
    return syncData(calls, note);
}

bool readAt(SystemCalls& calls, int fd, char* into, std::size_t size, off_t at) {
    while (size > 0) {
        const ssize_t count = retryOnInterrupt([&] { return calls.pread(fd, into, size, at); });
        if (count <= 0)
            return false;
        into += count;
        size -= static_cast<std::size_t>(count);
        at += count;
    }
    return true;
}

std::optional<unfinished::NoteHead> readNoteHead(SystemCalls& calls, int fd) {
    char head[unfinished::longestHead];
    const ssize_t count = retryOnInterrupt([&] { return calls.pread(fd, head, sizeof head, 0); });
    if (count <= 0)
        return std::nullopt;
    return unfinished::parseNoteHead(std::string_view(head, static_cast<std::size_t>(count)));
}

std::optional<off_t> sizeOf(SystemCalls& calls, int fd) {
    struct stat now {};
    if (calls.fstat(fd, &now) != 0)
        return std::nullopt;
    return now.st_size;
}

// Called with the file locked, so no append is in flight: a live note now is of an append that never returned.
// When the file's tail is what that append can have left (see unfinished::isUnfinishedTail), the file is cut back
// to its size before the block and the cut flushed; then the note is retired. A note whose cut failed stays, for
// the next try.
void takeOutUnfinishedBlock(SystemCalls& calls, int fd, const std::filesystem::path& file, int noteFd) {
    if (noteFd < 0)
        return;
    const std::optional<unfinished::NoteHead> note = readNoteHead(calls, noteFd);
    const std::optional<off_t> size = sizeOf(calls, fd);
    if (!note || !size)
        return;
    const auto sizeBefore = static_cast<off_t>(note->sizeBefore);
    if (*size > sizeBefore && static_cast<std::uint64_t>(*size - sizeBefore) <= note->length) {
        // The appending descriptor is write-only, so the tail is read through one of its own.
        FileDescriptor reader = openFile(calls, file, O_RDONLY);
        const auto tailSize = static_cast<std::size_t>(*size - sizeBefore);
        std::string tail(tailSize, '\0'), noted(tailSize, '\0');
        if (!reader.isOpen() || !readAt(calls, reader.get(), tail.data(), tailSize, sizeBefore) ||
            !readAt(calls, noteFd, noted.data(), tailSize, static_cast<off_t>(note->blockAt)))
            return;
        if (unfinished::isUnfinishedTail(*note, tail, noted) &&
            (retryOnInterrupt([&] { return calls.ftruncate(fd, sizeBefore); }) != 0 || syncData(calls, fd) != 0))
            return;
    }
    retireNote(calls, noteFd);
}

// The failures of keepPrivate, gathered into one message.
class Exposed {
public:
    void add(const Status& failure) {
        if (!message_.empty())
            message_ += u"\n";
        message_ += failure.message();
    }
    Status status() const { return message_.empty() ? Status::success() : Status::failure(message_); }

private:
    std::u16string message_;
};

// Takes every permission for others away from an open file or folder that the student owns; one that belongs to
// another account is left as it is and named.
void closeToOthers(int fd, const std::filesystem::path& path, Exposed& exposed) {
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return exposed.add(failure(FileAction::keepPrivate, path, errno));
    if (now.st_uid != ::geteuid())
        return exposed.add(fileFailure(FileAction::keepPrivate, path, FileProblem::ownedByOther));
    if ((now.st_mode & othersBits) != 0 && ::fchmod(fd, now.st_mode & 07777 & ~othersBits) != 0)
        exposed.add(failure(FileAction::keepPrivate, path, errno));
}

// Closes the files in an open folder to others, and with notes set the notes' folder and its files too. Links
// are not followed: what they lead to is not the program's.
void closeFilesToOthers(int folderFd, const std::filesystem::path& folder, bool notes, Exposed& exposed) {
    const int listed = ::dup(folderFd);
    DIR* entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!entries) {
        if (listed >= 0)
            ::close(listed);
        return exposed.add(failure(FileAction::keepPrivate, folder, errno));
    }
    const std::string noteFolder = unfinished::noteFolder(folder).filename().string();
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        struct stat seen {};
        if (name == "." || name == ".." || ::fstatat(folderFd, name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const bool isNotes = notes && S_ISDIR(seen.st_mode) && name == noteFolder;
        if (!S_ISREG(seen.st_mode) && !isNotes)
            continue;
        const std::filesystem::path path = folder / name;
        if (seen.st_uid != ::geteuid()) {
            exposed.add(fileFailure(FileAction::keepPrivate, path, FileProblem::ownedByOther));
            continue;
        }
        if ((seen.st_mode & othersBits) == 0 && !isNotes)
            continue;
        const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (isNotes ? O_DIRECTORY : 0);
        FileDescriptor opened(kernelCalls(), retryOnInterrupt([&] { return ::openat(folderFd, name.c_str(), flags); }));
        if (!opened.isOpen()) {
            exposed.add(failure(FileAction::keepPrivate, path, errno));
            continue;
        }
        closeToOthers(opened.get(), path, exposed);
        if (isNotes)
            closeFilesToOthers(opened.get(), path, false, exposed);
    }
    ::closedir(entries);
}

} // namespace

// Permissions are the kernel's business alone: the listing and fchmod go to it directly.
Status PosixFiles::keepPrivate(const std::filesystem::path& folder) {
    FileDescriptor opened = openFile(kernelCalls(), folder, O_RDONLY | O_DIRECTORY);
    if (!opened.isOpen())
        return errno == ENOENT ? Status::success() : failure(FileAction::keepPrivate, folder, errno);
    Exposed exposed;
    closeToOthers(opened.get(), folder, exposed);
    closeFilesToOthers(opened.get(), folder, true, exposed);
    return exposed.status();
}

PosixFiles::PosixFiles() : calls_(kernelCalls()) {}

PosixFiles::PosixFiles(SystemCalls& calls) : calls_(calls) {}

Status PosixFiles::createFolder(const std::filesystem::path& folder) {
    if (calls_.mkdir(folder.c_str(), privateFolder) != 0)
        return failure(FileAction::createFolder, folder, errno);
    // The working folder is made at the first start, and the files made in it are only as durable as its entry.
    if (int error = syncFolder(calls_, folder.parent_path()); error != 0)
        return failure(FileAction::saveNewFolder, folder, error);
    return Status::success();
}

Status PosixFiles::touch(const std::filesystem::path& file) {
    Result<FileDescriptor> opened = openForAppending(calls_, file);
    if (!opened.ok())
        return opened.status();
    const FileDescriptor& fd = opened.value();
    if (ExclusiveLock lock(calls_, fd.get()); lock.locked())
        takeOutUnfinishedBlock(calls_, fd.get(), file, openNote(calls_, file, false).get());
    return Status::success();
}

Status PosixFiles::readLines(const std::filesystem::path& file, const LineSink& sink) {
    FileDescriptor fd = openFile(calls_, file, O_RDONLY);
    if (!fd.isOpen())
        return failure(FileAction::open, file, errno);
    LineSplitter lines(sink);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = retryOnInterrupt([&] { return calls_.read(fd.get(), buffer, sizeof buffer); });
        if (count < 0)
            return failure(FileAction::read, file, errno);
        if (count == 0)
            break;
        lines.feed(std::string_view(buffer, static_cast<std::size_t>(count)));
    }
    lines.finish();
    return Status::success();
}

Status PosixFiles::writeFile(const std::filesystem::path& file, std::string_view bytes) {
    FileDescriptor fd = openFile(calls_, file, O_WRONLY | O_CREAT | O_TRUNC);
    if (!fd.isOpen())
        return failure(FileAction::open, file, errno);
    if (!writeAll(calls_, fd.get(), bytes))
        return failure(FileAction::writeTo, file, errno);
    return Status::success();
}

// The order of writes and flushes is that of platform/UnfinishedAppend.h: note, block, note retired, each
// flushed before the next; the append is acknowledged only after the last.
Result<AppendReceipt> PosixFiles::appendBlock(const std::filesystem::path& file, std::string_view block) {
    Result<FileDescriptor> opened = openForAppending(calls_, file);
    if (!opened.ok())
        return opened.status();
    const FileDescriptor& fd = opened.value();
    ExclusiveLock lock(calls_, fd.get());
    if (!lock.locked())
        return failure(FileAction::lock, file, lock.error());
    FileDescriptor note = openNote(calls_, file, true);
    takeOutUnfinishedBlock(calls_, fd.get(), file, note.get());
    const std::optional<off_t> before = sizeOf(calls_, fd.get());
    if (!before)
        return failure(FileAction::readSizeOf, file, errno);
    AppendReceipt receipt{static_cast<std::uintmax_t>(*before), block.size(), std::string(block)};
    if (note.isOpen())
        writeNote(calls_, note.get(), *before, block);

    const ssize_t written = retryOnInterrupt([&] { return calls_.write(fd.get(), block.data(), block.size()); });
    int error = written < 0 ? errno : (static_cast<std::size_t>(written) < block.size() ? ENOSPC : 0);
    if (error == 0)
        error = syncData(calls_, fd.get());
    if (error == 0 && note.isOpen())
        error = retireNote(calls_, note.get());
    if (error != 0) {
        // Whatever part of the block reached the file goes again, so the file holds whole blocks only; the note
        // goes with it, or stays for the next repair when the cut failed.
        const bool cut = written <= 0 || (retryOnInterrupt([&] { return calls_.ftruncate(fd.get(), *before); }) == 0 &&
                                          syncData(calls_, fd.get()) == 0);
        if (cut && note.isOpen())
            retireNote(calls_, note.get());
        return failure(FileAction::writeTo, file, error);
    }
    return receipt;
}

Status PosixFiles::takeBack(const std::filesystem::path& file, const AppendReceipt& receipt) {
    FileDescriptor fd = openFile(calls_, file, O_RDWR);
    if (!fd.isOpen())
        return failure(FileAction::open, file, errno);
    ExclusiveLock lock(calls_, fd.get());
    if (!lock.locked())
        return failure(FileAction::lock, file, lock.error());
    const std::optional<off_t> size = sizeOf(calls_, fd.get());
    if (!size)
        return failure(FileAction::readSizeOf, file, errno);
    // The size alone would also match a file whose block an editor changed in place.
    std::string tail(receipt.block.size(), '\0');
    if (static_cast<std::uintmax_t>(*size) != receipt.sizeBefore + receipt.length ||
        !readAt(calls_, fd.get(), tail.data(), tail.size(), static_cast<off_t>(receipt.sizeBefore)) ||
        tail != receipt.block)
        return fileFailure(FileAction::takeBack, file, FileProblem::changedSinceWritten);
    if (retryOnInterrupt([&] { return calls_.ftruncate(fd.get(), static_cast<off_t>(receipt.sizeBefore)); }) != 0)
        return failure(FileAction::takeBack, file, errno);
    if (int error = syncData(calls_, fd.get()); error != 0)
        return failure(FileAction::takeBack, file, error);
    return Status::success();
}

} // namespace kelvrast
