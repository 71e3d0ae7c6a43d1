#pragma once

// The files of the system the tests run on: the same tests hold both implementations to one contract.
#ifdef _WIN32
#include "system/windows/Win32Files.h"
namespace kelvrast::testing {
using SystemFiles = Win32Files;
inline constexpr const char* systemFilesName = "Win32Files";
} // namespace kelvrast::testing
#else
#include "system/posix/PosixFiles.h"
namespace kelvrast::testing {
using SystemFiles = PosixFiles;
inline constexpr const char* systemFilesName = "PosixFiles";
} // namespace kelvrast::testing
#endif
