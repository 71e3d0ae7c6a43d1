#include "support/TempFolder.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace kelvrast::testing {

TempFolder::TempFolder() {
    // A name nobody else holds: create_directory reports whether it made the folder or found it there.
    std::random_device seed;
    std::mt19937_64 names(seed());
    const std::filesystem::path parent = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = parent / ("kelvrast-test-" + std::to_string(names()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = std::move(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<std::filesystem::path> entriesOf(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        entries.push_back(entry.path());
    return entries;
}

bool isThere(const std::filesystem::path& path) {
    return std::filesystem::exists(path);
}

void makeFolder(const std::filesystem::path& folder) {
    std::filesystem::create_directory(folder);
}

void removeEntry(const std::filesystem::path& path) {
    std::filesystem::remove_all(path);
}

std::int64_t lastWriteStamp(const std::filesystem::path& file) {
    const auto written = std::chrono::file_clock::to_sys(std::filesystem::last_write_time(file));
    return std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch()).count();
}

bool setLastWriteStamp(const std::filesystem::path& file, std::int64_t stamp) {
    const std::chrono::sys_time<std::chrono::nanoseconds> written{std::chrono::nanoseconds(stamp)};
    std::filesystem::last_write_time(
        file,
        std::chrono::file_clock::from_sys(std::chrono::time_point_cast<std::chrono::system_clock::duration>(written)));
    return true;
}

} // namespace kelvrast::testing
