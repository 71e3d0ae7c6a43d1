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

// What appendBlock tells its caller, so that the block can be taken back again.
struct AppendReceipt {
    std::uintmax_t sizeBefore = 0;
    std::uintmax_t length = 0;
    std::string block; // its bytes, so that only the very block is taken back
};

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
    // Appends a whole block in one write, under an exclusive lock, and flushes it to the device.
    // On failure the file is as it was before; if the program is killed or the power goes during the append, the
    // next touch or appendBlock of the file takes out what reached it. Once it returns, the block survives both.
    virtual Result<AppendReceipt> appendBlock(const std::filesystem::path& file, std::string_view block) = 0;
    // Appends each block to its file, all or nothing: when one file fails, no file keeps any part of its block. The
    // failure says which file failed and why, and names any block that could not be taken out again. Here one
    // append after the other, each taken back when a later one fails; a system may do better.
    virtual Status appendBlocks(const std::vector<PendingBlock>& blocks);
    // Removes a block that appendBlock added, under an exclusive lock, and only while the file still ends with
    // exactly that block; anything another program appended since is never removed.
    virtual Status takeBack(const std::filesystem::path& file, const AppendReceipt& receipt) = 0;
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
