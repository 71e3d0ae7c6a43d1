#include "system/WorkingFolder.h"

namespace kelvrast {

// The folder kelvrast at the root of the origin-private file system, the page's own.
std::filesystem::path workingFolder() {
    return "/kelvrast";
}

} // namespace kelvrast
