#include "flow/StartUp.h"

#include "flow/BoxText.h"
#include "flow/NumberText.h"
#include "flow/QuestionBank.h"
#include "flow/StudentFileNames.h"

#include <cmath>

namespace kelvrast {

const char* const answerPromptText =
    "Enter, as appropriate, an answer to the question, a critique of your answer in response to a given answer, "
    "your insights regarding the situation at this point, notes to yourself, or just an OK.";

namespace {

// Asks until the name makes valid file names; Cancel and the empty name are taken as they are.
std::u16string askStudentName(Dialogs& dialogs) {
    for (;;) {
        std::u16string name = dialogs.inputText(u"Your full name:  ");
        std::optional<std::u16string> problem = nameProblem(name);
        if (!problem)
            return name;
        dialogs.message(*problem);
    }
}

// The names are made in UTF-16, which the file system library turns into each system's own encoding.
void setFilePaths(MainWindowState& state, std::u16string_view name, const std::string& date) {
    const std::u16string part = fileNamePart(name);
    // Month and day come from one reading of the date, so a start at midnight cannot mix two days.
    const std::u16string month = toScreenText(date.substr(0, 2));
    const std::u16string day = date.size() >= 5 ? toScreenText(date.substr(3, 2)) : std::u16string();
    state.masterFilePath = state.folderPath / std::filesystem::path(u"masterFile_" + part + u".txt");
    state.sendFilePath = state.folderPath / std::filesystem::path(u"send_" + month + day + part + u".txt");
    state.notesFilePath = state.folderPath / std::filesystem::path(u"notes_" + part + u".txt");
}

std::string stripLeadingBlanks(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

} // namespace

std::string padAssignmentNumber(const std::string& number) {
    if (number.size() == 1)
        return "00" + number;
    if (number.size() == 2)
        return "0" + number;
    return number;
}

void beginAssignment(MainWindowState& state, Platform& platform, const std::filesystem::path& workingFolder) {
    platform.random.seed(platform.clock.secondsSinceMidnight());
    // In double: in single precision 10 r + 19 rounds up to 29 for the largest r below 1.
    const double r = platform.random.next();
    state.codeNumber = static_cast<float>(std::floor(10.0 * r + 19.0));

    for (PictureBox* picture : {platform.picture1, platform.picture2}) {
        picture->setScaleHeight(1000);
        picture->setScaleWidth(1000);
    }

    // The folder exists on every run after the first; that and any other failure here goes unreported.
    (void)platform.files.createFolder(workingFolder);
    state.folderPath = workingFolder;
    setFilePaths(state, askStudentName(platform.dialogs), platform.clock.date());
    state.assignmentNumber.assign(1, '1'); // "1"; written so because GCC 12 falsely warns (-Wrestrict) on the literal
    (void)platform.files.touch(state.sendFilePath);
    state.answerPrompt = answerPromptText;
    state.assignmentNumber = padAssignmentNumber(state.assignmentNumber);
    state.nextAssignmentNumber =
        padAssignmentNumber(stripLeadingBlanks(numberText(leadingNumberValue(state.assignmentNumber) + 1)));
    state.bankIndex = 0;
    loadQuestionBank(state);
}

} // namespace kelvrast
