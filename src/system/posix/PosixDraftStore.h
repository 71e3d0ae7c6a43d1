#pragma once

#include "platform/DraftStore.h"

namespace kelvrast {

// Drafts in a folder of mode 0700, each file 0600, whatever the umask: what the student has not recorded yet is
// for the student's account alone. A file is replaced by renaming a flushed copy over it, then flushing the folder.
class PosixDraftStore : public DraftStore {
public:
    explicit PosixDraftStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

    std::filesystem::path pathOf(const std::filesystem::path& fileName) const override { return folder_ / fileName; }
    Status replace(const std::filesystem::path& fileName, std::string_view bytes) override;
    Result<std::string> read(const std::filesystem::path& fileName) override;
    Status remove(const std::filesystem::path& fileName) override;

private:
    Status makeFolder() const;

    std::filesystem::path folder_;
};

} // namespace kelvrast
