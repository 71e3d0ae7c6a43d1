#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvrast::testing {

// A fresh folder under the system's temporary folder (in a browser, at the root of the origin-private file system),
// removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The bytes of a file, or the empty text when it cannot be read.
std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);
// What the folder holds, each entry's whole path; and whether a file or folder stands at path.
std::vector<std::filesystem::path> entriesOf(const std::filesystem::path& folder);
bool isThere(const std::filesystem::path& path);
// Makes one folder; removes a file or a folder with all it holds.
void makeFolder(const std::filesystem::path& folder);
void removeEntry(const std::filesystem::path& path);
// When the file was last written, in nanoseconds since 1970, as the unfinished-append notes' stamps count it.
std::int64_t lastWriteStamp(const std::filesystem::path& file);
// Dates the file, as an editor's save would; false where the system lets no program do that (a browser).
bool setLastWriteStamp(const std::filesystem::path& file, std::int64_t stamp);

} // namespace kelvrast::testing
