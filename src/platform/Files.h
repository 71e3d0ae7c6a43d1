#pragma once

#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvrast {

using LineSink = std::function<void(std::string_view line)>;

// A block to append, and its file.
struct PendingBlock {
    std::filesystem::path file;
    std::string bytes;
};

// The file operations the program needs. Every file is closed again before an operation returns.
// Each call is one operation, so a test can make the k-th call fail.
class Files {
public:
    virtual ~Files() = default;

    // Creates one folder; fails when it exists already or cannot be made.
    virtual Status createFolder(const std::filesystem::path& folder) = 0;
    // Opens a file for appending and closes it: a missing file is created empty, an existing one is unchanged
    // except that what an append that never finished (the program was killed) left is taken out. When that cannot
    // be finished, the failure is Status::isLeftUnfinished and the file is there all the same.
    virtual Status touch(const std::filesystem::path& file) = 0;
    // Reads a file from its start, line by line: a line ends at CR, an LF right after the CR is dropped,
    // and an LF on its own stays inside the line. A last line without a line end counts; an empty file has none.
    virtual Status readLines(const std::filesystem::path& file, const LineSink& sink) = 0;
    // Writes a file from its start, creating it or emptying it first.
    virtual Status writeFile(const std::filesystem::path& file, std::string_view bytes) = 0;
    // Appends each block whole to its file, under an exclusive lock on each, and flushes them to the device, all or
    // nothing: when one file fails, no file keeps any part of its block, and the failure says which file failed
    // and why. If the program is killed or the power goes during the append, the next touch or append of the files
    // takes out what reached them. Once it returns, the blocks survive both.
    virtual Status appendBlocks(const std::vector<PendingBlock>& blocks) = 0;
    // The longest path the system opens, in the units of its own paths (UTF-16 on Windows, bytes elsewhere).
    virtual std::size_t longestPath() const = 0;
    // Keeps other accounts out of the folder and out of the files in it, the notes beside them included: what the
    // student owns loses every permission for others; what belongs to another account is left as it is, and the
    // failure names it. A missing folder holds nothing to keep private.
    virtual Status keepPrivate(const std::filesystem::path& folder) = 0;
    // Whether the program may write into file: a missing file may be made, and one the student's account owns may
    // be written; one that another account made is refused, since that account could read what went into it.
    virtual Status mayWrite(const std::filesystem::path& file) = 0;
    // Whether a file or folder stands at path; one the program may not look into counts as there.
    virtual bool exists(const std::filesystem::path& path) = 0;
};

} // namespace kelvrast
