#include "support/FaultyFiles.h"

#include "system/shared/FileFailure.h"

namespace kelvrast::testing {

bool FaultyFiles::fails(const char* what, const std::filesystem::path& file) {
    ++operations;
    log.push_back(std::string(what) + " " + file.filename().string());
    return failAt && (keepFailing ? operations >= *failAt : operations == *failAt);
}

Failure FaultyFiles::injected(const std::filesystem::path& file) {
    return Status::failure(u"Could not write to " + file.u16string() + u": the disk is full.");
}

Status FaultyFiles::createFolder(const std::filesystem::path& folder) {
    return fails("createFolder", folder) ? injected(folder) : inner_.createFolder(folder);
}

Status FaultyFiles::touch(const std::filesystem::path& file) {
    return fails("touch", file) ? injected(file) : inner_.touch(file);
}

Status FaultyFiles::readLines(const std::filesystem::path& file, const LineSink& sink) {
    return fails("readLines", file) ? injected(file) : inner_.readLines(file, sink);
}

Status FaultyFiles::writeFile(const std::filesystem::path& file, std::string_view bytes) {
    return fails("writeFile", file) ? injected(file) : inner_.writeFile(file, bytes);
}

Result<AppendReceipt> FaultyFiles::appendBlock(const std::filesystem::path& file, std::string_view block) {
    if (fails("appendBlock", file))
        return injected(file);
    return inner_.appendBlock(file, block);
}

// With a fault to inject, block by block, so that it can fall between two files; without one, the blocks go to the
// real files together, as in the program, counted as one operation each all the same.
Status FaultyFiles::appendBlocks(const std::vector<PendingBlock>& blocks) {
    if (failAt)
        return appendOneByOne(blocks);
    for (const PendingBlock& block : blocks)
        static_cast<void>(fails("appendBlock", block.file));
    return inner_.appendBlocks(blocks);
}

Status FaultyFiles::appendOneByOne(const std::vector<PendingBlock>& blocks) {
    std::vector<AppendReceipt> receipts;
    receipts.reserve(blocks.size());
    for (const PendingBlock& block : blocks) {
        Result<AppendReceipt> appended = appendBlock(block.file, block.bytes);
        if (appended.ok()) {
            receipts.push_back(appended.value());
            continue;
        }
        std::u16string message = appended.status().message();
        for (std::size_t done = receipts.size(); done-- > 0;) {
            // The student must not be told that nothing was recorded while a file keeps a copy.
            if (Status takenBack = takeBack(blocks[done].file, receipts[done]); !takenBack.ok())
                message += copyLeftBehind(blocks[done].file, takenBack);
        }
        return Status::failure(message);
    }
    return Status::success();
}

Status FaultyFiles::takeBack(const std::filesystem::path& file, const AppendReceipt& receipt) {
    return fails("takeBack", file) ? injected(file) : inner_.takeBack(file, receipt);
}

// Not counted: the fault points of the operations that write answers stay where the fault tests expect them, and
// the start-up test of private files covers a failure to keep the folder private.
Status FaultyFiles::keepPrivate(const std::filesystem::path& folder) {
    return inner_.keepPrivate(folder);
}

} // namespace kelvrast::testing
