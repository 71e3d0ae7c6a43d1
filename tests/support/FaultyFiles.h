#pragma once

#include "platform/Files.h"
#include "system/SystemFiles.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvrast::testing {

// Passes every operation on to real files, except that the operation numbered failAt (counting from 1)
// fails as a disk would, leaving the file as it was.
class FaultyFiles : public Files {
public:
    explicit FaultyFiles(SystemFiles& inner) : inner_(inner) {}

    std::optional<int> failAt;
    // From the fault on, every later operation fails too, as on a disk that has gone bad.
    bool keepFailing = false;
    int operations = 0;
    std::vector<std::string> log; // "append <file name>", one entry per operation
    // The longest path the files take, in place of the real files' own.
    std::optional<std::size_t> pathLimit;

    Status createFolder(const std::filesystem::path& folder) override;
    Status touch(const std::filesystem::path& file) override;
    Status readLines(const std::filesystem::path& file, const LineSink& sink) override;
    Status writeFile(const std::filesystem::path& file, std::string_view bytes) override;
    // Before the fault, the real files' own group append; with a fault to come, one append after the other, each
    // taken back when a later one fails, so that the fault can fall between the files.
    Status appendBlocks(const std::vector<PendingBlock>& blocks) override;
    std::size_t longestPath() const override { return pathLimit.value_or(inner_.longestPath()); }
    Status keepPrivate(const std::filesystem::path& folder) override;
    // Questions that write nothing: no fault is injected into them, so that the faults fall where they did.
    Status mayWrite(const std::filesystem::path& file) override { return inner_.mayWrite(file); }
    bool exists(const std::filesystem::path& path) override { return inner_.exists(path); }

private:
    // Counts the operation; true when this one is to fail.
    bool fails(const char* what, const std::filesystem::path& file);
    static Failure injected(const std::filesystem::path& file);
    Result<AppendReceipt> appendBlock(const std::filesystem::path& file, std::string_view block);
    Status takeBack(const std::filesystem::path& file, const AppendReceipt& receipt);
    Status appendOneByOne(const std::vector<PendingBlock>& blocks);

    SystemFiles& inner_;
};

} // namespace kelvrast::testing
