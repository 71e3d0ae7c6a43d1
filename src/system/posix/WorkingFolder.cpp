#include "system/WorkingFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace kelvrast {

std::filesystem::path workingFolder() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : "/tmp";
    }
    return std::filesystem::path(home) / "kelvrast";
}

} // namespace kelvrast
