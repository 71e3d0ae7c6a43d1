// The least timing loop that is still fair, for the Windows benchmarks (Google Benchmark is not built for
// mingw-w64): a warm-up, then repetitions that alternate which of the two goes first, so that the machine's moods
// fall on both alike, and medians with their spread.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace kelvrast::bench {

// Seconds, from the performance counter.
inline double now() {
    static const double ticksPerSecond = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerSecond;
}

// Runs the operation over and over for at least this long; the seconds per operation.
inline double secondsPerOperation(const std::function<void()>& operation, double seconds) {
    long operations = 0;
    const double start = now();
    double elapsed = 0;
    do {
        operation();
        ++operations;
        elapsed = now() - start;
    } while (elapsed < seconds);
    return elapsed / static_cast<double>(operations);
}

struct Figures {
    double median, least, most;
};

inline Figures figuresOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

// One of the two things compared: its name, and its seconds per operation over at least the seconds given.
struct Contender {
    const char* name;
    std::function<double(double seconds)> timeFor;
};

// Times both, alternating which goes first, and prints each one's median with its spread and the ratio of the
// first to the second, the baseline.
inline void compareSideBySide(const Contender& measured, const Contender& baseline, int repetitions, double seconds,
                              const char* unit) {
    measured.timeFor(seconds / 2); // warm-up: the code, the caches, the files' first blocks
    baseline.timeFor(seconds / 2);
    std::vector<double> measuredTimes, baselineTimes, ratios;
    for (int i = 0; i < repetitions; ++i) {
        const bool baselineFirst = i % 2 == 1;
        const double first = (baselineFirst ? baseline : measured).timeFor(seconds);
        const double second = (baselineFirst ? measured : baseline).timeFor(seconds);
        measuredTimes.push_back(baselineFirst ? second : first);
        baselineTimes.push_back(baselineFirst ? first : second);
        ratios.push_back(measuredTimes.back() / baselineTimes.back());
    }
    const Figures measuredFigures = figuresOf(measuredTimes);
    const Figures baselineFigures = figuresOf(baselineTimes);
    for (const auto& [contender, f] : {std::pair{&measured, measuredFigures}, std::pair{&baseline, baselineFigures}})
        std::printf("%-16s median %9.2f us per %s   (fastest %.2f, slowest %.2f)\n", contender->name, f.median * 1e6,
                    unit, f.least * 1e6, f.most * 1e6);
    const Figures ratioFigures = figuresOf(ratios);
    std::printf("ratio            %.3f (ratio of the medians); per repetition: median %.3f, lowest %.3f, highest "
                "%.3f\n",
                measuredFigures.median / baselineFigures.median, ratioFigures.median, ratioFigures.least,
                ratioFigures.most);
}

} // namespace kelvrast::bench
