#include "flow/AnswerRecords.h"

#include "flow/NumberText.h"

#include <initializer_list>

namespace kelvrast::records {
namespace {

std::string block(std::initializer_list<std::string_view> lines) {
    std::size_t size = 0;
    for (std::string_view line : lines)
        size += line.size() + lineEnd.size();
    std::string bytes;
    bytes.reserve(size);
    for (std::string_view line : lines) {
        bytes.append(line);
        bytes.append(lineEnd);
    }
    return bytes;
}

std::string timeLine(std::string_view stamp) {
    std::string line(timeLineIndent);
    line.append(stamp);
    return line;
}

} // namespace

std::string assignmentHeader(std::string_view codeLine, std::string_view codedAssignmentLine,
                             std::string_view codedScanLine, std::string_view assignmentTitle) {
    return block({codeLine, codedAssignmentLine, codedScanLine, assignmentTitle});
}

std::string answerBlock(const AnswerRecord& record) {
    const std::string time = timeLine(record.time);
    if (record.key)
        return block({recordOpener, time, keyLine(*record.key), record.codedEntry, recordOpener, responseMarker,
                      record.codedAnswer, recordCloser});
    return block(
        {recordOpener, time, record.codedEntry, recordOpener, responseMarker, record.codedAnswer, recordCloser});
}

std::string notesBlock(const NotesRecord& record) {
    return block({recordOpener, timeLine(record.time), timeLine(record.date + record.secondTime), record.codedEntry,
                  recordOpener, record.codedNotes, recordCloser});
}

std::string keyLine(double key) {
    std::string line(recordTag);
    line.append(numberText(key));
    line.push_back(' ');
    return line;
}

std::optional<double> keyOf(std::string_view line) {
    if (!line.starts_with(recordTag))
        return std::nullopt;
    return leadingNumberValue(line.substr(recordTag.size()));
}

} // namespace kelvrast::records
