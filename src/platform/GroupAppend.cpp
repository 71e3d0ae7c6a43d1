#include "platform/GroupAppend.h"

#include "platform/FileFailure.h"
#include "platform/UnfinishedAppend.h"

#include <limits>
#include <optional>

namespace kelvrast {
namespace {

using unfinished::NotedAppend;

// Cuts off the file's tail past the noted size when it is what the noted append can have left (see
// unfinished::isUnfinishedTail). False when the file could not be read or cut, so that the note stays for the next
// try.
bool takeOutUnfinishedTail(LockedFile& file, const NotedAppend& noted) {
    const Result<std::uint64_t> size = file.size();
    if (!size.ok())
        return false;
    const unfinished::NoteHead head{noted.sizeBefore, noted.block.size()};
    if (size.value() <= head.sizeBefore || size.value() - head.sizeBefore > head.length)
        return true; // nothing of the block, or more than the block: not what the append left
    std::string tail(static_cast<std::size_t>(size.value() - head.sizeBefore), '\0');
    if (!file.readAt(head.sizeBefore, tail).ok())
        return false;
    if (!unfinished::isUnfinishedTail(head, tail, std::string_view(noted.block).substr(0, tail.size())))
        return true;
    return file.cutTo(head.sizeBefore).ok();
}

// The note's own file is locked as own, and the files in locked are too; any other file the note names is opened
// and locked here, after the note's own, as every append takes its files.
void repairFromNote(AppendingSystem& system, NoteFile& note, LockedFile& own,
                    const std::vector<std::unique_ptr<LockedFile>>& locked) {
    // The usual note is retired, and its head tells so.
    if (!unfinished::parseNoteHead(note.read(unfinished::longestHead)))
        return;
    const std::optional<std::vector<NotedAppend>> appends =
        unfinished::parseNote(note.read(std::numeric_limits<std::size_t>::max()));
    bool repaired = true;
    for (std::size_t i = 0; appends && i < appends->size(); ++i) {
        const NotedAppend& append = (*appends)[i];
        LockedFile* file = i == 0 ? &own : nullptr;
        const std::filesystem::path path = own.path().parent_path() / append.file;
        for (const std::unique_ptr<LockedFile>& each : locked)
            if (!file && each->path() == path)
                file = each.get();
        std::unique_ptr<LockedFile> opened;
        if (!file) {
            Result<std::unique_ptr<LockedFile>> other = system.openLocked(path, false);
            if (!other.ok()) {
                repaired = repaired && other.status().isNotFound(); // a file that is gone holds nothing to take out
                continue;
            }
            opened = std::move(other.value());
            file = opened.get();
        }
        repaired = takeOutUnfinishedTail(*file, append) && repaired;
    }
    // A note kept only in part was cut before any block went in: there is nothing to take out.
    if (repaired)
        static_cast<void>(note.writeFromStart(unfinished::retiredForm));
}

// Whatever part of a block reached its file goes again, so that every file holds whole blocks only. The note is
// retired once nothing it describes is left, and stays for the next repair otherwise.
Status takeOutBegun(const std::vector<std::unique_ptr<LockedFile>>& files, const std::vector<NotedAppend>& appends,
                    std::size_t begun, const Status& failed, NoteFile* note) {
    std::u16string message = failed.message();
    bool allOut = true;
    for (std::size_t i = 0; i < begun; ++i) {
        const Result<std::uint64_t> now = files[i]->size();
        if (now.ok() && now.value() <= appends[i].sizeBefore)
            continue;
        const Status cut = now.ok() ? files[i]->cutTo(appends[i].sizeBefore) : now.status();
        if (!cut.ok()) {
            allOut = false;
            message += copyLeftBehind(files[i]->path(), cut);
        }
    }
    if (allOut && note)
        static_cast<void>(note->writeFromStart(unfinished::retiredForm));
    return Status::failure(message);
}

} // namespace

Result<std::vector<AppendReceipt>> appendGroup(AppendingSystem& system, const std::vector<PendingBlock>& blocks) {
    std::vector<std::unique_ptr<LockedFile>> files;
    for (const PendingBlock& block : blocks) {
        Result<std::unique_ptr<LockedFile>> opened = system.openLocked(block.file, true);
        if (!opened.ok())
            return opened.status();
        files.push_back(std::move(opened.value()));
    }
    if (files.empty())
        return std::vector<AppendReceipt>{};
    Result<std::unique_ptr<NoteFile>> opened = system.openNote(blocks.front().file, true);
    std::unique_ptr<NoteFile> note = opened.ok() ? std::move(opened.value()) : nullptr;
    if (note)
        repairFromNote(system, *note, *files.front(), files);

    std::vector<NotedAppend> appends;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Result<std::uint64_t> size = files[i]->size();
        if (!size.ok())
            return size.status();
        appends.push_back(
            {i == 0 ? std::filesystem::path() : blocks[i].file.filename(), size.value(), blocks[i].bytes});
    }
    // A note that cannot be written only costs the repair.
    if (note)
        static_cast<void>(note->writeFromStart(unfinished::stampedNoteOf(appends, system.now())));
    // Every block is written before any is flushed, so that the file system can put them on the disk together.
    Status failed = Status::success();
    std::size_t begun = 0;
    for (; begun < files.size() && failed.ok(); ++begun)
        failed = files[begun]->append(blocks[begun].bytes);
    for (std::size_t i = 0; i < begun && failed.ok(); ++i)
        failed = files[i]->flush();
    if (failed.ok() && note)
        failed = note->writeFromStart(unfinished::retiredForm);
    if (!failed.ok())
        return takeOutBegun(files, appends, begun, failed, note.get());

    std::vector<AppendReceipt> receipts;
    for (const NotedAppend& append : appends)
        receipts.push_back({append.sizeBefore, append.block.size(), append.block});
    return receipts;
}

Status repairUnfinished(AppendingSystem& system, LockedFile& file) {
    Result<std::unique_ptr<NoteFile>> note = system.openNote(file.path(), false);
    if (note.ok() && note.value())
        repairFromNote(system, *note.value(), file, {});
    return Status::success();
}

} // namespace kelvrast
