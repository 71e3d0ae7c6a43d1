#include "system/windows/Win32DraftStore.h"

#include "system/windows/Win32Error.h"
#include "system/windows/Win32Handle.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace kelvrast {
namespace {

Failure noFolder() {
    return Status::failure(u"This account has no folder for its own application data, where drafts are kept.");
}

// The copy's name is the process's own, so two runs of the program never write one copy.
std::filesystem::path copyOf(const std::filesystem::path& file) {
    return file.wstring() + L"." + std::to_wstring(::GetCurrentProcessId()) + L".new";
}

Status writeCopy(const std::filesystem::path& copy, std::string_view bytes) {
    Win32Handle handle(
        ::CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.isOpen())
        return win32Failure(FileAction::open, copy, ::GetLastError());
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(handle.get(), bytes.data(), chunk, &written, nullptr))
            return win32Failure(FileAction::writeTo, copy, ::GetLastError());
        bytes.remove_prefix(written);
    }
    if (!::FlushFileBuffers(handle.get()))
        return win32Failure(FileAction::writeTo, copy, ::GetLastError());
    return Status::success();
}

} // namespace

// The folder inherits the permissions of the account's profile, which Windows gives to the account, SYSTEM and the
// administrators only ("User profiles", Microsoft's documentation of the default profile permissions): other
// students of a shared computer cannot read it, unlike c:\kelvrast.
Status Win32DraftStore::replace(const std::filesystem::path& fileName, std::string_view bytes) {
    if (folder_.empty())
        return noFolder();
    // With any missing folder above it, as an account whose local application data was cleared has.
    std::error_code made;
    std::filesystem::create_directories(folder_, made);
    if (made)
        return win32Failure(FileAction::createFolder, folder_, static_cast<DWORD>(made.value()));
    const std::filesystem::path file = pathOf(fileName);
    const std::filesystem::path copy = copyOf(file);
    Status written = writeCopy(copy, bytes);
    if (written.ok() && !::MoveFileExW(copy.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        written = win32Failure(FileAction::replace, file, ::GetLastError());
    if (!written.ok())
        ::DeleteFileW(copy.c_str());
    return written;
}

Result<std::string> Win32DraftStore::read(const std::filesystem::path& fileName) {
    if (folder_.empty())
        return noFolder();
    const std::filesystem::path file = pathOf(fileName);
    Win32Handle handle(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.isOpen())
        return win32Failure(FileAction::open, file, ::GetLastError());
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(handle.get(), buffer, sizeof buffer, &count, nullptr))
            return win32Failure(FileAction::read, file, ::GetLastError());
        if (count == 0)
            return bytes;
        bytes.append(buffer, count);
    }
}

Status Win32DraftStore::remove(const std::filesystem::path& fileName) {
    const std::filesystem::path file = pathOf(fileName);
    if (::DeleteFileW(file.c_str()))
        return Status::success();
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return Status::success();
    return win32Failure(FileAction::remove, file, error);
}

} // namespace kelvrast
