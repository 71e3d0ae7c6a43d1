#pragma once

#include "platform/Files.h"
#include "platform/Status.h"
#include "system/shared/AppendReceipt.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvrast {

// An answer file opened for appending under an exclusive lock, which holds until the object goes.
class LockedFile {
public:
    virtual ~LockedFile() = default;

    virtual const std::filesystem::path& path() const = 0;
    virtual Result<std::uint64_t> size() = 0;
    // Fills into with the file's bytes from offset on.
    virtual Status readAt(std::uint64_t offset, std::string& into) = 0;
    // When the file was last written, in nanoseconds since 1970.
    virtual Result<std::int64_t> lastWrite() = 0;
    // Writes the block at the end of the file in one call, not yet flushed.
    virtual Status append(std::string_view block) = 0;
    // Flushes what was written to the device.
    virtual Status flush() = 0;
    // Cuts the file back to size and flushes the cut.
    virtual Status cutTo(std::uint64_t size) = 0;
};

// The note beside an answer file (see system/shared/UnfinishedAppend.h).
class NoteFile {
public:
    virtual ~NoteFile() = default;

    // Up to most bytes from the note's start; less when the note is shorter or cannot be read further.
    virtual std::string read(std::size_t most) = 0;
    // Writes bytes over the note from its start and flushes them; a failure names the answer file.
    virtual Status writeFromStart(std::string_view bytes) = 0;
    // When the note was last written, by the clock that dates the answer files, in nanoseconds since 1970; nothing
    // when that cannot be read.
    virtual std::optional<std::int64_t> lastWrite() = 0;
};

// What the appends need of a system.
class AppendingSystem {
public:
    virtual ~AppendingSystem() = default;

    // The file opened for appending and locked; a missing file is made when create is set, and fails otherwise.
    virtual Result<std::unique_ptr<LockedFile>> openLocked(const std::filesystem::path& file, bool create) = 0;
    // The note of the file, made with its folder when missing and create is set; nothing when it is missing and
    // create is not set.
    virtual Result<std::unique_ptr<NoteFile>> openNote(const std::filesystem::path& file, bool create) = 0;
    // The time by the clock that dates files, in nanoseconds since 1970.
    virtual std::int64_t now() = 0;
};

// Appends each block to its file, all or nothing, in the order of writes and flushes of
// system/shared/UnfinishedAppend.h: every file is opened and locked first, in the order given, so that nothing is
// written when one cannot be; all callers list the master file first, so two programs never wait for each other's locks
// in a circle. No block is written while what an earlier append left cannot be repaired, or while the note cannot be
// written. On failure no file keeps any part of its block, unless it cannot be cut back, which the failure then says.
Result<std::vector<AppendReceipt>> appendGroup(AppendingSystem& system, const std::vector<PendingBlock>& blocks);

// With the file locked, so that no append of it is in flight: takes out of it, and of the other files that its note
// names, what appends that never returned left, and retires the note. A failure, which leaves the note for the
// next try, is one that Status::isLeftUnfinished tells apart.
Status repairUnfinished(AppendingSystem& system, LockedFile& file);

} // namespace kelvrast
