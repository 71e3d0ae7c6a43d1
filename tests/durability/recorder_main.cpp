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
#include "support/FakeBeep.h"
#include "support/FakeClock.h"
#include "support/FakePictureBox.h"
#include "support/FakeProgramEnd.h"
#include "support/FakeTextBoxes.h"
#include "support/FakeTimer.h"
#include "support/ScriptedDialogs.h"
#include "support/SystemFiles.h"
#include "system/shared/MersenneRandom.h"
#include "text/CodePage.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>
#else
#include <unistd.h>
#endif

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

// One write per line, past any buffer of the C library, so that the line is on the pipe, whole, before the next
// record starts.
bool report(long n) {
    const std::string line = "done " + std::to_string(n) + "\n";
#ifdef _WIN32
    DWORD written = 0;
    return ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
                       nullptr) &&
           written == line.size();
#else
    ssize_t written;
    do {
        written = ::write(STDOUT_FILENO, line.data(), line.size());
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(line.size());
#endif
}

// The command line: the folder as a path, every argument, the folder's included, as a text in UTF-8.
struct Arguments {
    std::filesystem::path folder;
    std::vector<std::string> texts; // without the program's name
};

#ifdef _WIN32
std::string utf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string converted(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), size, nullptr, nullptr);
    converted.pop_back(); // the terminating null
    return converted;
}

// The narrow argv holds the arguments in the ANSI code page, which cannot hold every folder's or student's name;
// the wide command line holds them as they were given.
Arguments readArguments(int, char*[]) {
    Arguments read;
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (argv == nullptr)
        return read;
    for (int i = 1; i < count; ++i)
        read.texts.push_back(utf8(argv[i]));
    if (count > 1)
        read.folder = std::filesystem::path(argv[1]);
    ::LocalFree(argv);
    return read;
}
#else
Arguments readArguments(int argc, char* argv[]) {
    Arguments read;
    for (int i = 1; i < argc; ++i)
        read.texts.push_back(argv[i]);
    if (argc > 1)
        read.folder = argv[1];
    return read;
}
#endif

} // namespace

int main(int argc, char* argv[]) {
    const Arguments arguments = readArguments(argc, argv);
    const std::vector<std::string>& texts = arguments.texts;
    if (texts.size() != 5 && texts.size() != 6) {
        std::fprintf(stderr, "usage: answer_recorder FOLDER NAME TAG COUNT NOTES_EVERY [ANSWER_BYTES]\n");
        return 64;
    }
    const std::filesystem::path& folder = arguments.folder;
    const std::string& tag = texts[2];
    const long count = std::stol(texts[3]);
    const long notesEvery = std::stol(texts[4]);
    const std::size_t answerBytes = texts.size() == 6 ? std::stoul(texts[5]) : 0;

    FakeClock clock;
    MersenneRandom random;
    SystemFiles files;
    ScriptedDialogs dialogs;
    FakeTextBoxes boxes;
    FakePictureBox picture1, picture2;
    FakeProgramEnd programEnd;
    FakeBeep beep;
    FakeTimer pendulumTimer;
    Platform platform{clock, random, files, dialogs, programEnd, beep, &boxes, &picture1, &picture2, &pendulumTimer};
    MainWindowLogic logic(platform, folder);

    // The name arrives in UTF-8 on both systems.
    dialogs.inputs.push_back(std::filesystem::path(std::u8string(texts[1].begin(), texts[1].end())).u16string());
    if (Status started = logic.load(); !started.ok()) {
        std::fprintf(stderr, "answer_recorder %s: %s\n", tag.c_str(), toProgramText(started.message()).c_str());
        return 3;
    }
    logic.nextQuestionClicked();
    for (long n = 1; count == 0 || n <= count; ++n) {
        boxes.answer = toScreenText(recorderAnswer(tag, n, answerBytes));
        recorderSavesNote(n, notesEvery) ? logic.saveAsNotesClicked() : logic.enterResponseClicked();
        if (!boxes.answer.empty() || !dialogs.messages.empty()) {
            std::fprintf(stderr, "answer_recorder %s: record %ld was not recorded: %s\n", tag.c_str(), n,
                         dialogs.messages.empty() ? "" : toProgramText(dialogs.messages.back()).c_str());
            return 4;
        }
        if (!report(n))
            return 5;
        if (answerBytes == 0 && canAdvance(logic.state()))
            logic.nextQuestionClicked();
    }
    return 0;
}
