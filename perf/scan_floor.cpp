// The master-file scan beside the least work that reading the same file's lines takes, in one process, on the
// file the program itself is timed with.
//
//   scan_floor write FILE BYTES   writes a sample master file of at least BYTES bytes (the benchmarks' sample)
//   scan_floor time FILE RUNS     times, RUNS times each and interleaved, the bare reads, the program's line
//                                 reader with a sink that only takes each line's length, and scanMasterFile;
//                                 prints the median of each in milliseconds
#include "AnswerFileSample.h"

#include "flow/MainWindowState.h"
#include "flow/Resume.h"
#include "system/posix/FileDescriptor.h"
#include "system/posix/PosixFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kelvrast;

namespace {

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "scan_floor: %s\n", why.c_str());
    std::exit(2);
}

volatile std::size_t sink; // keeps the measured work from being optimised away

double millisecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void readBytes(const std::filesystem::path& file) {
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    static char buffer[1 << 16];
    std::size_t total = 0;
    for (ssize_t count; (count = ::read(fd.get(), buffer, sizeof buffer)) > 0;)
        total += static_cast<std::size_t>(count);
    sink = total;
}

void readLines(PosixFiles& files, const std::filesystem::path& file) {
    std::size_t total = 0;
    if (!files.readLines(file, [&total](std::string_view line) { total += line.size(); }).ok())
        fail("cannot read " + file.string());
    sink = total;
}

void scan(PosixFiles& files, const std::filesystem::path& file, MainWindowState& state) {
    Result<std::string> lastLine = scanMasterFile(files, file, state, "");
    if (!lastLine.ok())
        fail(lastLine.status().message());
    sink = lastLine.value().size();
}

int time(const std::filesystem::path& file, int runs) {
    PosixFiles files;
    auto state = std::make_unique<MainWindowState>();
    std::vector<double> bytes, lines, scans;
    for (int run = 0; run < runs; ++run) {
        bytes.push_back(millisecondsOf([&] { readBytes(file); }));
        lines.push_back(millisecondsOf([&] { readLines(files, file); }));
        scans.push_back(millisecondsOf([&] { scan(files, file, *state); }));
    }
    std::printf("read_ms=%.1f read_lines_ms=%.1f scan_ms=%.1f\n", median(bytes), median(lines), median(scans));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 4 && std::strcmp(argv[1], "write") == 0) {
        const std::string text = bench::AnswerFileSample().masterFile(std::strtoull(argv[3], nullptr, 10));
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return out.good() ? 0 : 2;
    }
    if (argc == 4 && std::strcmp(argv[1], "time") == 0)
        return time(argv[2], std::max(1, std::atoi(argv[3])));
    std::fprintf(stderr, "usage: scan_floor write FILE BYTES | scan_floor time FILE RUNS\n");
    return 2;
}
