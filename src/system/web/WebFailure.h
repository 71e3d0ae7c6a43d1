#pragma once

#include "platform/Status.h"
#include "system/shared/FileFailure.h"
#include "system/web/Opfs.h"

#include <filesystem>

namespace kelvrast {

// What the browser answered, as the program tells it: success for none, else the failure in plain words.
Status statusOf(FileAction action, const std::filesystem::path& file, opfs::Error error);

} // namespace kelvrast
