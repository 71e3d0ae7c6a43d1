#pragma once

// The files of the system the tests run on: the same tests hold both implementations to one contract.
#include "system/SystemFiles.h"

namespace kelvrast::testing {
using kelvrast::SystemFiles;
using kelvrast::systemFilesName;
} // namespace kelvrast::testing
