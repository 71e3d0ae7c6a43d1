#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvrast::testing {

enum class AnswerFileKind { master, send, notes };

// One whole block of an answer file, as the file holds it.
struct FileBlock {
    enum class Kind { header, answer, notes };
    Kind kind = Kind::header;
    std::size_t firstLine = 0; // counted from 1
    std::size_t offset = 0;    // of its first byte
    std::size_t length = 0;    // in bytes, line ends included

    // Header: the code line, "assignment #" and the number, any third line, the title.
    std::string codeLine, assignmentLine, thirdLine, title;
    // Records: the first time line's hh:mm:ss; the notes record's second time line, mm-dd-yyyy then hh:mm:ss;
    // the master answer record's key line; the entry; the answer, or the note after the notes prefix.
    std::string time, dateTime;
    std::optional<std::string> keyLine;
    std::string entry, text;
};

// An answer file split into whole blocks, up to the first line that is not part of one.
struct CheckedAnswerFile {
    std::vector<FileBlock> blocks;
    std::optional<std::size_t> firstBadLine; // counted from 1
    std::size_t badOffset = 0;               // of the first byte of that line
    std::string problem;                     // why the block starting there is not whole

    bool whole() const { return !firstBadLine; }
};

// The texts a test recorded. When a list is given, every entry (or answer) must be one of its texts, matched
// line for line; that is how a text holding lines that look like the fixed lines is read as it was recorded.
struct RecordedTexts {
    std::vector<std::string> entries;
    std::vector<std::string> answers; // for notes records: the note without the notes prefix
};

// Parses a master, SEND or notes file. Nothing in these files is escaped and an entry or an answer can hold any
// line, so without recorded texts an entry is taken to end at the first record opener followed by the response
// marker (or by a line starting with the notes prefix), and an answer at the first record closer followed by the
// end of the file or by a line that can start a block. A text holding such a pair of lines is then split where
// it was not written: give the recorded texts to read it exactly. A header's third line can be any text.
// A last line without its CR LF, a block cut short, or a line that starts no block is reported.
CheckedAnswerFile checkAnswerFile(std::string_view bytes, AnswerFileKind kind, const RecordedTexts& recorded = {});

} // namespace kelvrast::testing
