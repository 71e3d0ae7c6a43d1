#pragma once

#include <filesystem>

namespace kelvrast {

// Where the drafts of what is being typed live: a folder of the student's own account, never the answer files'
// folder (%LOCALAPPDATA%\kelvrast on Windows, kelvrast-drafts in a browser's origin-private file system,
// $XDG_STATE_HOME/kelvrast elsewhere).
std::filesystem::path draftFolder();

} // namespace kelvrast
