#include "system/windows/Win32Error.h"

#include "text/MessageText.h"

#include <optional>
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

constexpr ErrorMeaning<DWORD> errorMeanings[] = {
    {ERROR_FILE_NOT_FOUND, FileProblem::notFound},
    {ERROR_PATH_NOT_FOUND, FileProblem::notFound},
    {ERROR_ACCESS_DENIED, FileProblem::permissionRefused},
    {ERROR_DIRECTORY, FileProblem::notAFolder},
    {ERROR_DISK_FULL, FileProblem::diskFull},
    {ERROR_HANDLE_DISK_FULL, FileProblem::diskFull},
    {ERROR_WRITE_PROTECT, FileProblem::readOnly},
    {ERROR_FILENAME_EXCED_RANGE, FileProblem::nameTooLong},
    {ERROR_INVALID_NAME, FileProblem::invalidName},
    {ERROR_ALREADY_EXISTS, FileProblem::exists},
    {ERROR_FILE_EXISTS, FileProblem::exists},
    {ERROR_SHARING_VIOLATION, FileProblem::inUse},
    {ERROR_LOCK_VIOLATION, FileProblem::inUse},
    {errorMadeByAnotherAccount, FileProblem::madeByAnotherAccount},
};

std::optional<FileProblem> problemOf(const std::filesystem::path& file, DWORD error) {
    // Windows refuses to open a folder as a file with the same code as a refused permission.
    if (error == ERROR_ACCESS_DENIED && isFolder(file))
        return FileProblem::isFolder;
    return problemOf<DWORD>(error, errorMeanings);
}

} // namespace

Failure win32Failure(FileAction action, const std::filesystem::path& file, DWORD error) {
    if (const std::optional<FileProblem> problem = problemOf(file, error))
        return fileFailure(action, file, *problem);
    return fileFailure(action, file, systemDescription(error));
}

} // namespace kelvrast
