#pragma once

#include <filesystem>

namespace kelvrast {

// Where the drafts of what is being typed live: a folder of the student's own account, never the answer files'
// folder (%LOCALAPPDATA%\kelvrast on Windows, $XDG_STATE_HOME/kelvrast elsewhere).
std::filesystem::path draftFolder();

} // namespace kelvrast
