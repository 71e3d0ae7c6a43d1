#include "support/TempFolder.h"

#include "system/web/Opfs.h"

#include <random>
#include <stdexcept>

namespace kelvrast::testing {

TempFolder::TempFolder() {
    std::random_device seed;
    std::mt19937_64 names(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = "/kelvrast-test-" + std::to_string(names());
        if (opfs::makeFolder(candidate, true) == opfs::Error::none) {
            path_ = std::move(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    opfs::remove(path_);
}

std::string readBytes(const std::filesystem::path& file) {
    std::string bytes;
    opfs::readAll(file, bytes);
    return bytes;
}

void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    opfs::AccessHandle handle(file, true);
    if (handle.truncate(0) != opfs::Error::none || handle.write(0, bytes) != opfs::Error::none ||
        handle.flush() != opfs::Error::none)
        throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::filesystem::path> entriesOf(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    if (opfs::namesIn(folder, names) != opfs::Error::none)
        throw std::runtime_error("cannot list " + folder.string());
    std::vector<std::filesystem::path> entries;
    for (const std::string& name : names)
        entries.push_back(folder / std::filesystem::path(std::u8string(name.begin(), name.end())));
    return entries;
}

bool isThere(const std::filesystem::path& path) {
    opfs::Error error = opfs::Error::none;
    const std::optional<opfs::Kind> kind = opfs::kindOf(path, error);
    return kind && *kind != opfs::Kind::none;
}

void makeFolder(const std::filesystem::path& folder) {
    if (opfs::makeFolder(folder, true) != opfs::Error::none)
        throw std::runtime_error("cannot make " + folder.string());
}

void removeEntry(const std::filesystem::path& path) {
    opfs::remove(path);
}

std::int64_t lastWriteStamp(const std::filesystem::path& file) {
    const std::optional<std::int64_t> written = opfs::lastModified(file);
    if (!written)
        throw std::runtime_error("cannot read the date of " + file.string());
    return *written;
}

// A page can date no file of its own: the browser dates each when it is written.
bool setLastWriteStamp(const std::filesystem::path&, std::int64_t) {
    return false;
}

} // namespace kelvrast::testing
