// One "Enter Response" through the program's logic on the Windows file layer, next to the least any program must
// do to put the same two blocks safely on disk: CreateFileW, one WriteFile, FlushFileBuffers and CloseHandle, once
// per file. Both are timed side by side in one run (see SideBySide.h), in the system's temporary folder; under
// Wine, FlushFileBuffers is the host's fsync, so the folder must be on a real disk for the figures to mean anything.
#include "SideBySide.h"
#include "TypicalAnswer.h"
#include "support/LogicHarness.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace kelvrast;

[[noreturn]] void giveUp(const char* why) {
    std::fprintf(stderr, "%s: the figures are not worth reading\n", why);
    std::exit(1);
}

// A run started for a student, with the first question shown and so due for an answer.
struct AnsweringRun {
    testing::LogicHarness run;

    AnsweringRun() {
        if (!run.start(u"Ann Example").ok())
            giveUp("the run did not start");
        run.logic.nextQuestionClicked();
    }

    void enterResponse() {
        run.boxes.answer = bench::typicalAnswer;
        run.logic.enterResponseClicked();
        if (!run.boxes.answer.empty() || !run.dialogs.messages.empty())
            giveUp("the answer was not recorded");
    }
};

void appendBare(const std::filesystem::path& file, std::string_view block) {
    HANDLE opened = ::CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        giveUp("a bare append could not open its file");
    DWORD written = 0;
    const bool ok = ::WriteFile(opened, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
                    written == block.size() && ::FlushFileBuffers(opened);
    ::CloseHandle(opened);
    if (!ok)
        giveUp("a bare append failed");
}

} // namespace

// Usage: recording_benchmark_win32 [REPETITIONS [SECONDS_PER_REPETITION]]
int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const double seconds = argc > 2 ? std::max(0.1, std::atof(argv[2])) : 1.0;

    AnsweringRun answering;
    // The floor writes the same bytes as the program, to two files in the same folder.
    const std::string entry = answering.run.state().currentLine;
    const bench::TypicalBlocks blocks = bench::typicalBlocks(entry);
    const std::filesystem::path floorMaster = answering.run.folder() / "floor_master.txt";
    const std::filesystem::path floorSend = answering.run.folder() / "floor_send.txt";

    std::printf("One Enter Response against two bare durable appends of the same bytes, %d repetitions of %.1f s "
                "each, alternating which goes first:\n",
                repetitions, seconds);
    bench::compareSideBySide(
        {"Enter Response", [&](double s) { return bench::secondsPerOperation([&] { answering.enterResponse(); }, s); }},
        {"two bare appends",
         [&](double s) {
             return bench::secondsPerOperation(
                 [&] {
                     appendBare(floorMaster, blocks.master);
                     appendBare(floorSend, blocks.send);
                 },
                 s);
         }},
        repetitions, seconds, "Enter Response");
    return 0;
}
