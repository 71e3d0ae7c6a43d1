#include "system/DraftFolder.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace kelvrast {

// %LOCALAPPDATA%: the account's own folder, never roamed to other computers. Without one (no profile loaded), the
// drafts go to a folder that cannot be made, and the student hears that drafts cannot be kept.
std::filesystem::path draftFolder() {
    PWSTR found = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &found)))
        folder = std::filesystem::path(found) / L"kelvrast";
    ::CoTaskMemFree(found);
    return folder;
}

} // namespace kelvrast
