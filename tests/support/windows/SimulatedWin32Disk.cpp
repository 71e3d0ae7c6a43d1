#include "support/windows/SimulatedWin32Disk.h"

#include "support/windows/SecurityAnswer.h"

#include <cstdint>

namespace kelvrast::testing {
namespace {

constexpr DWORD powerGoneError = ERROR_DEVICE_NOT_CONNECTED;

HANDLE handleOf(int open) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(open));
}

int openOf(HANDLE handle) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(handle));
}

HANDLE noHandle(DWORD error) {
    ::SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

bool mayRead(DWORD access) {
    return access & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA);
}

// Writing at a chosen place, or changing the size.
bool mayWrite(DWORD access) {
    return access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA);
}

// FlushFileBuffers takes write or append access, as NTFS checks it.
bool mayAppend(DWORD access) {
    return mayWrite(access) || (access & FILE_APPEND_DATA);
}

std::uint64_t offsetOf(const OVERLAPPED& at) {
    return (std::uint64_t{at.OffsetHigh} << 32) | at.Offset;
}

} // namespace

BOOL SimulatedWin32Disk::fail(DWORD error) {
    ::SetLastError(error);
    return FALSE;
}

SimulatedWin32Disk::Open* SimulatedWin32Disk::usable(HANDLE handle) {
    Open* open = opened(openOf(handle));
    if (powerGone() || !open) {
        fail(powerGone() ? powerGoneError : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return open;
}

std::optional<int> SimulatedWin32Disk::existing(const std::filesystem::path& path) {
    const std::optional<int> found = find(path);
    if (powerGone())
        fail(powerGoneError);
    else if (!found) {
        const std::optional<int> folder = find(path.parent_path());
        fail(folder && node(*folder).folder ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    }
    return powerGone() ? std::nullopt : found;
}

HANDLE SimulatedWin32Disk::createFile(LPCWSTR path, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition,
                                      DWORD flags, HANDLE) {
    const std::filesystem::path wanted(path);
    const std::optional<int> found = existing(wanted);
    if (found)
        return opening(*found, access, disposition, flags);
    if (::GetLastError() != ERROR_FILE_NOT_FOUND || disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING)
        return INVALID_HANDLE_VALUE;
    return made(wanted, access);
}

// A file that was not there: its entry goes in the folder, not yet durable.
HANDLE SimulatedWin32Disk::made(const std::filesystem::path& path, DWORD access) {
    if (!change())
        return noHandle(powerGoneError);
    const int file = makeNode(find(path.parent_path()).value(), path.filename(), false);
    const HANDLE opened = handleOf(openNode(file, !mayWrite(access), access));
    ::SetLastError(ERROR_SUCCESS);
    return opened;
}

// A file or folder that is there. A handle with append access alone writes at the end whatever the offset asked.
HANDLE SimulatedWin32Disk::opening(int found, DWORD access, DWORD disposition, DWORD flags) {
    const bool folder = node(found).folder;
    if (disposition == CREATE_NEW)
        return noHandle(ERROR_FILE_EXISTS);
    // A folder opens only as a folder, with backup semantics, and is never truncated.
    const bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if (folder && (!(flags & FILE_FLAG_BACKUP_SEMANTICS) || truncates))
        return noHandle(ERROR_ACCESS_DENIED);
    // A standard account may not open the root of c: to change it, nor to flush it.
    if (folder && found == 0 && (mayAppend(access) || (access & GENERIC_WRITE)))
        return noHandle(ERROR_ACCESS_DENIED);
    if (truncates && !node(found).current.empty()) {
        if (!change())
            return noHandle(powerGoneError);
        resize(found, 0);
    }
    const HANDLE opened = handleOf(openNode(found, !mayWrite(access), access));
    const bool saysExisted = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    ::SetLastError(saysExisted ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return opened;
}

BOOL SimulatedWin32Disk::closeHandle(HANDLE handle) {
    const int open = openOf(handle);
    if (!opened(open))
        return fail(ERROR_INVALID_HANDLE);
    close(open);
    return powerGone() ? fail(powerGoneError) : TRUE;
}

BOOL SimulatedWin32Disk::readFile(HANDLE file, LPVOID into, DWORD size, LPDWORD count, LPOVERLAPPED at) {
    Open* open = usable(file);
    if (!open)
        return FALSE;
    if (!mayRead(open->rights) || node(open->node).folder)
        return fail(ERROR_ACCESS_DENIED);
    const std::size_t read = readAt(open->node, static_cast<char*>(into), size, at ? offsetOf(*at) : open->offset);
    *count = static_cast<DWORD>(read);
    // At the end, a synchronous handle's read at its position reads nothing and succeeds; one at an offset fails.
    if (at && read == 0 && size > 0)
        return fail(ERROR_HANDLE_EOF);
    if (!at)
        open->offset += read;
    return TRUE;
}

BOOL SimulatedWin32Disk::writeFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD count, LPOVERLAPPED at) {
    Open* open = usable(file);
    if (!open)
        return FALSE;
    if (!mayAppend(open->rights) || node(open->node).folder)
        return fail(ERROR_ACCESS_DENIED);
    *count = 0;
    if (size == 0)
        return TRUE;
    if (!change())
        return fail(powerGoneError);
    const auto from = at ? std::optional<std::uint64_t>(offsetOf(*at)) : std::nullopt;
    *count = static_cast<DWORD>(writeAt(*open, std::string_view(static_cast<const char*>(bytes), size), from));
    return TRUE;
}

// A file's flush makes its bytes and size durable; a folder's, through a handle with write or append access (for a
// folder FILE_ADD_FILE or FILE_ADD_SUBDIRECTORY), its entries; either makes durable the entry that names it in its
// folder ([MS-FSA] 2.1.5.7: the flush persists the directory structure).
BOOL SimulatedWin32Disk::flushFileBuffers(HANDLE file) {
    Open* open = usable(file);
    if (!open)
        return FALSE;
    if (!mayAppend(open->rights))
        return fail(ERROR_ACCESS_DENIED);
    if (!change())
        return fail(powerGoneError);
    if (node(open->node).folder)
        flushEntries(open->node);
    else
        flushData(open->node);
    flushEntryOf(open->node);
    return TRUE;
}

BOOL SimulatedWin32Disk::getFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
    Open* open = usable(file);
    if (!open)
        return FALSE;
    size->QuadPart = static_cast<LONGLONG>(node(open->node).current.size());
    return TRUE;
}

BOOL SimulatedWin32Disk::setFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information,
                                                    DWORD size) {
    Open* open = usable(file);
    if (!open)
        return FALSE;
    if (kind != FileEndOfFileInfo || size < sizeof(FILE_END_OF_FILE_INFO))
        return fail(ERROR_INVALID_PARAMETER);
    if (!mayWrite(open->rights) || node(open->node).folder)
        return fail(ERROR_ACCESS_DENIED);
    if (!change())
        return fail(powerGoneError);
    resize(open->node,
           static_cast<std::uint64_t>(static_cast<FILE_END_OF_FILE_INFO*>(information)->EndOfFile.QuadPart));
    return TRUE;
}

// The one range the program locks stands for the file: held by another handle, the lock fails at once.
BOOL SimulatedWin32Disk::lockFileEx(HANDLE file, DWORD, DWORD, DWORD, DWORD, LPOVERLAPPED) {
    Open* open = usable(file);
    if (!open)
        return FALSE;
    return lock(openOf(file)) ? TRUE : fail(ERROR_LOCK_VIOLATION);
}

BOOL SimulatedWin32Disk::unlockFileEx(HANDLE file, DWORD, DWORD, DWORD, LPOVERLAPPED) {
    Open* open = usable(file);
    if (!open)
        return FALSE;
    const int number = openOf(file);
    if (node(open->node).lockedBy != number)
        return fail(ERROR_NOT_LOCKED);
    unlock(number);
    return TRUE;
}

BOOL SimulatedWin32Disk::createDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    const std::filesystem::path wanted(path);
    if (existing(wanted))
        return fail(ERROR_ALREADY_EXISTS);
    if (::GetLastError() != ERROR_FILE_NOT_FOUND)
        return FALSE;
    if (!change())
        return fail(powerGoneError);
    makeNode(find(wanted.parent_path()).value(), wanted.filename(), true);
    return TRUE;
}

// Attributes are metadata the program never reads back: the call counts as a change and keeps nothing.
BOOL SimulatedWin32Disk::setFileAttributes(LPCWSTR path, DWORD) {
    if (!existing(std::filesystem::path(path)))
        return FALSE;
    return change() ? TRUE : fail(powerGoneError);
}

DWORD SimulatedWin32Disk::getSecurityInfo(HANDLE file, SECURITY_INFORMATION, PSID* owner, PACL* accessList,
                                          PSECURITY_DESCRIPTOR* descriptor) {
    if (!usable(file))
        return ::GetLastError();
    const std::wstring account = signedInAccountSid();
    return answerSecurityInfo(L"O:" + account + L"D:P(A;;FA;;;" + account + L")", owner, accessList, descriptor);
}

} // namespace kelvrast::testing

namespace kelvrast::testing {

// A move within the disk changes the folders' entries only; they are durable once the folders are flushed. Whether
// MOVEFILE_WRITE_THROUGH flushes them too, Microsoft's documentation does not say for a move that is a rename.
BOOL SimulatedWin32Disk::moveFileEx(LPCWSTR from, LPCWSTR to, DWORD flags) {
    const std::filesystem::path source(from), target(to);
    if (!existing(source))
        return FALSE;
    const std::optional<int> replaced = find(target);
    if (replaced && (!(flags & MOVEFILE_REPLACE_EXISTING) || node(*replaced).folder))
        return fail(ERROR_ALREADY_EXISTS);
    if (!find(target.parent_path()))
        return fail(ERROR_PATH_NOT_FOUND);
    if (!change())
        return fail(powerGoneError);
    moveEntry(source, target);
    return TRUE;
}

// Only the time of the last write is kept.
BOOL SimulatedWin32Disk::getFileTime(HANDLE file, LPFILETIME made, LPFILETIME read, LPFILETIME written) {
    Open* open = usable(file);
    if (!open)
        return FALSE;
    if (made || read)
        return fail(ERROR_INVALID_PARAMETER);
    const auto ticks = static_cast<std::uint64_t>(lastWriteOf(open->node) / 100 + 116'444'736'000'000'000);
    written->dwLowDateTime = static_cast<DWORD>(ticks);
    written->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return TRUE;
}

} // namespace kelvrast::testing
