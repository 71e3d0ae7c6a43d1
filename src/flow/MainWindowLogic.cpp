#include "flow/MainWindowLogic.h"

#include "coding/CodeLine.h"
#include "coding/LineCoding.h"
#include "coding/QueryFile.h"
#include "flow/Resume.h"
#include "flow/StartUp.h"

namespace kelvrast {

MainWindowLogic::MainWindowLogic(Platform platform, std::filesystem::path workingFolder)
    : platform_(platform), workingFolder_(std::move(workingFolder)) {}

Status MainWindowLogic::load() {
    state_.assignmentTitle = "qa fenwick";
    beginAssignment(state_, platform_, workingFolder_);
    Status resumed = resumeAssignment(state_, platform_);
    if (!resumed.ok())
        return Status::failure("The program cannot start: the assignment could not be opened. " + resumed.message());
    return resumed;
}

void MainWindowLogic::readNextQuestion() {}

std::string MainWindowLogic::code(const std::string& a, float codeNbr) const {
    return kelvrast::code(a, codeNbr);
}

Status MainWindowLogic::codeFile() {
    return kelvrast::codeFile(platform_.files, state_.folderPath, state_.queryFileTag, state_.codeNumber);
}

Result<std::string> MainWindowLogic::decode(const std::string& a, float codeNbr) const {
    return kelvrast::decode(a, codeNbr);
}

std::string MainWindowLogic::remSpaces(const std::string& a) const {
    return kelvrast::remSpaces(a);
}

std::string MainWindowLogic::makeCodeLine(float codeNbr) {
    return kelvrast::makeCodeLine(codeNbr, platform_.random);
}

void MainWindowLogic::nextQuestionClicked() {}
void MainWindowLogic::enterResponseClicked() {}
void MainWindowLogic::saveAsNotesClicked() {}
void MainWindowLogic::clearClicked() {}
void MainWindowLogic::displayNotesClicked() {}
void MainWindowLogic::displaySendFileClicked() {}
void MainWindowLogic::quitClicked() {}

} // namespace kelvrast
