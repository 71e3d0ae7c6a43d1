#include "support/posix/SimulatedDisk.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace kelvrast::testing {

SimulatedDisk::SimulatedDisk() {
    nodes_[0].folder = true;
}

void SimulatedDisk::settle() {
    for (auto& [number, node] : nodes_) {
        node.durable = node.current;
        node.unflushed.clear();
        node.durableEntries = node.entries;
    }
}

void SimulatedDisk::cutPowerAfter(std::size_t changes) {
    cutAt_ = changes_ + changes;
}

// Counts one change, or finds that the power went before it.
bool SimulatedDisk::change() {
    if (dead_ || (cutAt_ && changes_ == *cutAt_)) {
        dead_ = true;
        return false;
    }
    ++changes_;
    return true;
}

int SimulatedDisk::fail(int error) {
    errno = error;
    return -1;
}

SimulatedDisk::Open* SimulatedDisk::opened(int fd) {
    const auto found = opens_.find(fd);
    return found == opens_.end() ? nullptr : &found->second;
}

std::optional<int> SimulatedDisk::find(const std::filesystem::path& path, int& error) const {
    int at = 0;
    for (const std::filesystem::path& part : path.relative_path()) {
        const Node& node = nodes_.at(at);
        if (!node.folder) {
            error = ENOTDIR;
            return std::nullopt;
        }
        const auto entry = node.entries.find(part.string());
        if (entry == node.entries.end()) {
            error = ENOENT;
            return std::nullopt;
        }
        at = entry->second;
    }
    return at;
}

std::optional<std::string> SimulatedDisk::bytesOf(const std::filesystem::path& file) const {
    int error = 0;
    const std::optional<int> node = find(file, error);
    if (!node || nodes_.at(*node).folder)
        return std::nullopt;
    return nodes_.at(*node).current;
}

std::size_t SimulatedDisk::unflushedChoices() const {
    std::size_t choices = 0;
    for (const auto& [number, node] : nodes_)
        choices += node.unflushed.size() + (node.durable.size() != node.current.size() ? 1 : 0) +
                   (node.durableEntries != node.entries ? 1 : 0);
    return choices;
}

SimulatedDisk SimulatedDisk::afterRestart(PowerCutMode mode, const std::vector<bool>& kept) const {
    SimulatedDisk restarted;
    restarted.nodes_ = nodes_;
    restarted.nextNode_ = nextNode_;
    std::size_t choice = 0;
    auto chosen = [&](bool whenNotChoosing) {
        if (mode != PowerCutMode::somePagesKept)
            return whenNotChoosing;
        const std::size_t at = choice++;
        return at < kept.size() && kept[at];
    };
    for (auto& [number, node] : restarted.nodes_) {
        const bool sizeKept = node.durable.size() == node.current.size() ||
                              chosen(mode == PowerCutMode::grownWithZeros || mode == PowerCutMode::entriesLost);
        std::string bytes = node.durable;
        bytes.resize(sizeKept ? node.current.size() : node.durable.size(), '\0');
        for (const std::size_t page : node.unflushed) {
            if (!chosen(mode == PowerCutMode::entriesLost))
                continue;
            const std::size_t from = page * pageSize;
            const std::size_t to = std::min({from + pageSize, bytes.size(), node.current.size()});
            if (from < to)
                bytes.replace(from, to - from, node.current, from, to - from);
        }
        node.durable = node.current = bytes;
        node.unflushed.clear();
        if (node.durableEntries != node.entries &&
            !chosen(mode == PowerCutMode::somePagesKept || mode == PowerCutMode::grownWithZeros))
            node.entries = node.durableEntries;
        node.durableEntries = node.entries;
        node.lockedBy = -1;
    }
    return restarted;
}

int SimulatedDisk::open(const char* path, int flags, mode_t) {
    if (powerGone())
        return fail(EIO);
    const std::filesystem::path wanted(path);
    int error = 0;
    std::optional<int> node = find(wanted, error);
    if (node && (flags & O_CREAT) && (flags & O_EXCL))
        return fail(EEXIST);
    if (!node) {
        int parentError = 0;
        const std::optional<int> parent = find(wanted.parent_path(), parentError);
        if (error != ENOENT || !(flags & O_CREAT) || !parent || !nodes_.at(*parent).folder)
            return fail(parent ? error : parentError);
        if (!change())
            return fail(EIO);
        node = nextNode_++;
        nodes_[*node];
        nodes_.at(*parent).entries[wanted.filename().string()] = *node;
    }
    Node& found = nodes_.at(*node);
    if ((flags & O_DIRECTORY) && !found.folder)
        return fail(ENOTDIR);
    if (found.folder && (flags & O_ACCMODE) != O_RDONLY)
        return fail(EISDIR);
    if ((flags & O_TRUNC) && !found.current.empty()) {
        if (!change())
            return fail(EIO);
        found.current.clear();
    }
    opens_[nextFd_] = Open{*node, (flags & O_APPEND) != 0};
    return nextFd_++;
}

int SimulatedDisk::close(int fd) {
    Open* open = opened(fd);
    if (!open)
        return fail(EBADF);
    if (nodes_.at(open->node).lockedBy == fd)
        nodes_.at(open->node).lockedBy = -1;
    opens_.erase(fd);
    return powerGone() ? fail(EIO) : 0;
}

ssize_t SimulatedDisk::pread(int fd, void* into, size_t size, off_t at) {
    Open* open = opened(fd);
    if (powerGone() || !open)
        return fail(powerGone() ? EIO : EBADF);
    const std::string& bytes = nodes_.at(open->node).current;
    if (static_cast<std::size_t>(at) >= bytes.size())
        return 0;
    const std::size_t count = std::min(size, bytes.size() - static_cast<std::size_t>(at));
    std::copy_n(bytes.data() + at, count, static_cast<char*>(into));
    return static_cast<ssize_t>(count);
}

ssize_t SimulatedDisk::read(int fd, void* into, size_t size) {
    Open* open = opened(fd);
    if (!open)
        return fail(EBADF);
    const ssize_t count = pread(fd, into, size, open->offset);
    if (count > 0)
        open->offset += count;
    return count;
}

ssize_t SimulatedDisk::writeAt(int fd, std::string_view bytes, std::optional<off_t> at) {
    Open* open = opened(fd);
    if (powerGone() || !open)
        return fail(powerGone() ? EIO : EBADF);
    if (bytes.empty())
        return 0;
    if (!change())
        return fail(EIO);
    Node& node = nodes_.at(open->node);
    const std::size_t from = open->append ? node.current.size() : static_cast<std::size_t>(at.value_or(open->offset));
    if (node.current.size() < from + bytes.size())
        node.current.resize(from + bytes.size(), '\0');
    node.current.replace(from, bytes.size(), bytes);
    for (std::size_t page = from / pageSize; page <= (from + bytes.size() - 1) / pageSize; ++page)
        node.unflushed.insert(page);
    if (!at)
        open->offset = static_cast<off_t>(from + bytes.size());
    return static_cast<ssize_t>(bytes.size());
}

ssize_t SimulatedDisk::write(int fd, const void* bytes, size_t size) {
    return writeAt(fd, std::string_view(static_cast<const char*>(bytes), size), std::nullopt);
}

ssize_t SimulatedDisk::pwritev(int fd, const iovec* parts, int count, off_t at) {
    std::string gathered;
    for (int part = 0; part < count; ++part)
        gathered.append(static_cast<const char*>(parts[part].iov_base), parts[part].iov_len);
    return writeAt(fd, gathered, at);
}

int SimulatedDisk::ftruncate(int fd, off_t size) {
    Open* open = opened(fd);
    if (powerGone() || !open)
        return fail(powerGone() ? EIO : EBADF);
    if (!change())
        return fail(EIO);
    nodes_.at(open->node).current.resize(static_cast<std::size_t>(size), '\0');
    return 0;
}

int SimulatedDisk::fdatasync(int fd) {
    Open* open = opened(fd);
    if (powerGone() || !open)
        return fail(powerGone() ? EIO : EBADF);
    if (!change())
        return fail(EIO);
    Node& node = nodes_.at(open->node);
    node.durable = node.current;
    node.unflushed.clear();
    return 0;
}

int SimulatedDisk::fsync(int fd) {
    Open* open = opened(fd);
    if (powerGone() || !open)
        return fail(powerGone() ? EIO : EBADF);
    Node& node = nodes_.at(open->node);
    if (!node.folder)
        return fdatasync(fd);
    if (!change())
        return fail(EIO);
    node.durableEntries = node.entries;
    return 0;
}

int SimulatedDisk::fstat(int fd, struct stat* into) {
    Open* open = opened(fd);
    if (powerGone() || !open)
        return fail(powerGone() ? EIO : EBADF);
    const Node& node = nodes_.at(open->node);
    *into = {};
    into->st_mode = node.folder ? (S_IFDIR | 0700) : (S_IFREG | 0600);
    into->st_size = static_cast<off_t>(node.current.size());
    return 0;
}

int SimulatedDisk::flock(int fd, int operation) {
    Open* open = opened(fd);
    if (powerGone() || !open)
        return fail(powerGone() ? EIO : EBADF);
    int& lockedBy = nodes_.at(open->node).lockedBy;
    if (operation == LOCK_UN) {
        if (lockedBy == fd)
            lockedBy = -1;
        return 0;
    }
    if (lockedBy != -1 && lockedBy != fd)
        return fail(EWOULDBLOCK);
    lockedBy = fd;
    return 0;
}

int SimulatedDisk::mkdir(const char* path, mode_t) {
    if (powerGone())
        return fail(EIO);
    const std::filesystem::path wanted(path);
    int error = 0;
    if (find(wanted, error))
        return fail(EEXIST);
    const std::optional<int> parent = find(wanted.parent_path(), error);
    if (!parent)
        return fail(error);
    if (!change())
        return fail(EIO);
    const int node = nextNode_++;
    nodes_[node].folder = true;
    nodes_.at(*parent).entries[wanted.filename().string()] = node;
    return 0;
}

} // namespace kelvrast::testing
