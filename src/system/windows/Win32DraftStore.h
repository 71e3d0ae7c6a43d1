#pragma once

#include "platform/DraftStore.h"

namespace kelvrast {

// Drafts in the account's own local application data. A file is replaced by moving a flushed copy over it with
// MOVEFILE_WRITE_THROUGH, which returns only once the move is on the disk.
class Win32DraftStore : public DraftStore {
public:
    explicit Win32DraftStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

    std::filesystem::path pathOf(const std::filesystem::path& fileName) const override { return folder_ / fileName; }
    Status replace(const std::filesystem::path& fileName, std::string_view bytes) override;
    Result<std::string> read(const std::filesystem::path& fileName) override;
    Status remove(const std::filesystem::path& fileName) override;

private:
    std::filesystem::path folder_;
};

} // namespace kelvrast
