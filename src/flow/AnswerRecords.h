#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvrast::records {

// The fixed lines of the answer files.
inline constexpr std::string_view recordOpener = "......!!!!!!!!...................................";
inline constexpr std::string_view recordCloser = ".................................................";
inline constexpr std::string_view responseMarker = "RESPONSE -->  ";
inline constexpr std::string_view notesPrefix = "NOTES -------> ";
inline constexpr std::string_view timeLineIndent = "                                    ";
inline constexpr std::string_view recordTag = "`questionNumber";
inline constexpr std::string_view assignmentLabel = "assignment #";
inline constexpr std::string_view lineEnd = "\r\n";

// Blocks are built whole, every line ending in CR LF, so each reaches its file in one append.
// Texts that hold line breaks of their own are written unchanged.

// The four lines that open every run in the master and SEND files.
std::string assignmentHeader(std::string_view codeLine, std::string_view codedAssignmentLine,
                             std::string_view codedScanLine, std::string_view assignmentTitle);

struct AnswerRecord {
    std::string time;          // hh:mm:ss, read for this file
    std::optional<double> key; // the record key; the master file's record has one, the SEND file's none
    std::string codedEntry;    // the bank entry answered
    std::string codedAnswer;
};
std::string answerBlock(const AnswerRecord& record);

struct NotesRecord {
    std::string time;       // first time line
    std::string date;       // mm-dd-yyyy, second time line
    std::string secondTime; // second time line
    std::string codedEntry;
    std::string codedNotes; // the notes prefix followed by the note
};
std::string notesBlock(const NotesRecord& record);

// The key line: the record tag, then the key as number text, then a blank.
std::string keyLine(double key);

// The key a master-file line holds when it is a key line (its first 15 characters are exactly the record tag).
std::optional<double> keyOf(std::string_view line);

} // namespace kelvrast::records
