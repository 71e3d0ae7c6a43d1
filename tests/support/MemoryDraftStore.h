#pragma once

#include "platform/DraftStore.h"

#include <map>
#include <mutex>
#include <string>

namespace kelvrast::testing {

// Drafts in memory, safe to use from the writer's thread while the test reads them; with failing set, every call
// fails as a full disk would.
class MemoryDraftStore : public DraftStore {
public:
    std::filesystem::path pathOf(const std::filesystem::path& fileName) const override { return "drafts" / fileName; }
    Status replace(const std::filesystem::path& fileName, std::string_view bytes) override {
        std::lock_guard lock(mutex_);
        if (failing_)
            return Status::failure(u"the disk is full");
        files_[fileName] = bytes;
        return Status::success();
    }
    Result<std::string> read(const std::filesystem::path& fileName) override {
        std::lock_guard lock(mutex_);
        if (failing_)
            return Status::failure(u"the disk cannot be read");
        const auto found = files_.find(fileName);
        if (found == files_.end())
            return Status::notFound(u"no draft");
        return found->second;
    }
    Status remove(const std::filesystem::path& fileName) override {
        std::lock_guard lock(mutex_);
        if (failing_)
            return Status::failure(u"the disk is full");
        files_.erase(fileName);
        return Status::success();
    }

    std::map<std::filesystem::path, std::string> files() {
        std::lock_guard lock(mutex_);
        return files_;
    }
    void put(const std::filesystem::path& fileName, std::string bytes) {
        std::lock_guard lock(mutex_);
        files_[fileName] = std::move(bytes);
    }
    void setFailing(bool failing) {
        std::lock_guard lock(mutex_);
        failing_ = failing;
    }

private:
    std::mutex mutex_;
    std::map<std::filesystem::path, std::string> files_;
    bool failing_ = false;
};

} // namespace kelvrast::testing
