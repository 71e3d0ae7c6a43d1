#pragma once

#include "platform/Files.h"
#include "platform/Status.h"

#include <filesystem>
#include <string>

namespace kelvrast {

// Copies the query file of the working folder into the coded query file, and takes a new code number
// from the length of the query file's first line.
Status codeFile(Files& files, const std::filesystem::path& folderPath, const std::string& queryFileTag,
                float& codeNumber);

} // namespace kelvrast
