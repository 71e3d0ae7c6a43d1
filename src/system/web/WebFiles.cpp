#include "system/web/WebFiles.h"

#include "system/shared/FileFailure.h"
#include "system/shared/GroupAppend.h"
#include "system/shared/LineSplitter.h"
#include "system/shared/UnfinishedAppend.h"
#include "system/web/Opfs.h"
#include "system/web/WebFailure.h"

#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace kelvrast {
namespace {

using opfs::AccessHandle;

Status readAt(AccessHandle& handle, const std::filesystem::path& file, std::uint64_t offset, std::string& into) {
    std::size_t done = 0;
    while (done < into.size()) {
        const std::optional<std::size_t> count = handle.read(offset + done, into.data() + done, into.size() - done);
        if (!count)
            return statusOf(FileAction::read, file, handle.error());
        if (*count == 0)
            return fileFailure(FileAction::read, file, FileProblem::changedSinceWritten);
        done += *count;
    }
    return Status::success();
}

// An answer file open through its sync access handle, whose lock holds until the object goes.
class WebLockedFile final : public LockedFile {
public:
    WebLockedFile(std::filesystem::path path, std::unique_ptr<AccessHandle> handle)
        : path_(std::move(path)), handle_(std::move(handle)) {}

    const std::filesystem::path& path() const override { return path_; }
    Result<std::uint64_t> size() override {
        const std::optional<std::uint64_t> size = handle_->size();
        if (!size)
            return statusOf(FileAction::readSizeOf, path_, handle_->error()).passedOn();
        return *size;
    }
    Status readAt(std::uint64_t offset, std::string& into) override {
        return kelvrast::readAt(*handle_, path_, offset, into);
    }
    Result<std::int64_t> lastWrite() override {
        const std::optional<std::int64_t> written = opfs::lastModified(path_);
        if (!written)
            return fileFailure(FileAction::read, path_, u"the browser did not tell when it was last written");
        return *written;
    }
    // A sync access handle has no appending mode: the lock keeps every other writer out, so the end found here is
    // still the end when the block goes in.
    Status append(std::string_view block) override {
        const std::optional<std::uint64_t> end = handle_->size();
        if (!end)
            return statusOf(FileAction::writeTo, path_, handle_->error());
        return statusOf(FileAction::writeTo, path_, handle_->write(*end, block));
    }
    Status flush() override { return statusOf(FileAction::writeTo, path_, handle_->flush()); }
    Status cutTo(std::uint64_t size) override {
        if (opfs::Error error = handle_->truncate(size); error != opfs::Error::none)
            return statusOf(FileAction::takeBack, path_, error);
        return statusOf(FileAction::takeBack, path_, handle_->flush());
    }

private:
    std::filesystem::path path_;
    std::unique_ptr<AccessHandle> handle_;
};

// The note of an answer file, written in place and flushed.
class WebNoteFile final : public NoteFile {
public:
    WebNoteFile(std::filesystem::path file, std::unique_ptr<AccessHandle> handle)
        : file_(std::move(file)), handle_(std::move(handle)) {}

    std::string read(std::size_t most) override {
        const std::uint64_t size = handle_->size().value_or(0);
        std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(size, most)), '\0');
        if (!kelvrast::readAt(*handle_, file_, 0, bytes).ok())
            return {};
        return bytes;
    }
    Status writeFromStart(std::string_view bytes) override {
        if (opfs::Error error = handle_->write(0, bytes); error != opfs::Error::none)
            return statusOf(FileAction::writeTo, file_, error);
        return statusOf(FileAction::writeTo, file_, handle_->flush());
    }
    std::optional<std::int64_t> lastWrite() override { return opfs::lastModified(unfinished::notePath(file_)); }

private:
    std::filesystem::path file_;
    std::unique_ptr<AccessHandle> handle_;
};

// The answer files and notes of the origin-private file system, as appendGroup and repairUnfinished take them.
class WebAppending final : public AppendingSystem {
public:
    Result<std::unique_ptr<LockedFile>> openLocked(const std::filesystem::path& file, bool create) override {
        auto handle = std::make_unique<AccessHandle>(file, create);
        if (!handle->isOpen())
            return statusOf(handle->error() == opfs::Error::held ? FileAction::lock : FileAction::open, file,
                            handle->error())
                .passedOn();
        return std::unique_ptr<LockedFile>(std::make_unique<WebLockedFile>(file, std::move(handle)));
    }
    // The standard offers no flush of a folder: the browser keeps the entries of its file system in storage of its
    // own, and an entry it has made is there for every later call.
    Result<std::unique_ptr<NoteFile>> openNote(const std::filesystem::path& file, bool create) override {
        const std::filesystem::path note = unfinished::notePath(file);
        if (create)
            if (opfs::Error error = opfs::makeFolder(note.parent_path(), false); error != opfs::Error::none)
                return statusOf(FileAction::writeTo, file, error).passedOn();
        auto handle = std::make_unique<AccessHandle>(note, create);
        if (!handle->isOpen()) {
            if (!create && handle->error() == opfs::Error::notFound)
                return std::unique_ptr<NoteFile>();
            return statusOf(FileAction::writeTo, file, handle->error()).passedOn();
        }
        return std::unique_ptr<NoteFile>(std::make_unique<WebNoteFile>(file, std::move(handle)));
    }
    // The clock the browser dates files by: the time since 1970 that Date.now() gives.
    std::int64_t now() override {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
    }
};

} // namespace

Status WebFiles::createFolder(const std::filesystem::path& folder) {
    return statusOf(FileAction::createFolder, folder, opfs::makeFolder(folder, true));
}

bool WebFiles::exists(const std::filesystem::path& path) {
    opfs::Error error = opfs::Error::none;
    const std::optional<opfs::Kind> kind = opfs::kindOf(path, error);
    return kind ? *kind != opfs::Kind::none : error != opfs::Error::notFound;
}

Status WebFiles::touch(const std::filesystem::path& file) {
    WebAppending appending;
    Result<std::unique_ptr<LockedFile>> locked = appending.openLocked(file, true);
    if (!locked.ok())
        return locked.status();
    return repairUnfinished(appending, *locked.value());
}

// Read from a snapshot of the file, which takes no lock: reading waits for no append of another tab.
Status WebFiles::readLines(const std::filesystem::path& file, const LineSink& sink) {
    std::string bytes;
    if (opfs::Error error = opfs::readAll(file, bytes); error != opfs::Error::none)
        return statusOf(FileAction::open, file, error);
    LineSplitter lines(sink);
    lines.feed(bytes);
    lines.finish();
    return Status::success();
}

Status WebFiles::writeFile(const std::filesystem::path& file, std::string_view bytes) {
    return statusOf(FileAction::writeTo, file, opfs::replaceWhole(file, bytes));
}

Result<AppendReceipt> WebFiles::appendBlock(const std::filesystem::path& file, std::string_view block) {
    WebAppending appending;
    Result<std::vector<AppendReceipt>> appended = appendGroup(appending, {{file, std::string(block)}});
    if (!appended.ok())
        return appended.status();
    return appended.value().front();
}

Status WebFiles::appendBlocks(const std::vector<PendingBlock>& blocks) {
    WebAppending appending;
    Result<std::vector<AppendReceipt>> appended = appendGroup(appending, blocks);
    return appended.ok() ? Status::success() : Status(appended.status());
}

Status WebFiles::takeBack(const std::filesystem::path& file, const AppendReceipt& receipt) {
    AccessHandle handle(file, false);
    if (!handle.isOpen())
        return statusOf(handle.error() == opfs::Error::held ? FileAction::lock : FileAction::open, file,
                        handle.error());
    const std::optional<std::uint64_t> size = handle.size();
    if (!size)
        return statusOf(FileAction::readSizeOf, file, handle.error());
    // The size alone would also match a file whose block was changed in place.
    std::string tail(receipt.block.size(), '\0');
    if (*size != receipt.sizeBefore + receipt.length || !readAt(handle, file, receipt.sizeBefore, tail).ok() ||
        tail != receipt.block)
        return fileFailure(FileAction::takeBack, file, FileProblem::changedSinceWritten);
    if (opfs::Error error = handle.truncate(receipt.sizeBefore); error != opfs::Error::none)
        return statusOf(FileAction::takeBack, file, error);
    return statusOf(FileAction::takeBack, file, handle.flush());
}

} // namespace kelvrast
