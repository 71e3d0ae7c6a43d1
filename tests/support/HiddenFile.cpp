#include "support/HiddenFile.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelvrast::testing {

bool isHidden(const std::filesystem::path& path) {
#ifdef _WIN32
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN);
#else
    return path.filename().native().starts_with('.');
#endif
}

} // namespace kelvrast::testing
