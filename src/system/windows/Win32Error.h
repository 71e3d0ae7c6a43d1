#pragma once

#include "platform/FileFailure.h"
#include "platform/Status.h"

#include <windows.h>

#include <filesystem>

namespace kelvrast {

// The failure of an operation on a file, in plain words: what could not be done, the file, and why, from the
// error code that GetLastError gave. A missing file or folder is a "not found" failure.
Status win32Failure(FileAction action, const std::filesystem::path& file, DWORD error);

} // namespace kelvrast
