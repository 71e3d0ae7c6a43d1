// Records answers through the program's logic and real files, one after another, and writes "done N" to its
// standard output after each command has returned. The durability tests run it, kill it, and run two at once.
//
//     answer_recorder FOLDER NAME TAG COUNT NOTES_EVERY [ANSWER_BYTES]
//
// COUNT 0 records until the process is killed; every NOTES_EVERY-th record is saved as a note (0: none).
// With ANSWER_BYTES every answer is that long and all go to one entry; otherwise each goes to the next entry.

#include "durability/RecorderAnswers.h"
#include "flow/BoxText.h"
#include "flow/MainWindowLogic.h"
#include "platform/CodePage.h"
#include "platform/TimeSeededRandom.h"
#include "platform/posix/PosixFiles.h"
#include "support/FakeClock.h"
#include "support/FakePictureBox.h"
#include "support/FakeProgramEnd.h"
#include "support/FakeTextBoxes.h"
#include "support/ScriptedDialogs.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <unistd.h>

using namespace kelvrast;
using namespace kelvrast::testing;

namespace {

// Whether "Next Question / Answer" would show another entry to answer rather than end the program.
bool canAdvance(const MainWindowState& state) {
    for (int index = state.bankIndex + 1; index < MainWindowState::bankSize; ++index) {
        const std::string& entry = state.questionBank[index];
        if (entry.empty())
            continue;
        return codepage::lowerAscii(entry) != "end program" && entry.compare(0, 4, state.nextAssignmentNumber) != 0;
    }
    return false;
}

// One write(2) per line, so that the line is on the pipe, whole, before the next record starts.
bool report(long n) {
    const std::string line = "done " + std::to_string(n) + "\n";
    ssize_t written;
    do {
        written = ::write(STDOUT_FILENO, line.data(), line.size());
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(line.size());
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 6 && argc != 7) {
        std::fprintf(stderr, "usage: answer_recorder FOLDER NAME TAG COUNT NOTES_EVERY [ANSWER_BYTES]\n");
        return 64;
    }
    const std::filesystem::path folder = argv[1];
    const std::string tag = argv[3];
    const long count = std::stol(argv[4]);
    const long notesEvery = std::stol(argv[5]);
    const std::size_t answerBytes = argc == 7 ? std::stoul(argv[6]) : 0;

    FakeClock clock;
    TimeSeededRandom random;
    PosixFiles files;
    ScriptedDialogs dialogs;
    FakeTextBoxes boxes;
    FakePictureBox picture1, picture2;
    FakeProgramEnd programEnd;
    Platform platform{clock, random, files, dialogs, boxes, picture1, picture2, programEnd};
    MainWindowLogic logic(platform, folder);

    dialogs.inputs.push_back(argv[2]);
    if (Status started = logic.load(); !started.ok()) {
        std::fprintf(stderr, "answer_recorder %s: %s\n", tag.c_str(), started.message().c_str());
        return 3;
    }
    logic.nextQuestionClicked();
    for (long n = 1; count == 0 || n <= count; ++n) {
        boxes.answer = toScreenText(recorderAnswer(tag, n, answerBytes));
        recorderSavesNote(n, notesEvery) ? logic.saveAsNotesClicked() : logic.enterResponseClicked();
        if (!boxes.answer.empty() || !dialogs.messages.empty()) {
            std::fprintf(stderr, "answer_recorder %s: record %ld was not recorded: %s\n", tag.c_str(), n,
                         dialogs.messages.empty() ? "" : dialogs.messages.back().c_str());
            return 4;
        }
        if (!report(n))
            return 5;
        if (answerBytes == 0 && canAdvance(logic.state()))
            logic.nextQuestionClicked();
    }
    return 0;
}
