#include "support/posix/SimulatedDisk.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace kelvrast::testing {

int SimulatedDisk::fail(int error) {
    errno = error;
    return -1;
}

SimulatedDisk::Open* SimulatedDisk::usable(int fd) {
    Open* open = opened(fd);
    if (powerGone() || !open) {
        errno = powerGone() ? EIO : EBADF;
        return nullptr;
    }
    return open;
}

int SimulatedDisk::open(const char* path, int flags, mode_t) {
    if (powerGone())
        return fail(EIO);
    const std::filesystem::path wanted(path);
    std::optional<int> found = find(wanted);
    if (found && (flags & O_CREAT) && (flags & O_EXCL))
        return fail(EEXIST);
    if (!found) {
        const std::optional<int> parent = find(wanted.parent_path());
        if (!(flags & O_CREAT) || !parent || !node(*parent).folder)
            return fail(parent && !node(*parent).folder ? ENOTDIR : ENOENT);
        if (!change())
            return fail(EIO);
        found = makeNode(*parent, wanted.filename(), false);
    }
    Node& file = node(*found);
    if ((flags & O_DIRECTORY) && !file.folder)
        return fail(ENOTDIR);
    if (file.folder && (flags & O_ACCMODE) != O_RDONLY)
        return fail(EISDIR);
    if ((flags & O_TRUNC) && !file.current.empty()) {
        if (!change())
            return fail(EIO);
        resize(*found, 0);
    }
    return openNode(*found, (flags & O_APPEND) != 0);
}

int SimulatedDisk::close(int fd) {
    if (!opened(fd))
        return fail(EBADF);
    SimulatedDiskModel::close(fd);
    return powerGone() ? fail(EIO) : 0;
}

ssize_t SimulatedDisk::pread(int fd, void* into, size_t size, off_t at) {
    Open* open = usable(fd);
    if (!open)
        return -1;
    return static_cast<ssize_t>(readAt(open->node, static_cast<char*>(into), size, static_cast<std::uint64_t>(at)));
}

ssize_t SimulatedDisk::read(int fd, void* into, size_t size) {
    Open* open = opened(fd);
    if (!open)
        return fail(EBADF);
    const ssize_t count = pread(fd, into, size, static_cast<off_t>(open->offset));
    if (count > 0)
        open->offset += static_cast<std::uint64_t>(count);
    return count;
}

ssize_t SimulatedDisk::writeAt(int fd, std::string_view bytes, std::optional<off_t> at) {
    Open* open = usable(fd);
    if (!open)
        return -1;
    if (bytes.empty())
        return 0;
    if (!change())
        return fail(EIO);
    const auto from = at ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(*at)) : std::nullopt;
    return static_cast<ssize_t>(SimulatedDiskModel::writeAt(*open, bytes, from));
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
    Open* open = usable(fd);
    if (!open)
        return -1;
    if (!change())
        return fail(EIO);
    resize(open->node, static_cast<std::uint64_t>(size));
    return 0;
}

int SimulatedDisk::fdatasync(int fd) {
    Open* open = usable(fd);
    if (!open)
        return -1;
    if (!change())
        return fail(EIO);
    flushData(open->node);
    return 0;
}

int SimulatedDisk::fsync(int fd) {
    Open* open = usable(fd);
    if (!open)
        return -1;
    if (!node(open->node).folder)
        return fdatasync(fd);
    if (!change())
        return fail(EIO);
    flushEntries(open->node);
    return 0;
}

int SimulatedDisk::fstat(int fd, struct stat* into) {
    Open* open = usable(fd);
    if (!open)
        return -1;
    const Node& file = node(open->node);
    *into = {};
    into->st_mode = file.folder ? (S_IFDIR | 0700) : (S_IFREG | 0600);
    into->st_size = static_cast<off_t>(file.current.size());
    into->st_mtim.tv_sec = static_cast<time_t>(lastWriteOf(open->node) / 1'000'000'000);
    into->st_mtim.tv_nsec = static_cast<long>(lastWriteOf(open->node) % 1'000'000'000);
    return 0;
}

int SimulatedDisk::flock(int fd, int operation) {
    if (!usable(fd))
        return -1;
    if (operation == LOCK_UN) {
        unlock(fd);
        return 0;
    }
    return lock(fd) ? 0 : fail(EWOULDBLOCK);
}

int SimulatedDisk::mkdir(const char* path, mode_t) {
    if (powerGone())
        return fail(EIO);
    const std::filesystem::path wanted(path);
    if (find(wanted))
        return fail(EEXIST);
    const std::optional<int> parent = find(wanted.parent_path());
    if (!parent || !node(*parent).folder)
        return fail(parent ? ENOTDIR : ENOENT);
    if (!change())
        return fail(EIO);
    makeNode(*parent, wanted.filename(), true);
    return 0;
}

int SimulatedDisk::rename(const char* from, const char* to) {
    if (powerGone())
        return fail(EIO);
    const std::optional<int> moved = find(from);
    const std::optional<int> replaced = find(to);
    const std::optional<int> folder = find(std::filesystem::path(to).parent_path());
    if (!moved || !folder)
        return fail(ENOENT);
    if (replaced && node(*replaced).folder)
        return fail(EISDIR);
    if (!change())
        return fail(EIO);
    moveEntry(from, to);
    return 0;
}

int SimulatedDisk::unlink(const char* path) {
    if (powerGone())
        return fail(EIO);
    const std::optional<int> found = find(path);
    if (!found)
        return fail(ENOENT);
    if (node(*found).folder)
        return fail(EISDIR);
    if (!change())
        return fail(EIO);
    removeEntry(path);
    return 0;
}

} // namespace kelvrast::testing
