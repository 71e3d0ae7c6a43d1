#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The origin-private file system of the browser (opfs.js), in the program's terms. Calls that wait for the browser
// suspend the program until it answers; the program runs in a dedicated worker, where a file's sync access handle
// reads, writes and flushes at once.
namespace kelvrast::opfs {

// Why a call failed: the error the browser named.
enum class Error {
    none = 0,
    notFound = 1,
    isFolder = 2, // a file was asked for where a folder stands
    held = 3,     // another sync access handle holds the file's lock
    quotaExceeded = 4,
    invalidName = 5,
    exists = 6,
    notAFolder = 7, // a name on the way to it is a file
    other = 8,
};

enum class Kind { none, file, folder };

// A file open through a sync access handle, which holds the file's lock, in this tab and every other of the
// origin, until it is closed.
class AccessHandle {
public:
    // Opens the file, making it when create is set and it is missing; its folder must be there.
    AccessHandle(const std::filesystem::path& file, bool create);
    ~AccessHandle();
    AccessHandle(const AccessHandle&) = delete;
    AccessHandle& operator=(const AccessHandle&) = delete;

    Error error() const { return error_; }
    bool isOpen() const { return handle_ > 0; }

    // The bytes read from offset on, which may be fewer than into holds at the end of the file.
    std::optional<std::size_t> read(std::uint64_t offset, char* into, std::size_t size);
    // Writes all of bytes at offset; the error otherwise.
    Error write(std::uint64_t offset, std::string_view bytes);
    std::optional<std::uint64_t> size();
    Error truncate(std::uint64_t size);
    // What was written reaches the disk before this returns.
    Error flush();

private:
    int handle_ = 0;
    Error error_ = Error::none;
};

// With mustBeNew, makes the folder in its existing parent and fails with exists when anything stands at its name;
// without, makes it and every missing folder above it, and leaves one that is there.
Error makeFolder(const std::filesystem::path& folder, bool mustBeNew);
// What stands at path, or the error that kept it from being looked at.
std::optional<Kind> kindOf(const std::filesystem::path& path, Error& error);
// Removes the file or folder, with all a folder holds.
Error remove(const std::filesystem::path& path);
// Puts the file at from in the place of to, replacing what stood there.
Error move(const std::filesystem::path& from, const std::filesystem::path& to);
// Replaces the file whole: a flushed copy beside it, under its name and ".new", is put in its place, so that a kill
// leaves the old bytes or the new.
Error replaceWhole(const std::filesystem::path& file, std::string_view bytes);
// The whole file, read without taking its lock.
Error readAll(const std::filesystem::path& file, std::string& into);
// When the file was last written, in nanoseconds since 1970 (the browser dates files to the millisecond).
std::optional<std::int64_t> lastModified(const std::filesystem::path& file);
// The names in the folder, in no particular order.
Error namesIn(const std::filesystem::path& folder, std::vector<std::string>& names);

} // namespace kelvrast::opfs
