// "display SEND file" on a day's SEND file and on one ten times longer: the time per line should not grow with
// the file.
#include "AnswerFileSample.h"

#include "flow/BoxText.h"
#include "support/LogicHarness.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <map>

namespace {

using namespace kelvrast;

// SEND-file text of the given number of lines, made once for the whole run.
const std::string& sendFileText(std::size_t lines) {
    static std::map<std::size_t, std::string> made;
    auto [place, added] = made.try_emplace(lines);
    if (added)
        place->second = bench::AnswerFileSample().sendFile(lines);
    return place->second;
}

void DisplaySendFile(benchmark::State& state) {
    const auto lines = static_cast<std::size_t>(state.range(0));
    testing::LogicHarness run;
    if (Status started = run.start(u"Ann Example"); !started.ok()) {
        state.SkipWithError(toProgramText(started.message()).c_str());
        return;
    }
    const std::string& text = sendFileText(lines);
    testing::writeBytes(run.state().sendFilePath, text);
    // One display before timing: the first touch of each fresh page of the large texts is a page fault (several
    // microseconds each on a virtual machine); the later displays get that memory back from the allocator.
    run.logic.displaySendFileClicked();
    for (auto _ : state) {
        run.boxes.question.clear(); // keeps its buffer, so this costs next to nothing
        run.logic.displaySendFileClicked();
    }
    // Every line of the file comes after a line break of its own.
    const auto breaks =
        static_cast<std::size_t>(std::count(run.boxes.question.begin(), run.boxes.question.end(), u'\r'));
    if (!run.dialogs.messages.empty())
        state.SkipWithError(toProgramText(run.dialogs.messages.front()).c_str());
    else if (breaks != lines)
        state.SkipWithError("the Question box does not hold the file's lines");
    state.counters["per_line"] = benchmark::Counter(
        static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(DisplaySendFile)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
