#include "flow/Presentation.h"

#include "flow/BoxText.h"
#include "flow/NumberText.h"
#include "text/CodePage.h"
#include "text/MessageText.h"

namespace kelvrast {
namespace {

bool isQuestionEntry(const std::string& entry) {
    return entry.size() >= 2 && entry[0] == '`' && codepage::lowerAscii(entry[1]) == 'q';
}

} // namespace

std::u16string closingMessage(const MainWindowState& state) {
    constexpr auto separator = static_cast<char16_t>(std::filesystem::path::preferred_separator);
    std::u16string folder = pathText(state.folderPath);
    if (!folder.empty() && folder.back() != separator)
        folder += separator;
    return u"You have answered the last question for the selected assignment.  When you click OK the program will "
           u"exit.  The contents of the file " +
           folder + pathText(state.sendFilePath.stem()) + u".txt should be submitted to the instructor.";
}

bool readNextQuestion(MainWindowState& state, Platform& platform) {
    if (state.awaitingResponse) {
        platform.boxes->replaceAnswerUndoably(toScreenText(state.answerPrompt));
        return true;
    }
    std::string entry;
    do {
        if (state.bankIndex + 1 >= MainWindowState::bankSize) {
            platform.dialogs.message(u"The question bank has no further entries.");
            return true;
        }
        entry = state.questionBank[++state.bankIndex];
        if (codepage::lowerAscii(entry) == "end program") {
            platform.dialogs.message(closingMessage(state));
            platform.programEnd.endProgram(0);
            return false;
        }
    } while (entry.empty());

    state.currentLine = entry;
    if (isQuestionEntry(entry))
        state.questionNumber = numberText(leadingNumberValue(entry.substr(2, 3)));
    state.awaitingResponse = true;
    if (state.presentationMode == 1)
        state.nextPiece = entry;
    if (entry.compare(0, 4, state.nextAssignmentNumber) == 0) {
        platform.programEnd.endProgram(0);
        return false;
    }
    return true;
}

void nextQuestionClicked(MainWindowState& state, Platform& platform) {
    if (!readNextQuestion(state, platform))
        return;
    if (state.nextPiece.empty()) {
        state.textBuffer = toProgramText(platform.boxes->questionText());
        return;
    }
    // Built on the screen's text, so nothing the student typed into the Question box is turned into "?".
    std::u16string shown = platform.boxes->questionText() + toScreenText(state.nextPiece);
    state.textBuffer = toProgramText(shown);
    state.nextPiece.clear();
    platform.boxes->setQuestionText(shown);
}

} // namespace kelvrast
