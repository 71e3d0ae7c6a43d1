#include "system/DraftFolder.h"

#include "system/WorkingFolder.h"

#include <cstdlib>

namespace kelvrast {

// The XDG base directories: $XDG_STATE_HOME, or ~/.local/state where it is unset or not an absolute path.
std::filesystem::path draftFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/')
        return std::filesystem::path(state) / "kelvrast";
    // The working folder lies in the home folder.
    return workingFolder().parent_path() / ".local" / "state" / "kelvrast";
}

} // namespace kelvrast
