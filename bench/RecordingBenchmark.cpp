// One "Enter Response" through the program's logic, next to the least any program must do to put the same two
// blocks safely on disk: open, one write, fdatasync and close, once per file. Both mostly wait for the disk, so
// they are timed by the wall clock. The program's answer survives a power cut at any point, which costs it two
// more flushes, of its one note; the note is rewritten in place, so those flushes carry no new size and wait for
// the disk's cache alone, not for the file system's journal. Both write to the system's temporary folder, which
// must be on a real disk (not tmpfs) for the figures to mean anything.
#include "TypicalAnswer.h"
#include "support/LogicHarness.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace kelvrast;

// A run started for a student, with the first question shown and so due for an answer.
struct AnsweringRun {
    testing::LogicHarness run;
    Status started = run.start(u"Ann Example");

    AnsweringRun() {
        if (started.ok())
            run.logic.nextQuestionClicked();
    }
};

void EnterResponse(benchmark::State& state) {
    AnsweringRun answering;
    testing::LogicHarness& run = answering.run;
    if (!answering.started.ok()) {
        state.SkipWithError(toProgramText(answering.started.message()).c_str());
        return;
    }
    for (auto _ : state) {
        run.boxes.answer = bench::typicalAnswer;
        run.logic.enterResponseClicked();
    }
    if (!run.dialogs.messages.empty())
        state.SkipWithError(toProgramText(run.dialogs.messages.front()).c_str());
    else if (!run.boxes.answer.empty())
        state.SkipWithError("the answer was not recorded");
}
BENCHMARK(EnterResponse)->UseRealTime()->Unit(benchmark::kMicrosecond);

bool appendBare(const std::filesystem::path& file, std::string_view block) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, block.data(), block.size()) == static_cast<ssize_t>(block.size());
    const bool synced = ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && written && synced;
}

// The floor: the same bytes to two files in the same folder.
void TwoBareAppends(benchmark::State& state) {
    AnsweringRun answering;
    const testing::LogicHarness& run = answering.run;
    const std::string entry = run.state().currentLine;
    const bench::TypicalBlocks blocks = bench::typicalBlocks(entry);
    const std::filesystem::path masterFile = run.folder() / "floor_master.txt";
    const std::filesystem::path sendFile = run.folder() / "floor_send.txt";
    for (auto _ : state) {
        if (!appendBare(masterFile, blocks.master) || !appendBare(sendFile, blocks.send)) {
            state.SkipWithError("a bare append failed");
            return;
        }
    }
}
BENCHMARK(TwoBareAppends)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
