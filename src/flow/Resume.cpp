#include "flow/Resume.h"

#include "coding/CodeLine.h"
#include "coding/LineCoding.h"
#include "coding/Rounding.h"
#include "flow/AnswerRecords.h"
#include "flow/BoxText.h"
#include "flow/NumberText.h"

#include <cmath>

namespace kelvrast {
namespace {

Result<std::string> findAssignmentEntry(MainWindowState& state) {
    const std::string marker = state.assignmentNumber + ".";
    std::string scanLine;
    state.bankIndex = 0;
    while (scanLine.compare(0, 4, marker) != 0) {
        if (++state.bankIndex >= MainWindowState::bankSize)
            return Status::failure(u"The question bank holds no entry for assignment " +
                                   toScreenText(state.assignmentNumber) + u".");
        scanLine = state.questionBank[state.bankIndex];
    }
    return scanLine;
}

void recordKey(MainWindowState& state, double key, int& highestAssignment) {
    // The factor 10001 gives back q exactly for every key in the table's range; 10000 would not.
    const double a = std::floor(key / 10000);
    const double q = std::floor((key / 10000 - a) * 10001);
    if (!(a >= 0 && a < MainWindowState::progressRows && q >= 0 && q < MainWindowState::progressColumns))
        return;
    state.progressTable[static_cast<int>(a)][static_cast<int>(q)] = q;
    highestAssignment = std::max(highestAssignment, static_cast<int>(a));
}

// Column 50 of every assignment up to the highest holds its highest question from 1 to 49. Cells only ever
// grow, so computing it once after the scan gives what computing it after every line would.
void summariseProgress(MainWindowState& state, int highestAssignment) {
    for (int i = 1; i <= highestAssignment; ++i) {
        double highest = 0;
        for (int j = 1; j <= 49; ++j)
            highest = std::max(highest, state.progressTable[i][j]);
        state.progressTable[i][50] = highest;
    }
}

} // namespace

Result<std::string> scanMasterFile(Files& files, const std::filesystem::path& masterFile, MainWindowState& state,
                                   std::string lastLine) {
    int highestAssignment = 0;
    Status read = files.readLines(masterFile, [&](std::string_view line) {
        lastLine.assign(line);
        if (std::optional<double> key = records::keyOf(line))
            recordKey(state, *key, highestAssignment);
    });
    if (!read.ok())
        return read.passedOn();
    summariseProgress(state, highestAssignment);
    return lastLine;
}

Status resumeAssignment(MainWindowState& state, Platform& platform) {
    Result<std::string> entry = findAssignmentEntry(state);
    if (!entry.ok())
        return entry.status();
    state.presentationMode = 1;

    // A repair left for a later try is told once, and the start goes on: no record goes in until it is done.
    const Status created = platform.files.touch(state.masterFilePath);
    if (!created.ok() && !created.isLeftUnfinished())
        return created;
    if (!created.ok())
        platform.dialogs.message(created.message());
    Result<std::string> scanLine = scanMasterFile(platform.files, state.masterFilePath, state, entry.value());
    if (!scanLine.ok())
        return scanLine.status();

    const double n = roundHalfEven(leadingNumberValue(state.assignmentNumber));
    if (!(n >= 0 && n < MainWindowState::progressRows))
        return Status::failure(u"Assignment " + toScreenText(state.assignmentNumber) +
                               u" lies outside the progress table.");
    state.lastAnswered = state.progressTable[static_cast<int>(n)][50];

    const std::string codeLine = makeCodeLine(state.codeNumber, platform.random);
    const std::string assignmentLine = std::string(records::assignmentLabel) + state.assignmentNumber;
    auto header = [&] {
        return records::assignmentHeader(codeLine, code(assignmentLine, state.codeNumber),
                                         code(scanLine.value(), state.codeNumber), state.assignmentTitle);
    };
    const Status written =
        platform.files.appendBlocks({{state.masterFilePath, header()}, {state.sendFilePath, header()}});
    return created.ok() ? written : Status::success();
}

} // namespace kelvrast
