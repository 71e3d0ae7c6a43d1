#pragma once

#include "platform/Files.h"
#include "platform/Status.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kelvrast {

struct PendingBlock {
    std::filesystem::path file;
    std::string bytes;
};

// Appends each block to its file, in order, all or nothing: when one file fails, the blocks already appended
// to the files before it are taken back. The failure says which file failed and why, and names any block
// that could not be taken back.
Status appendAllOrNothing(Files& files, const std::vector<PendingBlock>& blocks);

} // namespace kelvrast
