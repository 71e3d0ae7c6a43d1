#pragma once

#include "platform/Status.h"
#include "system/shared/FileFailure.h"

#include <windows.h>

#include <filesystem>

namespace kelvrast {

// The program's own error code for a file that another account made, set as the last error like the system's:
// SetLastError reserves bit 29 for codes of an application's own.
constexpr DWORD errorMadeByAnotherAccount = (DWORD{1} << 29) | 1;

// The failure of an operation on a file, in plain words: what could not be done, the file, and why, from the
// error code that GetLastError gave. A missing file or folder is a "not found" failure.
Failure win32Failure(FileAction action, const std::filesystem::path& file, DWORD error);

} // namespace kelvrast
