// The parts of RecorderProcess that are the same on every system; RecorderProcessPosix.cpp and
// RecorderProcessWin32.cpp start, read, kill and wait for the process.

#include "durability/RecorderProcess.h"

namespace kelvrast::testing {

std::string pathArgument(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

void RecorderProcess::takeOutput(std::string_view bytes) {
    pending_.append(bytes);
    for (std::size_t end; (end = pending_.find('\n')) != std::string::npos; pending_.erase(0, end + 1)) {
        const std::string line = pending_.substr(0, end);
        if (line.starts_with("done "))
            done_.push_back(std::stol(line.substr(5)));
    }
}

bool RecorderProcess::waitForDone(long n, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (done_.empty() || done_.back() < n) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readOutput(left))
            return false;
    }
    return true;
}

} // namespace kelvrast::testing
