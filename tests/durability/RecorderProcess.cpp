#include "durability/RecorderProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvrast::testing {

RecorderProcess::RecorderProcess(const std::vector<std::string>& arguments) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(ANSWER_RECORDER_PATH));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ < 0)
        throw std::runtime_error("cannot fork");
    if (pid_ == 0) {
        ::dup2(pipe[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipe[1]);
    output_ = pipe[0];
}

RecorderProcess::~RecorderProcess() {
    if (!reaped_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    ::close(output_);
}

void RecorderProcess::kill() {
    ::kill(pid_, SIGKILL);
}

bool RecorderProcess::readOutput(std::chrono::milliseconds timeout) {
    pollfd ready{output_, POLLIN, 0};
    int polled = ::poll(&ready, 1, static_cast<int>(timeout.count()));
    if (polled <= 0)
        return polled == 0 || errno == EINTR;
    char buffer[4096];
    ssize_t count = ::read(output_, buffer, sizeof buffer);
    if (count < 0)
        return errno == EINTR || errno == EAGAIN;
    if (count == 0)
        return false;
    pending_.append(buffer, static_cast<std::size_t>(count));
    for (std::size_t end; (end = pending_.find('\n')) != std::string::npos; pending_.erase(0, end + 1)) {
        const std::string line = pending_.substr(0, end);
        if (line.starts_with("done "))
            done_.push_back(std::stol(line.substr(5)));
    }
    return true;
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

std::optional<int> RecorderProcess::wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        if (!readOutput(left))
            break; // the pipe is closed: the process has ended
    }
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
    return status;
}

std::string RecorderProcess::describe(int status) {
    if (WIFEXITED(status))
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "was killed by signal " + std::to_string(WTERMSIG(status));
    return "ended with wait status " + std::to_string(status);
}

} // namespace kelvrast::testing
