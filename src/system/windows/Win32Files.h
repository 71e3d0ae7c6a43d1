#pragma once

#include "platform/Files.h"
#include "system/shared/AppendReceipt.h"
#include "system/windows/Win32Calls.h"

#include <functional>
#include <map>
#include <set>
#include <vector>

namespace kelvrast {

// What the run has learnt of who owns what in the folders it writes to.
struct KnownOwners {
    // Files made or found to be the student's own, which are not asked about again.
    std::set<std::filesystem::path> ownFiles;
    // By folder, the owner that a file this account makes there gets (see Win32Files.cpp); empty where none could be
    // made.
    std::map<std::filesystem::path, std::vector<unsigned char>> madeOwner;
};

// Files on Windows, with wide-character paths so that every name the student can type makes a valid file name.
// Answer-file blocks go in one WriteFile on a handle opened for appending, under an exclusive LockFileEx, so two
// programs appending to one file never interleave their blocks. Every account of the computer may add files to the
// working folder, so nothing is written into a file another account made there.
class Win32Files : public Files {
public:
    // A file that another program holds without sharing is tried again for about a second.
    Win32Files();
    // Over other calls than the system's, for a simulated disk.
    explicit Win32Files(Win32Calls& calls);
    // The same, with this wait between two tries in place of a twentieth of a second: a test's own.
    explicit Win32Files(std::function<void()> waitWhileHeld);
    Win32Files(Win32Calls& calls, std::function<void()> waitWhileHeld);

    Status createFolder(const std::filesystem::path& folder) override;
    Status touch(const std::filesystem::path& file) override;
    Status readLines(const std::filesystem::path& file, const LineSink& sink) override;
    Status writeFile(const std::filesystem::path& file, std::string_view bytes) override;
    // One note for the group, so that the flushes that wait for the disk do not grow with the number of files.
    Status appendBlocks(const std::vector<PendingBlock>& blocks) override;
    std::size_t longestPath() const override;
    Status keepPrivate(const std::filesystem::path& folder) override;
    // An existing file that another account owns is refused; so is one this account may not even look at.
    Status mayWrite(const std::filesystem::path& file) override;
    bool exists(const std::filesystem::path& path) override;

    // One block appended as appendBlocks appends a group, and taken back again, under the lock, only while the
    // file still ends with exactly that block. The program appends in groups; the tests of the protocol drive
    // these directly.
    Result<AppendReceipt> appendBlock(const std::filesystem::path& file, std::string_view block);
    Status takeBack(const std::filesystem::path& file, const AppendReceipt& receipt);

private:
    Win32Calls& calls_;
    std::function<void()> waitWhileHeld_;
    KnownOwners owners_;
};

} // namespace kelvrast
