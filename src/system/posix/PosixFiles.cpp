#include "system/posix/PosixFiles.h"

#include "system/posix/FileDescriptor.h"
#include "system/posix/PosixFailure.h"
#include "system/posix/RetryOnInterrupt.h"
#include "system/shared/FileFailure.h"
#include "system/shared/GroupAppend.h"
#include "system/shared/LineSplitter.h"
#include "system/shared/UnfinishedAppend.h"

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
#include <time.h>
#include <unistd.h>
#include <vector>

namespace kelvrast {
namespace {

Failure failure(FileAction action, const std::filesystem::path& file, int error) {
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

// Opens the file, creating it when missing; made tells whether this call created it. The file is there on every
// append but the first, so it is opened as it is before it is made.
FileDescriptor openOrCreate(SystemCalls& calls, const std::filesystem::path& file, int flags, bool& made) {
    made = false;
    for (;;) {
        FileDescriptor existing = openFile(calls, file, flags);
        if (existing.isOpen() || errno != ENOENT)
            return existing;
        FileDescriptor fd = openFile(calls, file, flags | O_CREAT | O_EXCL);
        made = fd.isOpen();
        // Made by another program between the two calls: open that one.
        if (made || errno != EEXIST)
            return fd;
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
            return failure(FileAction::flushNewFileEntry, file, error);
    return fd;
}

// Every append reads the note's head; without O_NOATIME each read would date the note's inode, and on a file system
// without a journal the note's flush would then write the inode too. Only the note's owner may ask for it.
FileDescriptor openExistingNote(SystemCalls& calls, const std::filesystem::path& note) {
    FileDescriptor fd = openFile(calls, note, O_RDWR | O_NOATIME);
    if (fd.isOpen() || errno != EPERM)
        return fd;
    return openFile(calls, note, O_RDWR);
}

// The note of the file (see system/shared/UnfinishedAppend.h), opened for reading and writing. When create is set, it
// and its folder are made when missing, each entry flushed, so that a power cut cannot lose a note in use.
FileDescriptor openNote(SystemCalls& calls, const std::filesystem::path& file, bool create) {
    const std::filesystem::path note = unfinished::notePath(file);
    FileDescriptor existing = openExistingNote(calls, note);
    if (!create || existing.isOpen() || errno != ENOENT)
        return existing;
    const std::filesystem::path folder = note.parent_path();
    if (retryOnInterrupt([&] { return calls.mkdir(folder.c_str(), privateFolder); }) == 0)
        if (int error = syncFolder(calls, folder.parent_path()); error != 0)
            return FileDescriptor(calls, (errno = error, -1));
    bool made = false;
    FileDescriptor fd = openOrCreate(calls, note, O_RDWR, made);
    if (made)
        if (int error = syncFolder(calls, folder); error != 0)
            return FileDescriptor(calls, (errno = error, -1));
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

std::optional<off_t> sizeOf(SystemCalls& calls, int fd) {
    struct stat now {};
    if (calls.fstat(fd, &now) != 0)
        return std::nullopt;
    return now.st_size;
}

// An answer file open for appending (O_APPEND), under its lock until the object goes.
class PosixLockedFile final : public LockedFile {
public:
    PosixLockedFile(SystemCalls& calls, std::filesystem::path path, FileDescriptor fd)
        : calls_(calls), path_(std::move(path)), fd_(std::move(fd)), lock_(calls, fd_.get()) {}

    const ExclusiveLock& lock() const { return lock_; }

    const std::filesystem::path& path() const override { return path_; }
    Result<std::uint64_t> size() override {
        const std::optional<off_t> size = sizeOf(calls_, fd_.get());
        if (!size)
            return failure(FileAction::readSizeOf, path_, errno);
        return static_cast<std::uint64_t>(*size);
    }
    // The appending descriptor is write-only, so the file is read through one of its own.
    Status readAt(std::uint64_t offset, std::string& into) override {
        FileDescriptor reader = openFile(calls_, path_, O_RDONLY);
        if (!reader.isOpen() || !kelvrast::readAt(calls_, reader.get(), into.data(), into.size(), off_t(offset)))
            return failure(FileAction::read, path_, errno == 0 ? EIO : errno);
        return Status::success();
    }
    Result<std::int64_t> lastWrite() override {
        struct stat now {};
        if (calls_.fstat(fd_.get(), &now) != 0)
            return failure(FileAction::read, path_, errno);
        return std::int64_t{now.st_mtim.tv_sec} * 1'000'000'000 + now.st_mtim.tv_nsec;
    }
    Status append(std::string_view block) override {
        const ssize_t written = retryOnInterrupt([&] { return calls_.write(fd_.get(), block.data(), block.size()); });
        if (written < 0)
            return failure(FileAction::writeTo, path_, errno);
        if (static_cast<std::size_t>(written) < block.size())
            return failure(FileAction::writeTo, path_, ENOSPC);
        return Status::success();
    }
    Status flush() override {
        const int error = syncData(calls_, fd_.get());
        return error == 0 ? Status::success() : failure(FileAction::writeTo, path_, error);
    }
    Status cutTo(std::uint64_t size) override {
        if (retryOnInterrupt([&] { return calls_.ftruncate(fd_.get(), off_t(size)); }) != 0)
            return failure(FileAction::takeBack, path_, errno);
        const int error = syncData(calls_, fd_.get());
        return error == 0 ? Status::success() : failure(FileAction::takeBack, path_, error);
    }

private:
    SystemCalls& calls_;
    std::filesystem::path path_;
    FileDescriptor fd_;
    ExclusiveLock lock_;
};

// The note of an answer file, written in place with pwritev(2) and flushed with fdatasync(2).
class PosixNoteFile final : public NoteFile {
public:
    PosixNoteFile(SystemCalls& calls, std::filesystem::path file, FileDescriptor fd)
        : calls_(calls), file_(std::move(file)), fd_(std::move(fd)) {}

    std::string read(std::size_t most) override {
        std::string bytes;
        char buffer[1 << 16];
        while (bytes.size() < most) {
            const std::size_t wanted = std::min(sizeof buffer, most - bytes.size());
            const ssize_t count =
                retryOnInterrupt([&] { return calls_.pread(fd_.get(), buffer, wanted, off_t(bytes.size())); });
            if (count <= 0)
                break;
            bytes.append(buffer, static_cast<std::size_t>(count));
        }
        return bytes;
    }
    // One call from the start of the note: the head lies in its first sector, which a cut keeps whole or not at all.
    Status writeFromStart(std::string_view bytes) override {
        if (!writeAt(calls_, fd_.get(), {{const_cast<char*>(bytes.data()), bytes.size()}}, 0))
            return failure(FileAction::writeTo, file_, errno == 0 ? EIO : errno);
        const int error = syncData(calls_, fd_.get());
        return error == 0 ? Status::success() : failure(FileAction::writeTo, file_, error);
    }

    std::optional<std::int64_t> lastWrite() override {
        struct stat now {};
        if (calls_.fstat(fd_.get(), &now) != 0)
            return std::nullopt;
        return std::int64_t{now.st_mtim.tv_sec} * 1'000'000'000 + now.st_mtim.tv_nsec;
    }

private:
    SystemCalls& calls_;
    std::filesystem::path file_;
    FileDescriptor fd_;
};

// The answer files and notes of this system, as appendGroup and repairUnfinished take them.
class PosixAppending final : public AppendingSystem {
public:
    explicit PosixAppending(SystemCalls& calls) : calls_(calls) {}

    Result<std::unique_ptr<LockedFile>> openLocked(const std::filesystem::path& file, bool create) override {
        Result<FileDescriptor> opened = create ? openForAppending(calls_, file) : openExisting(file);
        if (!opened.ok())
            return opened.status();
        auto locked = std::make_unique<PosixLockedFile>(calls_, file, std::move(opened.value()));
        if (!locked->lock().locked())
            return failure(FileAction::lock, file, locked->lock().error());
        return std::unique_ptr<LockedFile>(std::move(locked));
    }
    Result<std::unique_ptr<NoteFile>> openNote(const std::filesystem::path& file, bool create) override {
        FileDescriptor note = kelvrast::openNote(calls_, file, create);
        if (!note.isOpen()) {
            if (!create && errno == ENOENT)
                return std::unique_ptr<NoteFile>();
            return failure(FileAction::writeTo, file, errno);
        }
        return std::unique_ptr<NoteFile>(std::make_unique<PosixNoteFile>(calls_, file, std::move(note)));
    }
    // The clock the kernel dates files by.
    std::int64_t now() override {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
    }

private:
    Result<FileDescriptor> openExisting(const std::filesystem::path& file) {
        FileDescriptor fd = openFile(calls_, file, O_WRONLY | O_APPEND);
        if (!fd.isOpen())
            return failure(FileAction::open, file, errno);
        return fd;
    }

    SystemCalls& calls_;
};

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
        return failure(FileAction::flushNewFolderEntry, folder, error);
    return Status::success();
}

bool PosixFiles::exists(const std::filesystem::path& path) {
    FileDescriptor opened = openFile(calls_, path, O_RDONLY | O_DIRECTORY);
    return opened.isOpen() || errno != ENOENT;
}

Status PosixFiles::touch(const std::filesystem::path& file) {
    Result<FileDescriptor> opened = openForAppending(calls_, file);
    if (!opened.ok())
        return opened.status();
    PosixLockedFile locked(calls_, file, std::move(opened.value()));
    PosixAppending appending(calls_);
    return locked.lock().locked() ? repairUnfinished(appending, locked) : Status::success();
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

// Written whole or not at all: a flushed copy beside the file is renamed over it, and the folder flushed, so that a
// power cut leaves the old bytes or the new, never an empty or half-written file.
Status PosixFiles::writeFile(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path copy = file.string() + ".new";
    int error = 0;
    {
        FileDescriptor fd = openFile(calls_, copy, O_WRONLY | O_CREAT | O_TRUNC);
        if (!fd.isOpen())
            return failure(FileAction::open, file, errno);
        if (!writeAll(calls_, fd.get(), bytes))
            error = errno;
        else
            error = syncData(calls_, fd.get());
    }
    if (error == 0 && calls_.rename(copy.c_str(), file.c_str()) != 0)
        error = errno;
    if (error != 0) {
        calls_.unlink(copy.c_str());
        return failure(FileAction::writeTo, file, error);
    }
    if (int synced = syncFolder(calls_, file.parent_path()); synced != 0)
        return failure(FileAction::writeTo, file, synced);
    return Status::success();
}

Result<AppendReceipt> PosixFiles::appendBlock(const std::filesystem::path& file, std::string_view block) {
    PosixAppending appending(calls_);
    Result<std::vector<AppendReceipt>> appended = appendGroup(appending, {{file, std::string(block)}});
    if (!appended.ok())
        return appended.status();
    return appended.value().front();
}

Status PosixFiles::appendBlocks(const std::vector<PendingBlock>& blocks) {
    PosixAppending appending(calls_);
    Result<std::vector<AppendReceipt>> appended = appendGroup(appending, blocks);
    return appended.ok() ? Status::success() : Status(appended.status());
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
