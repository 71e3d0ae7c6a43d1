#pragma once

#include <filesystem>

namespace kelvrast {

// Where the answer files live: c:\kelvrast on Windows, the folder kelvrast in the user's home folder elsewhere.
std::filesystem::path workingFolder();

} // namespace kelvrast
