#include "flow/BlockWriter.h"

#include "platform/MessageText.h"

namespace kelvrast {

Status appendAllOrNothing(Files& files, const std::vector<PendingBlock>& blocks) {
    std::vector<AppendReceipt> receipts;
    receipts.reserve(blocks.size());
    for (const PendingBlock& block : blocks) {
        Result<AppendReceipt> appended = files.appendBlock(block.file, block.bytes);
        if (appended.ok()) {
            receipts.push_back(appended.value());
            continue;
        }
        std::u16string message = appended.status().message();
        for (std::size_t done = receipts.size(); done-- > 0;) {
            Status takenBack = files.takeBack(blocks[done].file, receipts[done]);
            // The student must not be told that nothing was recorded while a file keeps a copy.
            if (!takenBack.ok())
                message += u" The copy already written to " + pathText(blocks[done].file) +
                           u" stays there, because it could not be taken out again. " + takenBack.message();
        }
        return Status::failure(message);
    }
    return Status::success();
}

} // namespace kelvrast
