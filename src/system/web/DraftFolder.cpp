#include "system/DraftFolder.h"

namespace kelvrast {

// Beside the working folder, never in it, as on the desktop.
std::filesystem::path draftFolder() {
    return "/kelvrast-drafts";
}

} // namespace kelvrast
