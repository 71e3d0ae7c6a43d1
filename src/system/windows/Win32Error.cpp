#include "system/windows/Win32Error.h"

#include "platform/MessageText.h"

#include <string>

namespace kelvrast {
namespace {

// The system's own description of an error we have no words of our own for.
std::u16string systemDescription(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    // wchar_t is UTF-16 on Windows.
    std::u16string description(reinterpret_cast<const char16_t*>(text), length);
    ::LocalFree(text);
    while (!description.empty() && (description.back() == L'\r' || description.back() == L'\n' ||
                                    description.back() == L'.' || description.back() == L' '))
        description.pop_back();
    if (description.empty())
        return u"error " + asciiText(std::to_string(error));
    return description;
}

bool isFolder(const std::filesystem::path& file) {
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::u16string reason(const std::filesystem::path& file, DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return u"the file or its folder does not exist";
    case ERROR_ACCESS_DENIED:
        // Windows refuses to open a folder as a file with the same code as a refused permission.
        return isFolder(file) ? u"it is a folder, not a file" : u"permission was refused";
    case ERROR_DIRECTORY:
        return u"part of the path is not a folder";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return u"the disk is full";
    case ERROR_WRITE_PROTECT:
        return u"the disk is read-only";
    case ERROR_FILENAME_EXCED_RANGE:
        return u"the name is too long";
    case ERROR_INVALID_NAME:
        return u"the name is not a valid file name";
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return u"it exists already";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return u"another program is using it";
    default:
        return systemDescription(error);
    }
}

} // namespace

Status win32Failure(const char* what, const std::filesystem::path& file, DWORD error) {
    std::u16string message = asciiText(what) + u" " + pathText(file) + u": " + reason(file, error) + u".";
    const bool notFound = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return notFound ? Status::notFound(std::move(message)) : Status::failure(std::move(message));
}

} // namespace kelvrast
