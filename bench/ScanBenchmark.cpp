// The scan of the master file at start-up, next to plain reads of the same file: the scan should cost little
// more than reading the lines at all.
#include "AnswerFileSample.h"

#include "flow/BoxText.h"
#include "flow/MainWindowState.h"
#include "flow/Resume.h"
#include "support/TempFolder.h"
#include "system/posix/PosixFiles.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <memory>

namespace {

using namespace kelvrast;

constexpr std::size_t masterFileBytes = 100'000'000;

// One master file for the whole run, made on first use; its folder goes when the program ends.
const std::filesystem::path& masterFile() {
    static testing::TempFolder folder;
    static const std::filesystem::path file = [] {
        const std::filesystem::path path = folder.path() / "masterFile_Ann_Example.txt";
        testing::writeBytes(path, bench::AnswerFileSample().masterFile(masterFileBytes));
        return path;
    }();
    return file;
}

void countBytes(benchmark::State& state, const std::filesystem::path& file) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(file)));
}

void ScanMasterFile(benchmark::State& state) {
    const std::filesystem::path& file = masterFile();
    PosixFiles files;
    auto progress = std::make_unique<MainWindowState>();
    for (auto _ : state) {
        Result<std::string> lastLine = scanMasterFile(files, file, *progress, "");
        if (!lastLine.ok()) {
            state.SkipWithError(toProgramText(lastLine.status().message()).c_str());
            return;
        }
        benchmark::DoNotOptimize(lastLine.value().data());
    }
    if (progress->progressTable[1][50] == 0)
        state.SkipWithError("the scan found no answered question in the master file");
    countBytes(state, file);
}
BENCHMARK(ScanMasterFile)->Unit(benchmark::kMillisecond);

// The floor: the program's own line reader, handing each line to a sink that only looks at its length.
void ReadLinesOnly(benchmark::State& state) {
    const std::filesystem::path& file = masterFile();
    PosixFiles files;
    for (auto _ : state) {
        Status read = files.readLines(file, [](std::string_view line) { benchmark::DoNotOptimize(line.size()); });
        if (!read.ok()) {
            state.SkipWithError(toProgramText(read.message()).c_str());
            return;
        }
    }
    countBytes(state, file);
}
BENCHMARK(ReadLinesOnly)->Unit(benchmark::kMillisecond);

// For reference: the standard library's stream reader, split at CR (the LF after it stays on the next line).
void IfstreamGetline(benchmark::State& state) {
    const std::filesystem::path& file = masterFile();
    std::string line;
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        while (std::getline(in, line, '\r'))
            benchmark::DoNotOptimize(line.size());
    }
    countBytes(state, file);
}
BENCHMARK(IfstreamGetline)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
