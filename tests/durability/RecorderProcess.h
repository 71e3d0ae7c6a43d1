#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kelvrast::testing {

// One answer_recorder process, started with fork and exec, its standard output on a pipe.
class RecorderProcess {
public:
    explicit RecorderProcess(const std::vector<std::string>& arguments);
    ~RecorderProcess();
    RecorderProcess(const RecorderProcess&) = delete;
    RecorderProcess& operator=(const RecorderProcess&) = delete;

    void kill();
    // Waits until the process has ended and its output is read; the wait status, or nothing after the timeout.
    std::optional<int> wait(std::chrono::milliseconds timeout);
    // Reads its output until it reported record n done; false when it ended or the time ran out first.
    bool waitForDone(long n, std::chrono::milliseconds timeout);
    // The records it reported done so far, in the order reported.
    const std::vector<long>& done() const { return done_; }

    // The wait status in words, for messages.
    static std::string describe(int status);

private:
    // Reads what is on the pipe, waiting at most timeout for something to arrive; false at the end of the output.
    bool readOutput(std::chrono::milliseconds timeout);

    pid_t pid_ = -1;
    int output_ = -1;
    bool reaped_ = false;
    std::string pending_;
    std::vector<long> done_;
};

} // namespace kelvrast::testing
