#include "platform/Files.h"

#include "system/shared/FileFailure.h"

namespace kelvrast {

Status Files::appendBlocks(const std::vector<PendingBlock>& blocks) {
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

} // namespace kelvrast
