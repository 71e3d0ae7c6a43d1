#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kelvrast::testing {

// What a disk may have kept, after a power cut, of the changes that were not flushed.
enum class PowerCutMode {
    unflushedLost,    // all of them lost, folder entries too
    somePagesKept,    // any subset of the unflushed sectors, sizes (whole or part of the way) and folders' entries
    grownWithZeros,   // each file's new size kept, its unflushed bytes zeros
    grownWithGarbage, // each file's new size kept, its unflushed bytes old bytes of the disk
    entriesLost,      // every byte kept, but the entries of folders not flushed lost
    killed,           // only the program killed: everything it wrote kept
};

// A disk that records every change and tells the flushed from the unflushed, whatever system's calls reach it: an
// adapter (posix/SimulatedDisk, windows/SimulatedWin32Disk) turns each call into changes here and says which call
// makes what durable. The power goes after any chosen change: that change is made, every later call fails.
// restart then leaves one state a real disk may have kept.
// Single-threaded: a lock another open file holds fails at once instead of waiting, which here would mean two
// appends overlapping.
class SimulatedDiskModel {
public:
    // A page of the cache, as the file system writes it.
    static constexpr std::size_t pageSize = 4096;
    // What a power cut keeps whole or loses whole: a page may reach the disk in part, sector by sector.
    static constexpr std::size_t sectorSize = 512;

    SimulatedDiskModel();

    // Every change so far made durable, as after a clean shutdown.
    void settle();
    // The power goes after this many more changes.
    void cutPowerAfter(std::size_t changes);
    // Changes made so far: writes, sizes, flushes, files and folders made.
    std::size_t changes() const { return changes_; }
    // The file's bytes as the program now reads them; nothing when there is no such file.
    std::optional<std::string> bytesOf(const std::filesystem::path& file) const;
    // A folder made and flushed, outside any count: where the program's own folders go.
    void makeDurableFolder(const std::filesystem::path& folder);
    // The file saved by an editor while the program is not running, a minute later than now.
    void editedByStudent(const std::filesystem::path& file, const std::string& bytes);

    // How many unflushed sectors, sizes and folders' entries a restart in somePagesKept mode chooses from.
    std::size_t unflushedChoices() const;
    // The restart after the power cut: the disk keeps what mode says of what was not flushed (kept holds one flag
    // per unflushed choice, read in somePagesKept mode only); nothing is open or locked, and the power is back.
    void restart(PowerCutMode mode, const std::vector<bool>& kept = {});

protected:
    struct Node {
        bool folder = false;
        std::string durable, current;                       // a file's bytes: flushed, and as the program sees them
        std::set<std::size_t> unflushed;                    // sectors written since the last flush
        std::map<std::string, int> durableEntries, entries; // a folder's
        int lockedBy = -1;
        std::int64_t lastWrite = 0; // nanoseconds since 1970, by the real clock: kept whatever the power cut
    };
    // An open file; rights are the adapter's own (the access asked for).
    struct Open {
        int node;
        bool append;
        unsigned rights = 0;
        std::uint64_t offset = 0;
    };

    bool powerGone() const { return dead_; }
    // Counts one change, or finds that the power went before it.
    bool change();
    std::optional<int> find(const std::filesystem::path& path) const;
    Node& node(int number) { return nodes_.at(number); }
    // A new file or folder in the folder, as the program sees it; its entry is durable once the folder is flushed.
    int makeNode(int folder, const std::filesystem::path& name, bool isFolder);

    int openNode(int node, bool append, unsigned rights = 0);
    Open* opened(int open);
    void close(int open);
    // Takes the file's lock for this open file; false when another holds it.
    bool lock(int open);
    void unlock(int open);

    std::size_t readAt(int node, char* into, std::size_t size, std::uint64_t at) const;
    // Writes at the offset given, or at the position, which then moves past the bytes; at the end when appending.
    std::size_t writeAt(Open& open, std::string_view bytes, std::optional<std::uint64_t> at);
    void resize(int node, std::uint64_t size);
    std::int64_t lastWriteOf(int node) const { return nodes_.at(node).lastWrite; }
    void flushData(int node);
    void flushEntries(int folder);
    // Makes durable the entry that names the node in its folder.
    void flushEntryOf(int node);
    // Moves the entry from to to, in place of any entry there; durable once both folders are flushed.
    void moveEntry(const std::filesystem::path& from, const std::filesystem::path& to);
    void removeEntry(const std::filesystem::path& path);

private:
    std::map<int, Node> nodes_;
    std::map<int, Open> opens_;
    int nextNode_ = 1;
    int nextOpen_ = 1000;
    std::size_t changes_ = 0;
    std::optional<std::size_t> cutAt_;
    bool dead_ = false;
};

} // namespace kelvrast::testing
