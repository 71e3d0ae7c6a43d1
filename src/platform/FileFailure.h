#pragma once

#include "platform/Status.h"

#include <filesystem>
#include <string_view>

namespace kelvrast {

// What could not be done with a file or folder.
enum class FileAction { open, saveNewFile, createFolder, saveNewFolder, read, writeTo, lock, readSizeOf, takeBack };

// Why, in words of the program's own; each system half maps its error codes onto these.
enum class FileProblem {
    notFound,
    permissionRefused,
    isFolder,
    notAFolder,
    diskFull,
    readOnly,
    nameTooLong,
    invalidName,
    exists,
    inUse,
    changedSinceWritten,
    recordTooLong,
};

// The message a student reads: what could not be done, the file, and why. A missing file or folder is a "not
// found" failure.
Status fileFailure(FileAction action, const std::filesystem::path& file, FileProblem problem);
// The same with the system's own description of an error the program has no words for.
Status fileFailure(FileAction action, const std::filesystem::path& file, std::u16string_view systemWords);

} // namespace kelvrast
