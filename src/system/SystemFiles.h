#pragma once

// The files of the system the program is built for.
#ifdef _WIN32
#include "system/windows/Win32Files.h"
namespace kelvrast {
using SystemFiles = Win32Files;
inline constexpr const char* systemFilesName = "Win32Files";
} // namespace kelvrast
#elif defined(__EMSCRIPTEN__)
#include "system/web/WebFiles.h"
namespace kelvrast {
using SystemFiles = WebFiles;
inline constexpr const char* systemFilesName = "WebFiles";
} // namespace kelvrast
#else
#include "system/posix/PosixFiles.h"
namespace kelvrast {
using SystemFiles = PosixFiles;
inline constexpr const char* systemFilesName = "PosixFiles";
} // namespace kelvrast
#endif
