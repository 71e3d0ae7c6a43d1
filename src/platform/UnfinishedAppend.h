#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvrast::unfinished {

// A kill can stop a write at any page boundary of a file, and a power cut can keep any of the pages that were not
// flushed, or the file's new size with zeros where the block was to be. So before a block goes in, a note of the
// file's size and of the block is written beside the file and flushed; whoever next opens the file for appending
// takes out, under the lock, what an append that never finished left at its end, but only when those bytes are,
// sector by sector, the noted block's own or zeros.
//
// The order of one append, each step flushed before the next begins:
//   1. the note: its head and a copy of the block, written over the note in place;
//   2. the block, appended to the file;
//   3. the note retired: its head's form overwritten in place, so it no longer reads as a note.
// Only then is the append acknowledged. A power cut before 2 leaves the file as it was; between 2 and 3 a live note
// beside a tail that is part of the block; after 3 the block whole and no note. A note is rewritten in place and
// never shortened on this path, so its flushes carry data only, not a new size for the file system's journal.
//
// A note describes an append in flight and nothing else. Otherwise a student who shortens the file in an editor
// (drops the last line end, or the last line) would leave it "ending inside" the last block, and the next start
// would cut the rest of that block away. So under the lock a live note is always of an append that never returned,
// and it is retired once it has been acted on. A note that cannot be written only costs the repair.
//
// The head names its form, so that a note left by a version that did not empty its notes, which describes an
// append that finished, is never taken for one in flight.

// The note of an answer file, in a folder of its own beside it, under the same name.
std::filesystem::path notePath(const std::filesystem::path& file);
// The folder that holds the notes of the files in folder.
std::filesystem::path noteFolder(const std::filesystem::path& folder);

// The note's first line, written in one call together with the block that follows it.
std::string noteHead(std::uint64_t sizeBefore, std::uint64_t length);

struct NoteHead {
    std::uint64_t sizeBefore = 0;
    std::uint64_t length = 0;
    std::uint64_t blockAt = 0; // where the copy of the block starts in the note
};

// The longest first line a note can have.
constexpr std::size_t longestHead = 64;

// Written over the start of a note's head to retire it: as long as the head's form, so the rest stays in place.
inline constexpr std::string_view retiredForm = "retired";

// The note's first line, read from the start of the note; nothing when the note is cut short, of another form,
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
