#include "flow/StartUp.h"

#include "flow/BoxText.h"
#include "flow/NumberText.h"
#include "flow/QuestionBank.h"
#include "flow/StudentFileNames.h"
#include "platform/NotePlace.h"
#include "text/MessageText.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kelvrast {

const char* const answerPromptText =
    "Enter, as appropriate, an answer to the question, a critique of your answer in response to a given answer, "
    "your insights regarding the situation at this point, notes to yourself, or just an OK.";

namespace {

struct StudentFiles {
    std::filesystem::path master, send, notes;
};

// The names are made in UTF-16, which the file system library turns into each system's own encoding.
StudentFiles studentFiles(const std::filesystem::path& folder, std::u16string_view name, const std::string& date) {
    const std::u16string part = fileNamePart(name);
    // Month and day come from one reading of the date, so a start at midnight cannot mix two days.
    const std::u16string month = toScreenText(date.substr(0, 2));
    const std::u16string day = date.size() >= 5 ? toScreenText(date.substr(3, 2)) : std::u16string();
    return {folder / std::filesystem::path(u"masterFile_" + part + u".txt"),
            folder / std::filesystem::path(u"send_" + month + day + part + u".txt"),
            folder / std::filesystem::path(u"notes_" + part + u".txt")};
}

void setFilePaths(MainWindowState& state, std::u16string_view name, const std::string& date) {
    StudentFiles files = studentFiles(state.folderPath, name, date);
    state.masterFilePath = std::move(files.master);
    state.sendFilePath = std::move(files.send);
    state.notesFilePath = std::move(files.notes);
}

// Why the paths that the name makes in the working folder, with the notes kept beside the answer files, would be
// longer than the system opens; nothing when they are not. Lengths are in the system's own units of a path.
std::optional<std::u16string> pathLengthProblem(const std::filesystem::path& folder, std::u16string_view name,
                                                std::size_t longestPath) {
    // The SEND file's month and day are four characters whatever the date.
    const StudentFiles made = studentFiles(folder, name, "01-01-2000");
    std::size_t longestMade = 0;
    for (const auto& file : {made.master, made.send, made.notes})
        for (const auto& path : {file, unfinished::notePath(file)})
            longestMade = std::max(longestMade, path.native().size());
    if (longestMade <= longestPath)
        return std::nullopt;
    const std::size_t nameLength = std::filesystem::path(fileNamePart(name)).native().size();
    const std::size_t over = longestMade - longestPath;
    const std::size_t allowed = nameLength > over ? nameLength - over : 0;
    return u"The name is too long for the paths of your answer files on this computer: a name may have at most " +
           asciiText(std::to_string(allowed)) + u" characters. Please type a shorter form of your name.";
}

// Why the name cannot be used when another account of the computer has made one of the files it names, and so could
// read what the student records there; nothing when none stands in the way.
std::optional<std::u16string> madeByAnotherProblem(const MainWindowState& state, Files& files) {
    for (const auto& file : {state.masterFilePath, state.sendFilePath, state.notesFilePath})
        for (const auto& path : {file, unfinished::notePath(file)})
            if (Status refused = files.mayWrite(path); !refused.ok())
                return u"Your answer files cannot be kept under this name. " + refused.message() +
                       u" Click OK and type your name again once it is removed, or a longer form of your name if "
                       u"another student of this computer has the same name.";
    return std::nullopt;
}

// Asks until the name makes valid file names that the system can open and that are the student's own, and sets the
// paths made from it; Cancel and the empty name are taken as they are.
std::u16string askStudentName(MainWindowState& state, Platform& platform) {
    for (;;) {
        std::u16string name = platform.dialogs.inputText(u"Your full name:  ");
        std::optional<std::u16string> problem = nameProblem(name);
        // The empty name (Cancel) is taken even in a folder too deep for any name: asking again could never end,
        // and making the files then fails with its own message.
        if (!problem && !name.empty())
            problem = pathLengthProblem(state.folderPath, name, platform.files.longestPath());
        if (!problem) {
            setFilePaths(state, name, platform.clock.date());
            if (!name.empty())
                problem = madeByAnotherProblem(state, platform.files);
        }
        if (!problem)
            return name;
        platform.dialogs.message(*problem);
    }
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

Status beginAssignment(MainWindowState& state, Platform& platform, const std::filesystem::path& workingFolder) {
    platform.random.seed(platform.clock.secondsSinceMidnight());
    // In double: in single precision 10 r + 19 rounds up to 29 for the largest r below 1.
    const double r = platform.random.next();
    state.codeNumber = static_cast<float>(std::floor(10.0 * r + 19.0));

    for (PictureBox* picture : {platform.picture1, platform.picture2}) {
        picture->setScaleHeight(1000);
        picture->setScaleWidth(1000);
    }

    // A folder given without its drive or root would be made wherever the program was started from.
    if (!workingFolder.is_absolute())
        return Status::failure(u"The program cannot start: the folder set for your answer files, " +
                               pathText(workingFolder) +
                               u", is not a full path. Ask the lab's administrator to set its full path.");
    // The folder exists on every run after the first, and that failure goes unreported. One that is not there
    // afterwards (a network drive that is down) ends the start: no file is made anywhere else in its place.
    if (Status made = platform.files.createFolder(workingFolder); !made.ok() && !platform.files.exists(workingFolder))
        return Status::failure(
            u"The program cannot start: the folder for your answer files cannot be reached. " + made.message() +
            u" Nothing was written anywhere else. If the folder is on a network drive, check that "
            u"the drive is connected, or ask the lab's administrator; then start the program again.");
    // The answers are the student's alone: what an earlier version left readable by other accounts is closed to
    // them now, and the student hears of anything that cannot be.
    if (Status kept = platform.files.keepPrivate(workingFolder); !kept.ok())
        platform.dialogs.message(kept.message());
    state.folderPath = workingFolder;
    state.studentName = askStudentName(state, platform);
    state.assignmentNumber.assign(1, '1'); // "1"; written so because GCC 12 falsely warns (-Wrestrict) on the literal
    (void)platform.files.touch(state.sendFilePath);
    state.answerPrompt = answerPromptText;
    state.assignmentNumber = padAssignmentNumber(state.assignmentNumber);
    state.nextAssignmentNumber =
        padAssignmentNumber(stripLeadingBlanks(numberText(leadingNumberValue(state.assignmentNumber) + 1)));
    state.bankIndex = 0;
    loadQuestionBank(state);
    return Status::success();
}

} // namespace kelvrast
