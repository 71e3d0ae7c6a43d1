#include "system/shared/GroupAppend.h"

#include "system/shared/FileFailure.h"
#include "system/shared/UnfinishedAppend.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace kelvrast {
namespace {

using unfinished::NotedAppend;

// Where one file of a noted answer stands.
enum class Standing {
    lacks,   // nothing of its block: as before the append
    part,    // what the append left, not the whole block
    whole,   // its block whole
    changed, // changed since by someone else, or gone: never cut
};

// What the noted append left in the file. With the time the note was written (notes of this version), any tail
// within the block's length that is dated no later than the append is its own, whatever its bytes (the size may reach
// the disk before the data, which then reads as zeros or old bytes); an earlier version's note counts a tail as its own
// only when it is the block's bytes or zeros, sector by sector.
Result<Standing> standingOf(LockedFile& file, std::optional<std::int64_t> written, const NotedAppend& noted) {
    const Result<std::uint64_t> size = file.size();
    if (!size.ok())
        return size.status();
    if (size.value() == noted.sizeBefore)
        return Standing::lacks;
    if (size.value() < noted.sizeBefore || size.value() - noted.sizeBefore > noted.block.size())
        return Standing::changed;
    if (written) {
        const Result<std::int64_t> changed = file.lastWrite();
        if (!changed.ok())
            return changed.status();
        if (changed.value() > *written + unfinished::changedAfter)
            return Standing::changed;
    }
    std::string tail(static_cast<std::size_t>(size.value() - noted.sizeBefore), '\0');
    if (Status read = file.readAt(noted.sizeBefore, tail); !read.ok())
        return read.passedOn();
    if (tail == noted.block)
        return Standing::whole;
    const unfinished::NoteHead own{noted.sizeBefore, noted.block.size()};
    if (!written && !unfinished::isUnfinishedTail(own, tail, std::string_view(noted.block).substr(0, tail.size())))
        return Standing::changed;
    return Standing::part;
}

// The note's own file is locked as own, and the files in locked are too; any other file the note names is opened
// and locked here, after the note's own, as every append takes its files. An answer is in every file of its note or
// in none: unless each block is whole, each file that holds its block, or part of it, is cut back to its size before
// the append. A file changed since stays as it is. The note is retired only once all that is done.
Status repairFromNote(AppendingSystem& system, NoteFile& note, LockedFile& own,
                      const std::vector<std::unique_ptr<LockedFile>>& locked) {
    // The usual note is retired, and its head tells so.
    const std::optional<unfinished::NoteHead> head = unfinished::parseNoteHead(note.read(unfinished::longestHead));
    if (!head)
        return Status::success();
    const std::optional<std::vector<NotedAppend>> appends =
        unfinished::parseNote(note.read(std::numeric_limits<std::size_t>::max()));
    // The note's stamp is by the program's clock; the note's own date is by the file system's, which on a network
    // drive may run ahead: the later of the two is when the note was written.
    std::optional<std::int64_t> written = head->stamp;
    if (const std::optional<std::int64_t> dated = note.lastWrite(); written && dated)
        written = std::max(*written, *dated);
    std::vector<std::unique_ptr<LockedFile>> opened;
    std::vector<std::pair<LockedFile*, Standing>> files;
    // A note kept only in part was cut before any block went in: there is nothing to take out.
    for (std::size_t i = 0; appends && i < appends->size(); ++i) {
        const NotedAppend& append = (*appends)[i];
        LockedFile* file = i == 0 ? &own : nullptr;
        const std::filesystem::path path = own.path().parent_path() / append.file;
        for (const std::unique_ptr<LockedFile>& each : locked)
            if (!file && each->path() == path)
                file = each.get();
        if (!file) {
            Result<std::unique_ptr<LockedFile>> other = system.openLocked(path, false);
            if (!other.ok() && !other.status().isNotFound())
                return other.status();
            if (!other.ok()) { // a file that is gone holds nothing to take out
                files.emplace_back(nullptr, Standing::changed);
                continue;
            }
            opened.push_back(std::move(other.value()));
            file = opened.back().get();
        }
        const Result<Standing> standing = standingOf(*file, written, append);
        if (!standing.ok())
            return standing.status();
        files.emplace_back(file, standing.value());
    }
    const bool finished = std::none_of(files.begin(), files.end(), [](const auto& file) {
        return file.second == Standing::lacks || file.second == Standing::part;
    });
    for (std::size_t i = 0; !finished && i < files.size(); ++i)
        if (files[i].second == Standing::part || files[i].second == Standing::whole)
            if (Status cut = files[i].first->cutTo((*appends)[i].sizeBefore); !cut.ok())
                return cut;
    return note.writeFromStart(unfinished::retiredMark);
}

// The words a student reads when an earlier answer's repair could not be finished.
Failure leftUnfinished(const Status& why) {
    return Status::leftUnfinished(u"An answer that was being recorded when the program stopped could not be tidied "
                                  u"away yet. " +
                                  why.message() + u" Nothing is recorded until it can be.");
}

// Whatever part of a block reached its file goes again, so that every file holds whole blocks only. The note is
// retired once nothing it describes is left, and stays for the next repair otherwise.
Failure takeOutBegun(const std::vector<std::unique_ptr<LockedFile>>& files, const std::vector<NotedAppend>& appends,
                     std::size_t begun, const Status& failed, NoteFile* note) {
    std::u16string message = failed.message();
    bool allOut = true;
    for (std::size_t i = 0; i < begun; ++i) {
        const Result<std::uint64_t> now = files[i]->size();
        if (now.ok() && now.value() <= appends[i].sizeBefore)
            continue;
        const Status cut = now.ok() ? files[i]->cutTo(appends[i].sizeBefore) : Status(now.status());
        if (!cut.ok()) {
            allOut = false;
            message += copyLeftBehind(files[i]->path(), cut);
        }
    }
    if (allOut && note)
        static_cast<void>(note->writeFromStart(unfinished::retiredMark));
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
    if (!opened.ok())
        return opened.status();
    const std::unique_ptr<NoteFile> note = std::move(opened.value());
    if (Status repaired = repairFromNote(system, *note, *files.front(), files); !repaired.ok())
        return leftUnfinished(repaired);

    std::vector<NotedAppend> appends;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Result<std::uint64_t> size = files[i]->size();
        if (!size.ok())
            return size.status();
        appends.push_back(
            {i == 0 ? std::filesystem::path() : blocks[i].file.filename(), size.value(), blocks[i].bytes});
    }
    // Without its note no block goes in: a kill could leave part of it for good.
    if (Status noted = note->writeFromStart(unfinished::stampedNoteOf(appends, system.now())); !noted.ok()) {
        static_cast<void>(note->writeFromStart(unfinished::retiredMark));
        return noted.passedOn();
    }
    // Every block is written before any is flushed, so that the file system can put them on the disk together.
    Status failed = Status::success();
    std::size_t begun = 0;
    for (; begun < files.size() && failed.ok(); ++begun)
        failed = files[begun]->append(blocks[begun].bytes);
    for (std::size_t i = 0; i < begun && failed.ok(); ++i)
        failed = files[i]->flush();
    if (failed.ok())
        failed = note->writeFromStart(unfinished::retiredMark);
    if (!failed.ok())
        return takeOutBegun(files, appends, begun, failed, note.get());

    std::vector<AppendReceipt> receipts;
    for (const NotedAppend& append : appends)
        receipts.push_back({append.sizeBefore, append.block.size(), append.block});
    return receipts;
}

Status repairUnfinished(AppendingSystem& system, LockedFile& file) {
    Result<std::unique_ptr<NoteFile>> note = system.openNote(file.path(), false);
    if (!note.ok())
        return leftUnfinished(note.status());
    if (!note.value())
        return Status::success();
    const Status repaired = repairFromNote(system, *note.value(), file, {});
    return repaired.ok() ? repaired : Status(leftUnfinished(repaired));
}

} // namespace kelvrast
