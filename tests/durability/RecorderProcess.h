#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvrast::testing {

// How a recorder process ended.
struct RecorderEnd {
    enum class Kind {
        exited, // it returned from main or called exit: code holds its exit code
        killed, // the test's kill ended it
        other,  // anything else: another signal, a crash
    };
    Kind kind = Kind::other;
    long code = 0;
    std::string description; // in words, for messages

    bool exitedWith(long expected) const { return kind == Kind::exited && code == expected; }
    bool killed() const { return kind == Kind::killed; }
};

// A path as the recorder takes it on its command line: its text in UTF-8.
std::string pathArgument(const std::filesystem::path& path);

// One answer_recorder process, its standard output on a pipe that the test reads.
class RecorderProcess {
public:
    // Starts the recorder with these arguments, each a text in UTF-8.
    explicit RecorderProcess(const std::vector<std::string>& arguments);
    ~RecorderProcess();
    RecorderProcess(const RecorderProcess&) = delete;
    RecorderProcess& operator=(const RecorderProcess&) = delete;

    // Ends the process at once, wherever it is, as a kill from outside would.
    void kill();
    // Waits until the process has ended and its output is read; how it ended, or nothing after the timeout.
    std::optional<RecorderEnd> wait(std::chrono::milliseconds timeout);
    // Reads its output until it reported record n done; false when it ended or the time ran out first.
    bool waitForDone(long n, std::chrono::milliseconds timeout);
    // The records it reported done so far, in the order reported.
    const std::vector<long>& done() const { return done_; }

private:
    // The process and its pipe as the system knows them.
    struct System;

    // Reads what is on the pipe, waiting at most timeout for something to arrive; false at the end of the output.
    bool readOutput(std::chrono::milliseconds timeout);
    // Takes in bytes read from the pipe, noting every whole "done N" line.
    void takeOutput(std::string_view bytes);

    std::unique_ptr<System> system_;
    std::string pending_;
    std::vector<long> done_;
};

} // namespace kelvrast::testing
