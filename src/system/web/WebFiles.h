#pragma once

#include "platform/Files.h"
#include "system/shared/AppendReceipt.h"

namespace kelvrast {

// Files in the browser's origin-private file system, through sync access handles in the dedicated worker where the
// program runs. A handle holds its file's lock in every tab of the origin, so two tabs appending to one file never
// interleave their blocks; each block is written at the end and flushed before the call returns, under the same
// unfinished-append notes as on the desktop.
class WebFiles : public Files {
public:
    Status createFolder(const std::filesystem::path& folder) override;
    Status touch(const std::filesystem::path& file) override;
    Status readLines(const std::filesystem::path& file, const LineSink& sink) override;
    Status writeFile(const std::filesystem::path& file, std::string_view bytes) override;
    // One note for the group, as on the desktop.
    Status appendBlocks(const std::vector<PendingBlock>& blocks) override;
    // The browser sets no limit of its own on a path; this is POSIX's, which the answer files' names stay far under.
    std::size_t longestPath() const override { return 4095; }
    // The origin's private file system is the page's alone: no other account, site or program can read it.
    Status keepPrivate(const std::filesystem::path&) override { return Status::success(); }
    Status mayWrite(const std::filesystem::path&) override { return Status::success(); }
    bool exists(const std::filesystem::path& path) override;

    // One block appended as appendBlocks appends a group, and taken back again, under the lock, only while the
    // file still ends with exactly that block. The program appends in groups; the tests of the protocol drive
    // these directly.
    Result<AppendReceipt> appendBlock(const std::filesystem::path& file, std::string_view block);
    Status takeBack(const std::filesystem::path& file, const AppendReceipt& receipt);
};

} // namespace kelvrast
