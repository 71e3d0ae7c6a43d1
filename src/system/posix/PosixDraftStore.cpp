#include "system/posix/PosixDraftStore.h"

#include "system/posix/FileDescriptor.h"
#include "system/posix/PosixFailure.h"
#include "system/posix/RetryOnInterrupt.h"

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvrast {
namespace {

constexpr mode_t privateFolder = S_IRWXU;

int syncFolder(const std::filesystem::path& folder) {
    FileDescriptor fd(retryOnInterrupt([&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (!fd.isOpen())
        return errno;
    return retryOnInterrupt([&] { return ::fsync(fd.get()); }) == 0 ? 0 : errno;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = retryOnInterrupt([&] { return ::write(fd, bytes.data(), bytes.size()); });
        if (written < 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A folder made here is the student's alone, and so are the missing folders above it ($XDG_STATE_HOME is to be
// made 0700 when missing); a folder made by someone else is closed to others if it is the student's own.
int makePrivateFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), privateFolder) == 0)
        return syncFolder(folder.parent_path());
    if (errno == ENOENT && folder.has_parent_path() && folder.parent_path() != folder) {
        if (int error = makePrivateFolder(folder.parent_path()); error != 0)
            return error;
        return makePrivateFolder(folder);
    }
    if (errno != EEXIST)
        return errno;
    struct stat seen {};
    if (::stat(folder.c_str(), &seen) != 0)
        return errno;
    if (seen.st_uid == ::geteuid() && (seen.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return ::chmod(folder.c_str(), privateFolder) == 0 ? 0 : errno;
    return 0;
}

} // namespace

Status PosixDraftStore::makeFolder() const {
    if (int error = makePrivateFolder(folder_); error != 0)
        return posixFailure(FileAction::createFolder, folder_, error);
    return Status::success();
}

Status PosixDraftStore::replace(const std::filesystem::path& fileName, std::string_view bytes) {
    if (Status made = makeFolder(); !made.ok())
        return made;
    const std::filesystem::path file = pathOf(fileName);
    // mkostemp makes the copy 0600 whatever the umask, under a name of its own, so two runs never share one.
    std::string copy = file.string() + ".XXXXXX";
    FileDescriptor fd(::mkostemp(copy.data(), O_CLOEXEC));
    if (!fd.isOpen())
        return posixFailure(FileAction::open, copy, errno);
    int error = writeAll(fd.get(), bytes) ? 0 : errno;
    if (error == 0 && retryOnInterrupt([&] { return ::fdatasync(fd.get()); }) != 0)
        error = errno;
    if (error == 0 && ::rename(copy.c_str(), file.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(copy.c_str());
        return posixFailure(FileAction::replace, file, error);
    }
    if (int synced = syncFolder(folder_); synced != 0)
        return posixFailure(FileAction::replace, file, synced);
    return Status::success();
}

Result<std::string> PosixDraftStore::read(const std::filesystem::path& fileName) {
    const std::filesystem::path file = pathOf(fileName);
    FileDescriptor fd(retryOnInterrupt([&] { return ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW); }));
    if (!fd.isOpen())
        return posixFailure(FileAction::open, file, errno);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = retryOnInterrupt([&] { return ::read(fd.get(), buffer, sizeof buffer); });
        if (count < 0)
            return posixFailure(FileAction::read, file, errno);
        if (count == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

Status PosixDraftStore::remove(const std::filesystem::path& fileName) {
    const std::filesystem::path file = pathOf(fileName);
    if (::unlink(file.c_str()) != 0)
        return errno == ENOENT ? Status::success() : posixFailure(FileAction::remove, file, errno);
    if (int error = syncFolder(folder_); error != 0)
        return posixFailure(FileAction::remove, file, error);
    return Status::success();
}

} // namespace kelvrast
