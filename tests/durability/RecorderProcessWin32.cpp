// The recorder as a Windows process: CreateProcessW of the answer_recorder.exe beside the test executable, its
// standard output on an anonymous pipe, TerminateProcess as the kill, and WaitForSingleObject and
// GetExitCodeProcess for how it ended.

#include "durability/RecorderProcess.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <stdexcept>

namespace kelvrast::testing {

namespace {

// The exit code the kill gives the process; the recorder never ends with it of its own accord.
constexpr UINT killedExitCode = 0xDEAD;

std::wstring wide(const std::string& text) {
    if (text.empty())
        return {};
    const int size =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0)
        throw std::runtime_error("an argument for the recorder is not UTF-8: " + text);
    std::wstring converted(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), converted.data(),
                          size);
    return converted;
}

// The argument quoted so that the started program's command-line parsing gives back exactly this text: inside
// double quotes, a quote is preceded by a backslash, and the backslashes before a quote, the closing one
// included, are doubled; other backslashes stand as they are.
std::wstring quoted(const std::wstring& argument) {
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        result += c;
    }
    result.append(2 * backslashes, L'\\');
    result += L'"';
    return result;
}

// The recorder is built beside the tests, so it is found from this executable's own path: a Windows path
// whichever way the tests were started, under Wine too.
std::filesystem::path recorderPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw std::runtime_error("cannot find the path of the test executable");
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path() / L"" ANSWER_RECORDER_NAME;
}

void closeHandle(HANDLE& handle) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle);
    handle = nullptr;
}

// Handles are inherited by every process started while they are inheritable, so a pipe's end is inheritable only
// while its own recorder is being started: otherwise a second recorder would hold the first one's pipe open.
std::mutex startingProcess;

RecorderEnd endOf(DWORD code, bool killed) {
    if (killed && code == killedExitCode)
        return {RecorderEnd::Kind::killed, static_cast<long>(code), "was killed (TerminateProcess)"};
    if (code >= 0xC0000000) {
        char text[64];
        std::snprintf(text, sizeof text, "crashed with exception 0x%08lX", static_cast<unsigned long>(code));
        return {RecorderEnd::Kind::other, static_cast<long>(code), text};
    }
    return {RecorderEnd::Kind::exited, static_cast<long>(code), "exited with status " + std::to_string(code)};
}

} // namespace

struct RecorderProcess::System {
    HANDLE process = nullptr;
    HANDLE output = nullptr; // the pipe's reading end
    bool killed = false;
    bool reaped = false;

    ~System() {
        closeHandle(output);
        closeHandle(process);
    }
};

RecorderProcess::RecorderProcess(const std::vector<std::string>& arguments) : system_(std::make_unique<System>()) {
    const std::filesystem::path program = recorderPath();
    std::wstring commandLine = L"\"" + program.native() + L"\"";
    for (const std::string& argument : arguments)
        commandLine += L" " + quoted(wide(argument));

    HANDLE writing = nullptr;
    if (!::CreatePipe(&system_->output, &writing, nullptr, 0))
        throw std::runtime_error("cannot make a pipe");
    PROCESS_INFORMATION started{};
    bool created = false;
    {
        std::lock_guard lock(startingProcess);
        HANDLE errors = nullptr;
        const HANDLE ownErrors = ::GetStdHandle(STD_ERROR_HANDLE);
        if (ownErrors != nullptr && ownErrors != INVALID_HANDLE_VALUE)
            ::DuplicateHandle(::GetCurrentProcess(), ownErrors, ::GetCurrentProcess(), &errors, 0, TRUE,
                              DUPLICATE_SAME_ACCESS);
        if (::SetHandleInformation(writing, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = nullptr;
            startup.hStdOutput = writing;
            startup.hStdError = errors; // the recorder's complaints reach the test's output
            // Without a console: a console of its own would be another process, started by the recorder with
            // the recorder's handles, which a kill at the wrong moment leaves running with the pipe open.
            created = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS,
                                       nullptr, nullptr, &startup, &started);
        }
        closeHandle(writing);
        closeHandle(errors);
    }
    if (!created)
        throw std::runtime_error("cannot start " + program.string() + ": error " + std::to_string(::GetLastError()));
    ::CloseHandle(started.hThread);
    system_->process = started.hProcess;
}

RecorderProcess::~RecorderProcess() {
    if (!system_->reaped) {
        ::TerminateProcess(system_->process, killedExitCode);
        ::WaitForSingleObject(system_->process, INFINITE);
    }
}

void RecorderProcess::kill() {
    system_->killed = true;
    ::TerminateProcess(system_->process, killedExitCode);
}

// An anonymous pipe cannot be waited on, so the pipe is looked at between short waits on the process. The output
// ends when the pipe is closed, or once the process has ended and the pipe holds nothing more: everything the
// process wrote was in the pipe before its WriteFile returned, and whatever else may hold the pipe's writing end
// cannot keep the test waiting.
bool RecorderProcess::readOutput(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const bool ended = ::WaitForSingleObject(system_->process, 0) == WAIT_OBJECT_0;
        DWORD available = 0;
        const bool open = ::PeekNamedPipe(system_->output, nullptr, 0, nullptr, &available, nullptr);
        if (!open || available > 0) {
            // A closed pipe may still hold the last of the output: ReadFile gives it before it reports the end.
            std::string bytes(open ? available : 4096, '\0');
            DWORD count = 0;
            if (!::ReadFile(system_->output, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr))
                return false;
            takeOutput(std::string_view(bytes.data(), count));
            return true;
        }
        if (ended)
            return false;
        if (std::chrono::steady_clock::now() >= deadline)
            return true;
        ::WaitForSingleObject(system_->process, 1);
    }
}

std::optional<RecorderEnd> RecorderProcess::wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto left = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    };
    for (;;) {
        if (left().count() <= 0)
            return std::nullopt;
        if (!readOutput(left()))
            break; // the output has ended, and the process with it
    }
    const DWORD waitFor = static_cast<DWORD>(std::max<long long>(left().count(), 0));
    if (::WaitForSingleObject(system_->process, waitFor) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    if (!::GetExitCodeProcess(system_->process, &code))
        return RecorderEnd{RecorderEnd::Kind::other, 0,
                           "ended, and its exit code could not be read: error " + std::to_string(::GetLastError())};
    system_->reaped = true;
    return endOf(code, system_->killed);
}

} // namespace kelvrast::testing
