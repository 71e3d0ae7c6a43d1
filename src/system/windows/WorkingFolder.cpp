#include "system/WorkingFolder.h"

namespace kelvrast {

std::filesystem::path workingFolder() {
    return L"c:\\kelvrast";
}

} // namespace kelvrast
