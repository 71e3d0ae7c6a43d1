#include "system/posix/PosixFiles.h"

#include "platform/FileFailure.h"
#include "platform/LineSplitter.h"
#include "platform/UnfinishedAppend.h"
#include "system/posix/FileDescriptor.h"
#include "system/posix/PosixFailure.h"
#include "system/posix/RetryOnInterrupt.h"

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

namespace kelvrast {
namespace {

Status failure(FileAction action, const std::filesystem::path& file, int error) {
    return posixFailure(action, file, error);
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

// What the program makes is for the student's account alone: a file is readable and writable by its owner only,
// a folder usable by its owner only. The umask can take more away, never add.
constexpr mode_t privateFile = S_IRUSR | S_IWUSR;
constexpr mode_t privateFolder = S_IRWXU;
constexpr mode_t othersBits = S_IRWXG | S_IRWXO;

FileDescriptor openFile(const std::filesystem::path& file, int flags) {
    return FileDescriptor(retryOnInterrupt([&] { return ::open(file.c_str(), flags | O_CLOEXEC, privateFile); }));
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

// A new file's entry in its folder is made durable before anything goes into the file, so that a power cut
// cannot lose a file whose blocks were acknowledged: each block's own fdatasync covers the rest.
int syncFolderOf(const std::filesystem::path& file) {
    const std::filesystem::path parent = file.parent_path().empty() ? "." : file.parent_path();
    FileDescriptor folder = openFile(parent, O_RDONLY | O_DIRECTORY);
    if (!folder.isOpen())
        return errno;
    return retryOnInterrupt([&] { return ::fsync(folder.get()); }) == 0 ? 0 : errno;
}

// Opens the file for appending, creating it when missing; made tells whether this call created it.
FileDescriptor openOrCreate(const std::filesystem::path& file, bool& made) {
    made = false;
    for (;;) {
        FileDescriptor fd = openFile(file, O_WRONLY | O_APPEND | O_CREAT | O_EXCL);
        if (fd.isOpen()) {
            made = true;
            return fd;
        }
        if (errno != EEXIST)
            return fd;
        FileDescriptor existing = openFile(file, O_WRONLY | O_APPEND);
        // Removed between the two calls: make it again.
        if (existing.isOpen() || errno != ENOENT)
            return existing;
    }
}

// The file opened for appending, or the failure to show. A file made here has its folder entry made durable first.
Result<FileDescriptor> openForAppending(const std::filesystem::path& file) {
    bool made = false;
    FileDescriptor fd = openOrCreate(file, made);
    if (!fd.isOpen())
        return failure(FileAction::open, file, errno);
    if (made)
        if (int error = syncFolderOf(file); error != 0)
            return failure(FileAction::saveNewFile, file, error);
    return fd;
}

// The note of the file (see platform/UnfinishedAppend.h), opened for reading and writing; when create is set, it
// and its folder are made when missing.
FileDescriptor openNote(const std::filesystem::path& file, bool create) {
    const std::filesystem::path note = unfinished::notePath(file);
    if (!create)
        return openFile(note, O_RDWR);
    FileDescriptor fd = openFile(note, O_RDWR | O_CREAT);
    if (fd.isOpen() || errno != ENOENT)
        return fd;
    ::mkdir(note.parent_path().c_str(), privateFolder);
    return openFile(note, O_RDWR | O_CREAT);
}

void writeNote(int note, off_t sizeBefore, std::string_view block) {
    // One call from the start of the note: a kill cuts it at a page boundary, never inside the first line.
    std::string head = unfinished::noteHead(static_cast<std::uint64_t>(sizeBefore), block.size());
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

// Empties the note and flushes that, so that after a kill or a power cut it cannot describe a block that is
// in the file for good: a later edit that shortens the file would otherwise look like that block cut short.
int retireNote(int note) {
    if (retryOnInterrupt([note] { return ::ftruncate(note, 0); }) != 0)
        return errno;
    return syncData(note);
}

std::optional<unfinished::NoteHead> readNoteHead(int fd) {
    char head[unfinished::longestHead];
    const ssize_t count = retryOnInterrupt([&] { return ::pread(fd, head, sizeof head, 0); });
    if (count <= 0)
        return std::nullopt;
    return unfinished::parseNoteHead(std::string_view(head, static_cast<std::size_t>(count)));
}

// Called with the file locked, so no append is in flight: a note left now is of an append that never returned.
// When the file ends with only the start of the noted block, the file is cut back to its size before the block;
// then the note is retired. A note whose cut failed stays, for the next try.
void takeOutUnfinishedBlock(int fd, const std::filesystem::path& file, int noteFd) {
    struct stat noteStat {};
    if (noteFd < 0 || ::fstat(noteFd, &noteStat) != 0 || noteStat.st_size == 0)
        return;
    const std::optional<unfinished::NoteHead> note = readNoteHead(noteFd);
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return;
    if (note && unfinished::endsInsideBlock(*note, static_cast<std::uint64_t>(now.st_size))) {
        // The appending descriptor is write-only, so the tail is read through one of its own.
        FileDescriptor reader = openFile(file, O_RDONLY);
        const auto sizeBefore = static_cast<off_t>(note->sizeBefore);
        const auto tailSize = static_cast<std::size_t>(now.st_size - sizeBefore);
        std::string tail(tailSize, '\0'), noted(tailSize, '\0');
        if (!reader.isOpen() || !readAt(reader.get(), tail.data(), tailSize, sizeBefore))
            return;
        if (readAt(noteFd, noted.data(), tailSize, static_cast<off_t>(note->blockAt)) && tail == noted &&
            (::ftruncate(fd, sizeBefore) != 0 || syncData(fd) != 0))
            return;
    }
    retireNote(noteFd);
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
        FileDescriptor opened(retryOnInterrupt([&] { return ::openat(folderFd, name.c_str(), flags); }));
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

Status PosixFiles::keepPrivate(const std::filesystem::path& folder) {
    FileDescriptor opened = openFile(folder, O_RDONLY | O_DIRECTORY);
    if (!opened.isOpen())
        return errno == ENOENT ? Status::success() : failure(FileAction::keepPrivate, folder, errno);
    Exposed exposed;
    closeToOthers(opened.get(), folder, exposed);
    closeFilesToOthers(opened.get(), folder, true, exposed);
    return exposed.status();
}

Status PosixFiles::createFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), privateFolder) != 0)
        return failure(FileAction::createFolder, folder, errno);
    // The working folder is made at the first start, and the files made in it are only as durable as its entry.
    if (int error = syncFolderOf(folder); error != 0)
        return failure(FileAction::saveNewFolder, folder, error);
    return Status::success();
}

Status PosixFiles::touch(const std::filesystem::path& file) {
    Result<FileDescriptor> opened = openForAppending(file);
    if (!opened.ok())
        return opened.status();
    const FileDescriptor& fd = opened.value();
    if (ExclusiveLock lock(fd.get()); lock.locked())
        takeOutUnfinishedBlock(fd.get(), file, openNote(file, false).get());
    return Status::success();
}

Status PosixFiles::readLines(const std::filesystem::path& file, const LineSink& sink) {
    FileDescriptor fd = openFile(file, O_RDONLY);
    if (!fd.isOpen())
        return failure(FileAction::open, file, errno);
    LineSplitter lines(sink);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = retryOnInterrupt([&] { return ::read(fd.get(), buffer, sizeof buffer); });
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
    FileDescriptor fd = openFile(file, O_WRONLY | O_CREAT | O_TRUNC);
    if (!fd.isOpen())
        return failure(FileAction::open, file, errno);
    if (!writeAll(fd.get(), bytes))
        return failure(FileAction::writeTo, file, errno);
    return Status::success();
}

Result<AppendReceipt> PosixFiles::appendBlock(const std::filesystem::path& file, std::string_view block) {
    Result<FileDescriptor> opened = openForAppending(file);
    if (!opened.ok())
        return opened.status();
    const FileDescriptor& fd = opened.value();
    ExclusiveLock lock(fd.get());
    if (!lock.locked())
        return failure(FileAction::lock, file, lock.error());
    FileDescriptor note = openNote(file, true);
    takeOutUnfinishedBlock(fd.get(), file, note.get());
    struct stat before {};
    if (::fstat(fd.get(), &before) != 0)
        return failure(FileAction::readSizeOf, file, errno);
    AppendReceipt receipt{static_cast<std::uintmax_t>(before.st_size), block.size()};
    if (note.isOpen())
        writeNote(note.get(), before.st_size, block);

    const ssize_t written = retryOnInterrupt([&] { return ::write(fd.get(), block.data(), block.size()); });
    int error = written < 0 ? errno : (static_cast<std::size_t>(written) < block.size() ? ENOSPC : 0);
    if (error == 0)
        error = syncData(fd.get());
    // The block is in the file for good: the note goes before the append returns, so that it never describes an
    // append that finished.
    if (error == 0 && note.isOpen())
        error = retireNote(note.get());
    if (error != 0) {
        // Whatever part of the block reached the file goes again, so the file holds whole blocks only; the note
        // goes with it, or stays for the next repair when the cut failed.
        const bool cut = written <= 0 || (::ftruncate(fd.get(), before.st_size) == 0 && syncData(fd.get()) == 0);
        if (cut && note.isOpen())
            retireNote(note.get());
        return failure(FileAction::writeTo, file, error);
    }
    return receipt;
}

Status PosixFiles::takeBack(const std::filesystem::path& file, const AppendReceipt& receipt) {
    FileDescriptor fd = openFile(file, O_WRONLY);
    if (!fd.isOpen())
        return failure(FileAction::open, file, errno);
    ExclusiveLock lock(fd.get());
    if (!lock.locked())
        return failure(FileAction::lock, file, lock.error());
    struct stat now {};
    if (::fstat(fd.get(), &now) != 0)
        return failure(FileAction::readSizeOf, file, errno);
    if (static_cast<std::uintmax_t>(now.st_size) != receipt.sizeBefore + receipt.length)
        return fileFailure(FileAction::takeBack, file, FileProblem::changedSinceWritten);
    if (::ftruncate(fd.get(), static_cast<off_t>(receipt.sizeBefore)) != 0)
        return failure(FileAction::takeBack, file, errno);
    if (int error = syncData(fd.get()); error != 0)
        return failure(FileAction::takeBack, file, error);
    return Status::success();
}

} // namespace kelvrast
