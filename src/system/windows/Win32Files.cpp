#include "system/windows/Win32Files.h"

#include "system/shared/GroupAppend.h"
#include "system/shared/LineSplitter.h"
#include "system/shared/UnfinishedAppend.h"
#include "system/windows/PrivateSecurity.h"
#include "system/windows/Win32Calls.h"
#include "system/windows/Win32Error.h"
#include "system/windows/Win32Handle.h"
#include "text/MessageText.h"

#include <windows.h>

#include <functional>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace kelvrast {
namespace {

// Other programs may read and append while we hold a file open, as on POSIX.
constexpr DWORD shareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
// Appending handles write at the end of the file whatever their position. LockFileEx needs read or write access
// besides, the repair of an unfinished block reads the file's tail through the same handle, and the file's owner
// is read through it too.
constexpr DWORD appendAccess = FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE;
// Cutting a file back needs write access; FILE_APPEND_DATA alone does not give it.
constexpr DWORD cutAccess = GENERIC_READ | GENERIC_WRITE;

// A file that the call makes gets the student's own security descriptor; Windows ignores it for one that exists.
Win32Handle openFile(Win32Calls& calls, const std::filesystem::path& file, DWORD access, DWORD disposition) {
    auto* security = const_cast<SECURITY_ATTRIBUTES*>(privateFileSecurity());
    return Win32Handle(
        calls.createFile(file.c_str(), access, shareReadWrite, security, disposition, FILE_ATTRIBUTE_NORMAL, nullptr),
        calls);
}

// Every account makes its files in the same folders, so a folder the program makes is shared that way.
bool makeSharedFolder(Win32Calls& calls, const std::filesystem::path& folder, const SECURITY_ATTRIBUTES* security) {
    return calls.createDirectory(folder.c_str(), const_cast<SECURITY_ATTRIBUTES*>(security));
}

using OwnFiles = KnownOwners;

// The owner of the open file, as the bytes of its SID; empty when it cannot be read.
std::vector<unsigned char> ownerOf(Win32Calls& calls, HANDLE file) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (calls.getSecurityInfo(file, OWNER_SECURITY_INFORMATION, &owner, nullptr, &descriptor) != ERROR_SUCCESS)
        return {};
    std::vector<unsigned char> sid;
    if (owner && ::IsValidSid(owner)) {
        const auto* bytes = static_cast<const unsigned char*>(owner);
        sid.assign(bytes, bytes + ::GetLengthSid(owner));
    }
    ::LocalFree(descriptor);
    return sid;
}

// A file server that keeps accounts of its own (Samba without a domain, many NAS) gives what this account makes an
// owner of the server's, not the account's SID. So the owner a file made here gets is learnt once per folder, from a
// file made and gone at once. On NTFS it is the account itself, which is trusted anyway.
const std::vector<unsigned char>& ownerOfWhatWeMake(Win32Calls& calls, const std::filesystem::path& folder,
                                                    OwnFiles& own) {
    if (const auto known = own.madeOwner.find(folder); known != own.madeOwner.end())
        return known->second;
    const std::filesystem::path probe = folder / (L".kelvrast-owner-" + std::to_wstring(::GetCurrentProcessId()));
    Win32Handle made(calls.createFile(probe.c_str(), READ_CONTROL | DELETE, shareReadWrite | FILE_SHARE_DELETE,
                                      const_cast<SECURITY_ATTRIBUTES*>(privateFileSecurity()), CREATE_NEW,
                                      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                      nullptr),
                     calls);
    return own.madeOwner[folder] = made.isOpen() ? ownerOf(calls, made.get()) : std::vector<unsigned char>();
}

// Whether the open file's owner is one whose file the student may write into: a trusted account (isTrustedOwner),
// or the owner the file server gives what this account makes.
bool ownedByTrusted(Win32Calls& calls, HANDLE file, const std::filesystem::path& path, OwnFiles& own) {
    std::vector<unsigned char> owner = ownerOf(calls, file);
    if (owner.empty())
        return false;
    if (isTrustedOwner(owner.data()))
        return true;
    const std::vector<unsigned char>& ours = ownerOfWhatWeMake(calls, path.parent_path(), own);
    return !ours.empty() && ::EqualSid(owner.data(), const_cast<unsigned char*>(ours.data()));
}

// Passes what was just opened unless it existed before and another account owns it: then it is closed, and the
// last error says so. What this open made, and what the run has already found to be the student's, is not asked
// about again: no other account can take away or replace a file the student owns. Keeps the open's last error.
Win32Handle unlessAnothers(Win32Calls& calls, Win32Handle opened, bool made, const std::filesystem::path& file,
                           OwnFiles& own) {
    if (!opened.isOpen())
        return opened;
    const DWORD openError = ::GetLastError();
    if (made || own.ownFiles.contains(file) || ownedByTrusted(calls, opened.get(), file, own)) {
        own.ownFiles.insert(file);
        ::SetLastError(openError);
        return opened;
    }
    { const Win32Handle refused = std::move(opened); }
    ::SetLastError(errorMadeByAnotherAccount);
    return Win32Handle(INVALID_HANDLE_VALUE, calls);
}

// The lock orders the programs that append to a file. Windows' byte-range locks are mandatory, so a lock over
// the file's bytes would make every other program's read of them fail while a block goes in; the lock is taken on
// one byte far past any answer file's end instead, which Windows allows, and readers are never kept waiting.
class ExclusiveLock {
public:
    ExclusiveLock(Win32Calls& calls, HANDLE file) : calls_(calls), file_(file) {
        OVERLAPPED lockByte = place();
        locked_ = calls_.lockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lockByte);
        error_ = locked_ ? ERROR_SUCCESS : ::GetLastError();
    }
    ~ExclusiveLock() {
        if (locked_) {
            OVERLAPPED lockByte = place();
            calls_.unlockFileEx(file_, 0, 1, 0, &lockByte);
        }
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    bool locked() const { return locked_; }
    DWORD error() const { return error_; }

private:
    // The one byte locked, far past the end of any answer file.
    static OVERLAPPED place() {
        OVERLAPPED lockByte{};
        lockByte.Offset = 0xFFFFFFFE;
        lockByte.OffsetHigh = 0x7FFFFFFF;
        return lockByte;
    }

    Win32Calls& calls_;
    HANDLE file_;
    bool locked_ = false;
    DWORD error_ = ERROR_SUCCESS;
};

// A file time, in 100 ns since 1601, in nanoseconds since 1970.
std::int64_t sinceUnixEpoch(const FILETIME& time) {
    const auto ticks = static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
    return (ticks - 116'444'736'000'000'000) * 100;
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return position;
}

std::optional<std::uint64_t> sizeOf(Win32Calls& calls, HANDLE file) {
    LARGE_INTEGER size;
    if (!calls.getFileSizeEx(file, &size))
        return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool readAt(Win32Calls& calls, HANDLE file, char* into, std::size_t size, std::uint64_t offset) {
    while (size > 0) {
        OVERLAPPED position = at(offset);
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1 << 20));
        DWORD count = 0;
        if (!calls.readFile(file, into, wanted, &count, &position) || count == 0)
            return false;
        into += count;
        size -= count;
        offset += count;
    }
    return true;
}

bool writeAll(Win32Calls& calls, HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
        DWORD written = 0;
        if (!calls.writeFile(file, bytes.data(), wanted, &written, nullptr))
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Opens the file, trying again for a moment while another program holds it (below).
Win32Handle openPatiently(Win32Calls& calls, const std::function<void()>& waitWhileHeld,
                          const std::filesystem::path& file, DWORD access, DWORD disposition);

// Cuts the file back to size through a handle of its own, and flushes the cut to the device.
DWORD cutBack(Win32Calls& calls, const std::function<void()>& waitWhileHeld, const std::filesystem::path& file,
              std::uint64_t size) {
    Win32Handle writer = openPatiently(calls, waitWhileHeld, file, cutAccess, OPEN_EXISTING);
    if (!writer.isOpen())
        return ::GetLastError();
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!calls.setFileInformationByHandle(writer.get(), FileEndOfFileInfo, &end, sizeof end) ||
        !calls.flushFileBuffers(writer.get()))
        return ::GetLastError();
    return ERROR_SUCCESS;
}

// What the program relies on from Windows and NTFS after a power cut (Microsoft's documentation of
// FlushFileBuffers, of CreateFile's FILE_FLAG_WRITE_THROUGH, of NTFS recoverability, and the file system algorithms
// of [MS-FSA] 2.1.5.7, "Server Requests Flushing Cached Data"):
// - FlushFileBuffers writes the file's buffered data and its metadata to the device and asks the device to flush
//   its own cache; a write not followed by it may be lost, whole or in part.
// - NTFS logs its metadata (entries, sizes) so that the volume comes back consistent, but not file data: a file
//   may come back longer, with zeros where its unflushed bytes were to be.
// - A flush of a file, or of a folder through a handle of its own, flushes the file system metadata of what it is
//   flushed through, and "ensures that the directory structure is persisted to stable storage". A folder's handle
//   may flush with FILE_ADD_FILE or FILE_ADD_SUBDIRECTORY access; a standard account has neither on c:\, so the
//   entry of a new c:\kelvrast is made durable by the flush of c:\kelvrast itself.
// So whatever the program makes is flushed through its own handle before it is used, and the folder that holds it
// too where the account may open it so; a failure of either fails what made it, as on Linux.
constexpr DWORD folderFlushAccess = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | SYNCHRONIZE;

// Flushes the folder through a handle of its own. ERROR_ACCESS_DENIED when the account may not open it to do so.
DWORD flushFolder(Win32Calls& calls, const std::filesystem::path& folder) {
    Win32Handle handle(calls.createFile(folder.c_str(), folderFlushAccess, shareReadWrite, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr),
                       calls);
    if (!handle.isOpen())
        return ::GetLastError();
    return calls.flushFileBuffers(handle.get()) ? ERROR_SUCCESS : ::GetLastError();
}

// The folder that holds what was just made, flushed where the account may; the made thing's own flush covers it
// where it may not.
DWORD flushFolderOf(Win32Calls& calls, const std::filesystem::path& made) {
    const DWORD error = flushFolder(calls, made.parent_path());
    return error == ERROR_ACCESS_DENIED ? ERROR_SUCCESS : error;
}

// A file just made, flushed through its handle and in its folder; the error when it cannot be.
DWORD flushMadeFile(Win32Calls& calls, HANDLE opened, const std::filesystem::path& file) {
    if (!calls.flushFileBuffers(opened))
        return ::GetLastError();
    return flushFolderOf(calls, file);
}

// A folder just made, flushed itself and in its folder; the error when it cannot be.
DWORD flushMadeFolder(Win32Calls& calls, const std::filesystem::path& folder) {
    if (const DWORD error = flushFolder(calls, folder); error != ERROR_SUCCESS)
        return error;
    return flushFolderOf(calls, folder);
}

// A note that opening it has just made is flushed with its entry in the folder before it is used, so that a power
// cut cannot take it away while it describes an append. Called right after the open, whose error it reads.
Win32Handle flushedIfMade(Win32Calls& calls, Win32Handle opened, const std::filesystem::path& note) {
    if (opened.isOpen() && ::GetLastError() != ERROR_ALREADY_EXISTS)
        if (const DWORD error = flushMadeFile(calls, opened.get(), note); error != ERROR_SUCCESS) {
            ::SetLastError(error);
            return Win32Handle(INVALID_HANDLE_VALUE, calls);
        }
    return opened;
}

// The note, opened for reading and writing and made when missing, unless another account made it.
Win32Handle openOrMakeNote(Win32Calls& calls, const std::function<void()>& waitWhileHeld,
                           const std::filesystem::path& note, OwnFiles& own) {
    Win32Handle opened = openPatiently(calls, waitWhileHeld, note, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    const bool made = opened.isOpen() && ::GetLastError() != ERROR_ALREADY_EXISTS;
    return unlessAnothers(calls, flushedIfMade(calls, std::move(opened), note), made, note, own);
}

// The note of the file, opened for reading and writing; when create is set, it and its folder are made when
// missing.
// On Windows a name that begins with a dot does not hide a folder, so the notes' folder is marked hidden: a
// student browsing the working folder for the SEND file finds the answer files and nothing that looks like one.
Win32Handle openNote(Win32Calls& calls, const std::function<void()>& waitWhileHeld, const std::filesystem::path& file,
                     bool create, OwnFiles& own) {
    const std::filesystem::path note = unfinished::notePath(file);
    if (!create)
        return unlessAnothers(calls,
                              openPatiently(calls, waitWhileHeld, note, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING),
                              false, note, own);
    Win32Handle opened = openOrMakeNote(calls, waitWhileHeld, note, own);
    if (opened.isOpen() || ::GetLastError() != ERROR_PATH_NOT_FOUND)
        return opened;
    const std::filesystem::path folder = note.parent_path();
    if (makeSharedFolder(calls, folder, noteFolderSecurity())) {
        calls.setFileAttributes(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
        if (const DWORD error = flushMadeFolder(calls, folder); error != ERROR_SUCCESS) {
            ::SetLastError(error);
            return Win32Handle(INVALID_HANDLE_VALUE, calls);
        }
    }
    return openOrMakeNote(calls, waitWhileHeld, note, own);
}

// Virus scanners, backup, sync and indexing tools open a file without sharing it for a moment, and the next open
// fails with a sharing or lock violation. Such a file is tried again for about a second, as SQLite does on Windows
// for the same reason, before the failure goes to the student; a file held for long (an editor keeping it open)
// still gives the message after that second. The last error is that of the last try.
constexpr int triesWhileHeld = 20;

Win32Handle openPatiently(Win32Calls& calls, const std::function<void()>& waitWhileHeld,
                          const std::filesystem::path& file, DWORD access, DWORD disposition) {
    for (int tried = 1;; ++tried) {
        Win32Handle opened = openFile(calls, file, access, disposition);
        const DWORD error = ::GetLastError();
        if (opened.isOpen() || (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) ||
            tried == triesWhileHeld) {
            ::SetLastError(error);
            return opened;
        }
        waitWhileHeld();
    }
}

// Opens the file for appending, creating it when missing, or gives the failure to show; a file that another account
// made is refused. A file made here has its entry in the folder flushed before anything goes into it; each block's
// own flush covers the rest.
Result<Win32Handle> openForAppending(Win32Calls& calls, const std::function<void()>& waitWhileHeld,
                                     const std::filesystem::path& file, OwnFiles& own) {
    Win32Handle opened = openPatiently(calls, waitWhileHeld, file, appendAccess, OPEN_ALWAYS);
    if (!opened.isOpen())
        return win32Failure(FileAction::open, file, ::GetLastError());
    const bool made = ::GetLastError() != ERROR_ALREADY_EXISTS;
    if (made)
        if (const DWORD error = flushMadeFile(calls, opened.get(), file); error != ERROR_SUCCESS)
            return win32Failure(FileAction::flushNewFileEntry, file, error);
    Win32Handle checked = unlessAnothers(calls, std::move(opened), made, file, own);
    if (!checked.isOpen())
        return win32Failure(FileAction::open, file, ::GetLastError());
    return checked;
}

// An answer file open for appending, under its lock until the object goes.
class Win32LockedFile final : public LockedFile {
public:
    Win32LockedFile(Win32Calls& calls, const std::function<void()>& waitWhileHeld, std::filesystem::path path,
                    Win32Handle handle)
        : calls_(calls), waitWhileHeld_(waitWhileHeld), path_(std::move(path)), handle_(std::move(handle)),
          lock_(calls, handle_.get()) {}

    const ExclusiveLock& lock() const { return lock_; }

    const std::filesystem::path& path() const override { return path_; }
    Result<std::uint64_t> size() override {
        const std::optional<std::uint64_t> size = sizeOf(calls_, handle_.get());
        if (!size)
            return win32Failure(FileAction::readSizeOf, path_, ::GetLastError());
        return *size;
    }
    Status readAt(std::uint64_t offset, std::string& into) override {
        if (!kelvrast::readAt(calls_, handle_.get(), into.data(), into.size(), offset))
            return win32Failure(FileAction::read, path_, ::GetLastError());
        return Status::success();
    }
    Result<std::int64_t> lastWrite() override {
        FILETIME written{};
        if (!calls_.getFileTime(handle_.get(), nullptr, nullptr, &written))
            return win32Failure(FileAction::read, path_, ::GetLastError());
        return sinceUnixEpoch(written);
    }
    Status append(std::string_view block) override {
        if (block.size() > std::numeric_limits<DWORD>::max())
            return fileFailure(FileAction::writeTo, path_, FileProblem::recordTooLong);
        DWORD written = 0;
        if (!calls_.writeFile(handle_.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr))
            return win32Failure(FileAction::writeTo, path_, ::GetLastError());
        if (written < block.size())
            return win32Failure(FileAction::writeTo, path_, ERROR_DISK_FULL);
        return Status::success();
    }
    Status flush() override {
        if (!calls_.flushFileBuffers(handle_.get()))
            return win32Failure(FileAction::writeTo, path_, ::GetLastError());
        return Status::success();
    }
    Status cutTo(std::uint64_t size) override {
        const DWORD error = cutBack(calls_, waitWhileHeld_, path_, size);
        return error == ERROR_SUCCESS ? Status::success() : win32Failure(FileAction::takeBack, path_, error);
    }

private:
    Win32Calls& calls_;
    const std::function<void()>& waitWhileHeld_;
    std::filesystem::path path_;
    Win32Handle handle_;
    ExclusiveLock lock_;
};

// The note of an answer file, written in place and flushed with FlushFileBuffers.
class Win32NoteFile final : public NoteFile {
public:
    Win32NoteFile(Win32Calls& calls, std::filesystem::path file, Win32Handle handle)
        : calls_(calls), file_(std::move(file)), handle_(std::move(handle)) {}

    std::string read(std::size_t most) override {
        std::string bytes;
        std::string buffer(std::min<std::size_t>(most, 1 << 16), '\0');
        while (bytes.size() < most) {
            OVERLAPPED position = at(bytes.size());
            const auto wanted = static_cast<DWORD>(std::min(buffer.size(), most - bytes.size()));
            DWORD count = 0;
            if (!calls_.readFile(handle_.get(), buffer.data(), wanted, &count, &position) || count == 0)
                break;
            bytes.append(buffer.data(), count);
        }
        return bytes;
    }
    // One call from the start of the note: the head lies in its first sector, which a cut keeps whole or not at all.
    Status writeFromStart(std::string_view bytes) override {
        if (bytes.size() > std::numeric_limits<DWORD>::max())
            return fileFailure(FileAction::writeTo, file_, FileProblem::recordTooLong);
        OVERLAPPED start = at(0);
        DWORD written = 0;
        if (!calls_.writeFile(handle_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, &start))
            return win32Failure(FileAction::writeTo, file_, ::GetLastError());
        if (written != bytes.size())
            return win32Failure(FileAction::writeTo, file_, ERROR_WRITE_FAULT);
        if (!calls_.flushFileBuffers(handle_.get()))
            return win32Failure(FileAction::writeTo, file_, ::GetLastError());
        return Status::success();
    }

    std::optional<std::int64_t> lastWrite() override {
        FILETIME written{};
        if (!calls_.getFileTime(handle_.get(), nullptr, nullptr, &written))
            return std::nullopt;
        return sinceUnixEpoch(written);
    }

private:
    Win32Calls& calls_;
    std::filesystem::path file_;
    Win32Handle handle_;
};

// The answer files and notes of this system, as appendGroup and repairUnfinished take them; a file another program
// holds for a moment is waited for, as everywhere else.
class Win32Appending final : public AppendingSystem {
public:
    Win32Appending(Win32Calls& calls, const std::function<void()>& waitWhileHeld, OwnFiles& own)
        : calls_(calls), waitWhileHeld_(waitWhileHeld), own_(own) {}

    Result<std::unique_ptr<LockedFile>> openLocked(const std::filesystem::path& file, bool create) override {
        Result<Win32Handle> opened =
            create
                ? openForAppending(calls_, waitWhileHeld_, file, own_)
                : openExisting(unlessAnothers(calls_,
                                              openPatiently(calls_, waitWhileHeld_, file, appendAccess, OPEN_EXISTING),
                                              false, file, own_),
                               file);
        if (!opened.ok())
            return opened.status();
        auto locked = std::make_unique<Win32LockedFile>(calls_, waitWhileHeld_, file, std::move(opened.value()));
        if (!locked->lock().locked())
            return win32Failure(FileAction::lock, file, locked->lock().error());
        return std::unique_ptr<LockedFile>(std::move(locked));
    }
    Result<std::unique_ptr<NoteFile>> openNote(const std::filesystem::path& file, bool create) override {
        Win32Handle note = kelvrast::openNote(calls_, waitWhileHeld_, file, create, own_);
        if (!note.isOpen()) {
            const DWORD error = ::GetLastError();
            if (!create && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND))
                return std::unique_ptr<NoteFile>();
            // A note another account made is named itself: that is the file to remove.
            return win32Failure(FileAction::writeTo,
                                error == errorMadeByAnotherAccount ? unfinished::notePath(file) : file, error);
        }
        return std::unique_ptr<NoteFile>(std::make_unique<Win32NoteFile>(calls_, file, std::move(note)));
    }
    // The clock NTFS dates files by.
    std::int64_t now() override {
        FILETIME now{};
        ::GetSystemTimeAsFileTime(&now);
        return sinceUnixEpoch(now);
    }

private:
    static Result<Win32Handle> openExisting(Win32Handle opened, const std::filesystem::path& file) {
        if (!opened.isOpen())
            return win32Failure(FileAction::open, file, ::GetLastError());
        return opened;
    }

    Win32Calls& calls_;
    const std::function<void()>& waitWhileHeld_;
    OwnFiles& own_;
};

} // namespace

Win32Files::Win32Files() : Win32Files(windowsCalls()) {}

Win32Files::Win32Files(Win32Calls& calls) : Win32Files(calls, [] { ::Sleep(1000 / triesWhileHeld); }) {}

Win32Files::Win32Files(std::function<void()> waitWhileHeld) : Win32Files(windowsCalls(), std::move(waitWhileHeld)) {}

Win32Files::Win32Files(Win32Calls& calls, std::function<void()> waitWhileHeld)
    : calls_(calls), waitWhileHeld_(std::move(waitWhileHeld)) {}

Status Win32Files::createFolder(const std::filesystem::path& folder) {
    if (!makeSharedFolder(calls_, folder, workingFolderSecurity()))
        return win32Failure(FileAction::createFolder, folder, ::GetLastError());
    if (const DWORD error = flushMadeFolder(calls_, folder); error != ERROR_SUCCESS)
        return win32Failure(FileAction::flushNewFolderEntry, folder, error);
    return Status::success();
}

Status Win32Files::touch(const std::filesystem::path& file) {
    Result<Win32Handle> opened = openForAppending(calls_, waitWhileHeld_, file, owners_);
    if (!opened.ok())
        return opened.status();
    Win32LockedFile locked(calls_, waitWhileHeld_, file, std::move(opened.value()));
    Win32Appending appending(calls_, waitWhileHeld_, owners_);
    return locked.lock().locked() ? repairUnfinished(appending, locked) : Status::success();
}

Status Win32Files::readLines(const std::filesystem::path& file, const LineSink& sink) {
    Win32Handle opened = openPatiently(calls_, waitWhileHeld_, file, GENERIC_READ, OPEN_EXISTING);
    if (!opened.isOpen())
        return win32Failure(FileAction::open, file, ::GetLastError());
    LineSplitter lines(sink);
    std::string buffer(1 << 16, '\0');
    for (;;) {
        DWORD count = 0;
        if (!calls_.readFile(opened.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &count, nullptr))
            return win32Failure(FileAction::read, file, ::GetLastError());
        if (count == 0)
            break;
        lines.feed(std::string_view(buffer.data(), count));
    }
    lines.finish();
    return Status::success();
}

// Written whole or not at all: a flushed copy beside the file replaces it, and the folder is flushed, so that a
// power cut leaves the old bytes or the new, never an empty or half-written file.
Status Win32Files::writeFile(const std::filesystem::path& file, std::string_view bytes) {
    // The copy is made private; one that another account made in its place is refused, and what it renames over
    // becomes the student's own.
    const std::filesystem::path copy = file.wstring() + L".new";
    {
        Win32Handle created = openPatiently(calls_, waitWhileHeld_, copy, GENERIC_WRITE, CREATE_ALWAYS);
        const bool made = created.isOpen() && ::GetLastError() != ERROR_ALREADY_EXISTS;
        Win32Handle opened = unlessAnothers(calls_, std::move(created), made, copy, owners_);
        if (!opened.isOpen())
            return win32Failure(FileAction::open, file, ::GetLastError());
        if (!writeAll(calls_, opened.get(), bytes) || !calls_.flushFileBuffers(opened.get()))
            return win32Failure(FileAction::writeTo, file, ::GetLastError());
    }
    if (!calls_.moveFileEx(copy.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return win32Failure(FileAction::writeTo, file, ::GetLastError());
    if (const DWORD error = flushFolderOf(calls_, file); error != ERROR_SUCCESS)
        return win32Failure(FileAction::writeTo, file, error);
    return Status::success();
}

Result<AppendReceipt> Win32Files::appendBlock(const std::filesystem::path& file, std::string_view block) {
    Win32Appending appending(calls_, waitWhileHeld_, owners_);
    Result<std::vector<AppendReceipt>> appended = appendGroup(appending, {{file, std::string(block)}});
    if (!appended.ok())
        return appended.status();
    return appended.value().front();
}

Status Win32Files::appendBlocks(const std::vector<PendingBlock>& blocks) {
    Win32Appending appending(calls_, waitWhileHeld_, owners_);
    Result<std::vector<AppendReceipt>> appended = appendGroup(appending, blocks);
    return appended.ok() ? Status::success() : Status(appended.status());
}

Status Win32Files::takeBack(const std::filesystem::path& file, const AppendReceipt& receipt) {
    Win32Handle opened = unlessAnothers(calls_, openPatiently(calls_, waitWhileHeld_, file, cutAccess, OPEN_EXISTING),
                                        false, file, owners_);
    if (!opened.isOpen())
        return win32Failure(FileAction::open, file, ::GetLastError());
    ExclusiveLock lock(calls_, opened.get());
    if (!lock.locked())
        return win32Failure(FileAction::lock, file, lock.error());
    const std::optional<std::uint64_t> now = sizeOf(calls_, opened.get());
    if (!now)
        return win32Failure(FileAction::readSizeOf, file, ::GetLastError());
    // The size alone would also match a file whose block an editor changed in place.
    std::string tail(receipt.block.size(), '\0');
    if (*now != receipt.sizeBefore + receipt.length ||
        !readAt(calls_, opened.get(), tail.data(), tail.size(), receipt.sizeBefore) || tail != receipt.block)
        return fileFailure(FileAction::takeBack, file, FileProblem::changedSinceWritten);
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(receipt.sizeBefore);
    if (!calls_.setFileInformationByHandle(opened.get(), FileEndOfFileInfo, &end, sizeof end) ||
        !calls_.flushFileBuffers(opened.get()))
        return win32Failure(FileAction::takeBack, file, ::GetLastError());
    return Status::success();
}

// Windows without long-path support refuses a path of MAX_PATH characters or more, the terminating NUL counted.
// Wine opens longer ones; Windows' documentation ("Maximum Path Length Limitation") is what a student's machine does.
std::size_t Win32Files::longestPath() const {
    return MAX_PATH - 1;
}

Status Win32Files::keepPrivate(const std::filesystem::path& folder) {
    if (const DWORD error = closeToOtherAccounts(folder, unfinished::noteFolder(folder)); error != ERROR_SUCCESS)
        return win32Failure(FileAction::keepPrivate, folder, error);
    return Status::success();
}

Status Win32Files::mayWrite(const std::filesystem::path& file) {
    // A folder in the file's place opens too (FILE_FLAG_BACKUP_SEMANTICS): writing to it fails with its own words.
    Win32Handle opened(calls_.createFile(file.c_str(), READ_CONTROL, shareReadWrite | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr),
                       calls_);
    if (!opened.isOpen()) {
        // The owner may always read a file's descriptor, so a file this account may not even look at is another's.
        if (::GetLastError() == ERROR_ACCESS_DENIED)
            return fileFailure(FileAction::writeTo, file, FileProblem::madeByAnotherAccount);
        return Status::success(); // missing, or held for a moment: the write itself tells
    }
    if (!unlessAnothers(calls_, std::move(opened), false, file, owners_).isOpen())
        return fileFailure(FileAction::writeTo, file, FileProblem::madeByAnotherAccount);
    return Status::success();
}

bool Win32Files::exists(const std::filesystem::path& path) {
    // FILE_FLAG_BACKUP_SEMANTICS opens a folder as well as a file.
    Win32Handle opened(calls_.createFile(path.c_str(), FILE_READ_ATTRIBUTES, shareReadWrite | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr),
                       calls_);
    const DWORD error = ::GetLastError();
    return opened.isOpen() || error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

} // namespace kelvrast
