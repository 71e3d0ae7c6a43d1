#pragma once

#include <filesystem>

namespace kelvrast::testing {

// Whether the system's file browser leaves the file or folder out of its listing: a name that starts with a dot on
// POSIX, the hidden attribute on Windows.
bool isHidden(const std::filesystem::path& path);

} // namespace kelvrast::testing
