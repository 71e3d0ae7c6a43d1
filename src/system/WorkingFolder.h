#pragma once

#include <filesystem>

namespace kelvrast {

// Where the answer files live: c:\kelvrast on Windows, the folder kelvrast of the origin-private file system in a
// browser, the folder kelvrast in the user's home folder elsewhere.
std::filesystem::path workingFolder();

} // namespace kelvrast
