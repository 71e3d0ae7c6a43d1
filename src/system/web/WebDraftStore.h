#pragma once

#include "platform/DraftStore.h"

namespace kelvrast {

// Drafts in a folder of the origin-private file system, made with the folders above it when missing, each draft
// replaced whole by putting a flushed copy in its place.
class WebDraftStore : public DraftStore {
public:
    explicit WebDraftStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

    std::filesystem::path pathOf(const std::filesystem::path& fileName) const override { return folder_ / fileName; }
    Status replace(const std::filesystem::path& fileName, std::string_view bytes) override;
    Result<std::string> read(const std::filesystem::path& fileName) override;
    Status remove(const std::filesystem::path& fileName) override;

private:
    std::filesystem::path folder_;
};

} // namespace kelvrast
