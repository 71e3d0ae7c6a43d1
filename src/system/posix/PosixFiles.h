#pragma once

#include "platform/Files.h"
#include "system/posix/SystemCalls.h"
#include "system/shared/AppendReceipt.h"

#include <climits>

namespace kelvrast {

// Files on a POSIX file system. Answer-file blocks go in one write(2) on an O_APPEND descriptor under an
// exclusive flock, so two programs appending to one file never interleave their blocks.
class PosixFiles : public Files {
public:
    PosixFiles();
    // Over other system calls than the kernel's, for a simulated disk.
    explicit PosixFiles(SystemCalls& calls);

    Status createFolder(const std::filesystem::path& folder) override;
    Status touch(const std::filesystem::path& file) override;
    Status readLines(const std::filesystem::path& file, const LineSink& sink) override;
    Status writeFile(const std::filesystem::path& file, std::string_view bytes) override;
    // One note for the group, so that the flushes that wait for the disk do not grow with the number of files.
    Status appendBlocks(const std::vector<PendingBlock>& blocks) override;
    // PATH_MAX counts the terminating NUL.
    std::size_t longestPath() const override { return PATH_MAX - 1; }
    Status keepPrivate(const std::filesystem::path& folder) override;
    // The working folder is the student's own, closed to others, so no other account can make a file in it.
    Status mayWrite(const std::filesystem::path&) override { return Status::success(); }
    bool exists(const std::filesystem::path& path) override;

    // One block appended as appendBlocks appends a group, and taken back again, under the lock, only while the
    // file still ends with exactly that block. The program appends in groups; the tests of the protocol drive
    // these directly.
    Result<AppendReceipt> appendBlock(const std::filesystem::path& file, std::string_view block);
    Status takeBack(const std::filesystem::path& file, const AppendReceipt& receipt);

private:
    SystemCalls& calls_;
};

} // namespace kelvrast
