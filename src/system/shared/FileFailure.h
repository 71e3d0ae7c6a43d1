#pragma once

#include "platform/Status.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

namespace kelvrast {

// What could not be done with a file or folder.
enum class FileAction {
    open,
    flushNewFileEntry, // the folder entry of a file just made, flushed so that a power cut keeps the file
    createFolder,
    flushNewFolderEntry, // the same for a folder just made
    read,
    writeTo,
    lock,
    readSizeOf,
    takeBack,
    keepPrivate,
    replace,
    remove,
};

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
    ownedByOther,
    madeByAnotherAccount,
};

// What one of a system's error codes means, in the program's words.
template <typename Code> struct ErrorMeaning {
    Code code;
    FileProblem problem;
};

// The meaning of an error code in a system's table; nothing for a code the program has no words for.
template <typename Code>
std::optional<FileProblem> problemOf(Code error, std::span<const ErrorMeaning<Code>> meanings) {
    for (const ErrorMeaning<Code>& each : meanings)
        if (each.code == error)
            return each.problem;
    return std::nullopt;
}

// The message a student reads: what could not be done, the file, and why. A missing file or folder is a "not
// found" failure.
Failure fileFailure(FileAction action, const std::filesystem::path& file, FileProblem problem);
// The same with the system's own description of an error the program has no words for.
Failure fileFailure(FileAction action, const std::filesystem::path& file, std::u16string_view systemWords);

// The words added to a failure for a copy of a block that stays in file because it could not be taken out again.
std::u16string copyLeftBehind(const std::filesystem::path& file, const Status& whyNot);

} // namespace kelvrast
