#pragma once

// The draft store of the system the program is built for.
#ifdef _WIN32
#include "system/windows/Win32DraftStore.h"
namespace kelvrast {
using SystemDraftStore = Win32DraftStore;
} // namespace kelvrast
#elif defined(__EMSCRIPTEN__)
#include "system/web/WebDraftStore.h"
namespace kelvrast {
using SystemDraftStore = WebDraftStore;
} // namespace kelvrast
#else
#include "system/posix/PosixDraftStore.h"
namespace kelvrast {
using SystemDraftStore = PosixDraftStore;
} // namespace kelvrast
#endif
