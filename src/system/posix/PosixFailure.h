#pragma once

#include "system/shared/FileFailure.h"

#include <filesystem>

namespace kelvrast {

// The failure of an operation on a file, in plain words, from the errno it left.
Failure posixFailure(FileAction action, const std::filesystem::path& file, int error);

} // namespace kelvrast
