#pragma once

#include "platform/NotePlace.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvrast::unfinished {

// A kill can stop a write at any page boundary of a file, and a power cut can keep any of the sectors that were
// not flushed, and the file's new size, whole or in part, with zeros or old bytes where the block was to be. So
// before a block goes in, a note of the file's size and of the block is written beside the file and flushed; the
// next append, or the next start's touch of the note's own file, takes out, under the lock, what an append that
// never finished left at the file's end.
//
// The blocks of one answer go to two or three files together (see system/shared/GroupAppend.h), and one note, the first
// file's, describes them all. The order, each step flushed before the next begins:
//   1. the note: its head and a copy of each block, written over the note in place;
//   2. the blocks, appended to their files;
//   3. the note retired: its head's mark overwritten in place, so it no longer reads as a note.
// Only then is the answer acknowledged. A power cut before 2 leaves the files as they were; between 2 and 3 a live
// note beside tails that are what the append left; after 3 the blocks whole and no note. A note is rewritten in
// place and never shortened on this path, so its flushes carry data only, not a new size for the file system's
// journal. One note for the group rather than one per file spares an Enter Response two of six flushes.
//
// No block of a live note was acknowledged, so an answer is in all of its files or in none: unless every file holds
// its block whole, each file that holds its block or part of it is cut back to its size before, whatever the bytes
// of that part. A repair that cannot finish leaves the note live, and no append goes on until one does.
//
// What the student changed after a stop is never cut. The head carries the time just before the note was written,
// by the clock the system dates local files with; the append's own writes follow within the note's flush,
// milliseconds, and a file dated more than changedAfter past it was changed by someone else (an editor that drops
// the last line end, or the last line, would otherwise make the file look cut inside its block). The rule is safe
// both ways: a power cut can only take a file's date back to an earlier one, which counts the tail as the append's
// own, as it is (Windows promises a date once the handle that wrote is closed, which the append's own close or the
// kill does at once); and an edit needs a person to notice the stop, open an editor and save, which takes longer
// than the window. The later of the stamp and the note's own date counts, so that a drive whose clock runs ahead
// of the program's (a network drive) does not make the append's own writes look later. The repair's own cuts leave
// a file at its size before, which counts as holding nothing of the block whatever its date, so a repair cut short
// by a power cut is finished by the next. A note of an earlier version has no stamp: its tail counts as the
// append's own only when it is, sector by sector, the block's bytes or zeros.
//
// A note describes an append in flight and nothing else: under the lock a live note is always of an append that
// never returned, and it is retired once it has been acted on.
//
// The head starts with a mark of its own, so that a note left by a version that did not empty its notes, which
// describes an append that finished, is never taken for one in flight.

// The note's first line, written in one call together with the block that follows it.
std::string noteHead(std::uint64_t sizeBefore, std::uint64_t length);

struct NoteHead {
    std::uint64_t sizeBefore = 0;
    std::uint64_t length = 0;
    std::uint64_t blockAt = 0; // where the copy of the block starts in the note
    // The appends to other files that follow the first one's block, and the checksum of all that follows the head.
    std::uint64_t others = 0;
    std::uint64_t checksum = 0;
    // When the note was written (see stampedNoteOf); notes of earlier versions carry none.
    std::optional<std::int64_t> stamp = std::nullopt;
};

// The longest first line a note can have.
constexpr std::size_t longestHead = 128;

// One append that a note describes.
struct NotedAppend {
    std::filesystem::path file; // its name, in the folder of the note's own file; empty for that file itself
    std::uint64_t sizeBefore = 0;
    std::string block;
};

// The whole note of appends that go in together, the first to the note's own file. With one append it is the head
// and the block. With more, the head also counts the others and holds a checksum of all that follows it: those
// lie past the first sector, which a power cut may keep without them, and a note kept only in part was cut before
// any block went in, so it calls for no repair.
std::string noteOf(const std::vector<NotedAppend>& appends);

// The note the program writes: the head also holds the time, in nanoseconds since 1970 by the clock the file
// system dates its files with, just before the note was written, and a checksum of all that follows it whatever
// the count of files.
std::string stampedNoteOf(const std::vector<NotedAppend>& appends, std::int64_t stamp);

// A file dated later than this past its note's stamp was changed after the noted append: the append's own bytes
// follow the note within the time of one flush, and an edit needs a person to notice the stop, open an editor and
// save.
constexpr std::int64_t changedAfter = 5'000'000'000;

// The appends a whole note describes, the note's own file's first; nothing when it is retired, of another mark or
// kept only in part.
std::optional<std::vector<NotedAppend>> parseNote(std::string_view note);

// Written over the start of a note's head to retire it: as long as the live head's mark, so the rest stays in place.
inline constexpr std::string_view retiredMark = "retired";

// The note's first line, read from the start of the note; nothing when the note is cut short, of another mark,
// or not a note.
std::optional<NoteHead> parseNoteHead(std::string_view start);

// Whether a file of this size ends with part, but not the whole, of the noted block.
bool endsInsideBlock(const NoteHead& note, std::uint64_t fileSize);

// The unit a disk writes whole: a power cut keeps each sector of an unflushed write, or none of it. Pages of any
// file system are made of them.
constexpr std::uint64_t sectorSize = 512;

// Whether tail, the file's bytes from the noted size before the block to its end, is what an unfinished append
// can leave: part of the block, or all its length with some sectors zeros (the size reached the disk before the
// data). noted is the note's copy of the block, as long as tail. The block whole is a finished append.
bool isUnfinishedTail(const NoteHead& note, std::string_view tail, std::string_view noted);

} // namespace kelvrast::unfinished
