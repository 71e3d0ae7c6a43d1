// The recorder as a POSIX process: fork and exec, its standard output on a pipe read with poll, SIGKILL, waitpid.

#include "durability/RecorderProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvrast::testing {

struct RecorderProcess::System {
    pid_t pid = -1;
    int output = -1;
    bool reaped = false;
};

namespace {

RecorderEnd endOf(int status) {
    if (WIFEXITED(status))
        return {RecorderEnd::Kind::exited, WEXITSTATUS(status),
                "exited with status " + std::to_string(WEXITSTATUS(status))};
    if (WIFSIGNALED(status))
        return {WTERMSIG(status) == SIGKILL ? RecorderEnd::Kind::killed : RecorderEnd::Kind::other, 0,
                "was killed by signal " + std::to_string(WTERMSIG(status))};
    return {RecorderEnd::Kind::other, 0, "ended with wait status " + std::to_string(status)};
}

} // namespace

RecorderProcess::RecorderProcess(const std::vector<std::string>& arguments) : system_(std::make_unique<System>()) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(ANSWER_RECORDER_PATH));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    system_->pid = ::fork();
    if (system_->pid < 0) {
        ::close(pipe[0]);
        ::close(pipe[1]);
        throw std::runtime_error("cannot fork");
    }
    if (system_->pid == 0) {
        ::dup2(pipe[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipe[1]);
    system_->output = pipe[0];
}

RecorderProcess::~RecorderProcess() {
    if (!system_->reaped) {
        ::kill(system_->pid, SIGKILL);
        ::waitpid(system_->pid, nullptr, 0);
    }
    ::close(system_->output);
}

void RecorderProcess::kill() {
    ::kill(system_->pid, SIGKILL);
}

bool RecorderProcess::readOutput(std::chrono::milliseconds timeout) {
    pollfd ready{system_->output, POLLIN, 0};
    int polled = ::poll(&ready, 1, static_cast<int>(timeout.count()));
    if (polled <= 0)
        return polled == 0 || errno == EINTR;
    char buffer[4096];
    ssize_t count = ::read(system_->output, buffer, sizeof buffer);
    if (count < 0)
        return errno == EINTR || errno == EAGAIN;
    if (count == 0)
        return false;
    takeOutput(std::string_view(buffer, static_cast<std::size_t>(count)));
    return true;
}

std::optional<RecorderEnd> RecorderProcess::wait(std::chrono::milliseconds timeout) {
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
    while (::waitpid(system_->pid, &status, 0) < 0 && errno == EINTR) {
    }
    system_->reaped = true;
    return endOf(status);
}

} // namespace kelvrast::testing
