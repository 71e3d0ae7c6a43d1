#pragma once

#include "platform/Status.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvrast {

// The folder where the text being typed is kept between runs, one file for each student, for the student's account
// alone. Calls may come from a thread other than the window's, one at a time.
class DraftStore {
public:
    virtual ~DraftStore() = default;

    // Where the draft of this file name lives.
    virtual std::filesystem::path pathOf(const std::filesystem::path& fileName) const = 0;
    // Replaces the file whole and durably: after a kill or a power cut it holds the old bytes or the new, never a
    // mix. The folder is made when missing.
    virtual Status replace(const std::filesystem::path& fileName, std::string_view bytes) = 0;
    // The file's bytes; a "not found" failure when there is none.
    virtual Result<std::string> read(const std::filesystem::path& fileName) = 0;
    // Removes the file durably; a file that is not there is no failure.
    virtual Status remove(const std::filesystem::path& fileName) = 0;
};

} // namespace kelvrast
