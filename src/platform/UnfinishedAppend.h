#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvrast::unfinished {

// A kill can stop a write at any page boundary of a file, so even a short block can be cut, and the next block
// would then follow a partial one. Before a block goes in, a note of the file's size and of the block is written
// beside the file; whoever next opens the file for appending takes out, under the lock, what an append that never
// finished left at its end, but only when those bytes are exactly the start of the noted block.
//
// A note describes an append in flight and nothing else: once the block is in the file and flushed, the note is
// emptied, and that is flushed too, before the append returns. Otherwise a student who shortens the file in an
// editor (drops the last line end, or the last line) would leave it "ending inside" the last block, and the next
// start would cut the rest of that block away. So under the lock a non-empty note is always of an append that
// never returned, and it is emptied once it has been acted on. The note itself is written in place and not
// flushed, so it costs next to nothing: its repair covers a program that is killed or crashes, not a machine that
// loses power; after a power cut it is empty or holds part of the note of the append that was in flight. A note
// that cannot be written only costs the repair.
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

// The note's first line, read from the start of the note; nothing when the note is cut short, of another form,
// or not a note.
std::optional<NoteHead> parseNoteHead(std::string_view start);

// Whether a file of this size ends with part, but not the whole, of the noted block.
bool endsInsideBlock(const NoteHead& note, std::uint64_t fileSize);

} // namespace kelvrast::unfinished
