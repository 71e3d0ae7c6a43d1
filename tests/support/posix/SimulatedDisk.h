#pragma once

#include "system/posix/SystemCalls.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kelvrast::testing {

// What a disk may have kept, after a power cut, of the changes that were not flushed.
enum class PowerCutMode {
    unflushedLost,  // all of them lost, folder entries too
    somePagesKept,  // any subset of the unflushed pages, sizes and folders' entries
    grownWithZeros, // each file's new size kept, its unflushed bytes zeros
    entriesLost,    // every byte kept, but the entries of folders not flushed lost
};

// A disk below PosixFiles that records every change and tells the flushed from the unflushed, as the man pages
// of fsync(2) and fdatasync(2) promise no more: fdatasync or fsync makes a file's bytes and size durable, an
// fsync of a folder its entries; nothing else is. The power goes after any chosen change: that change is made,
// every later call fails with EIO. afterRestart then gives one state a real disk may have kept.
// Single-threaded: a lock another descriptor holds fails at once instead of waiting, which here would mean two
// appends overlapping.
class SimulatedDisk final : public SystemCalls {
public:
    // A page of the page cache: what a power cut keeps whole or loses whole.
    static constexpr std::size_t pageSize = 4096;

    SimulatedDisk();

    // Every change so far made durable, as after a clean shutdown.
    void settle();
    // The power goes after this many more changes.
    void cutPowerAfter(std::size_t changes);
    // Changes made so far: writes, sizes, flushes, files and folders made.
    std::size_t changes() const { return changes_; }
    // The file's bytes as the program now reads them; nothing when there is no such file.
    std::optional<std::string> bytesOf(const std::filesystem::path& file) const;

    // How many unflushed pages, sizes and folders' entries a restart in somePagesKept mode chooses from.
    std::size_t unflushedChoices() const;
    // The disk after a restart; kept holds one flag per unflushed choice, read in somePagesKept mode only.
    SimulatedDisk afterRestart(PowerCutMode mode, const std::vector<bool>& kept = {}) const;

    int open(const char* path, int flags, mode_t mode) override;
    int close(int fd) override;
    ssize_t read(int fd, void* into, size_t size) override;
    ssize_t pread(int fd, void* into, size_t size, off_t at) override;
    ssize_t write(int fd, const void* bytes, size_t size) override;
    ssize_t pwritev(int fd, const iovec* parts, int count, off_t at) override;
    int ftruncate(int fd, off_t size) override;
    int fdatasync(int fd) override;
    int fsync(int fd) override;
    int fstat(int fd, struct stat* into) override;
    int flock(int fd, int operation) override;
    int mkdir(const char* path, mode_t mode) override;

private:
    struct Node {
        bool folder = false;
        std::string durable, current;                       // a file's bytes: flushed, and as the program sees them
        std::set<std::size_t> unflushed;                    // pages written since the last flush
        std::map<std::string, int> durableEntries, entries; // a folder's
        int lockedBy = -1;
    };
    struct Open {
        int node;
        bool append;
        off_t offset = 0;
    };

    bool powerGone() const { return dead_; }
    bool change();
    int fail(int error);
    Open* opened(int fd);
    std::optional<int> find(const std::filesystem::path& path, int& error) const;
    ssize_t writeAt(int fd, std::string_view bytes, std::optional<off_t> at);

    std::map<int, Node> nodes_;
    std::map<int, Open> opens_;
    int nextNode_ = 1;
    int nextFd_ = 1000;
    std::size_t changes_ = 0;
    std::optional<std::size_t> cutAt_;
    bool dead_ = false;
};

} // namespace kelvrast::testing
