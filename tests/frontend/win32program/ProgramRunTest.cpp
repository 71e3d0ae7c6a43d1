#include "form/Form.h"
#include "frontend/win32/WideText.h"
#include "frontend/win32/Win32Dialogs.h"
#include "frontend/win32/Win32MainWindow.h"

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace kelvrast::testing {
namespace {

// kelvrast.exe itself, copied beside this test by the build, started as the student would start it. The test waits
// for each window of the program to appear, with a deadline only against a program that never shows it.
class ProgramRun {
public:
    ProgramRun() {
        wchar_t own[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, own, MAX_PATH);
        std::wstring command = L"\"" + (std::filesystem::path(own).parent_path() / L"kelvrast.exe").wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                    &process_);
    }
    ~ProgramRun() {
        if (!started_)
            return;
        if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(process_.hProcess, 99);
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }

    bool started() const { return started_; }

    // A visible top-level window of the program's, of this class and title.
    HWND waitForWindow(const wchar_t* className, const wchar_t* title) {
        HWND found = nullptr;
        waitUntil([&] {
            found = nullptr;
            for (HWND each = ::FindWindowExW(nullptr, nullptr, className, title); each;
                 each = ::FindWindowExW(nullptr, each, className, title)) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(each, &owner);
                if (owner == process_.dwProcessId && ::IsWindowVisible(each))
                    found = each;
            }
            return found != nullptr;
        });
        return found;
    }

    // The program's exit status; -1 if it did not end.
    int waitForEnd() {
        if (::WaitForSingleObject(process_.hProcess, deadlineMilliseconds) != WAIT_OBJECT_0)
            return -1;
        DWORD status = 0;
        ::GetExitCodeProcess(process_.hProcess, &status);
        return static_cast<int>(status);
    }

private:
    static constexpr DWORD deadlineMilliseconds = 60000;

    void waitUntil(const std::function<bool()>& done) {
        const ULONGLONG deadline = ::GetTickCount64() + deadlineMilliseconds;
        while (!done() && ::GetTickCount64() < deadline)
            if (::WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0)
                return; // ended before showing the window
    }

    bool started_ = false;
    PROCESS_INFORMATION process_{};
};

HWND controlOf(HWND window, const char* name) {
    const auto& table = form::controls();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].objectName() == name)
            return ::GetDlgItem(window, Win32MainWindow::firstControlId + static_cast<int>(i));
    return nullptr;
}

// The name prompt answered; then the window, with the focus in the Question box.
HWND startAs(ProgramRun& run, const wchar_t* name) {
    HWND prompt = run.waitForWindow(L"#32770", Win32Dialogs::title);
    if (!prompt)
        return nullptr;
    ::SendMessageW(::GetDlgItem(prompt, Win32Dialogs::inputId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
    ::PostMessageW(prompt, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return run.waitForWindow(Win32MainWindow::className, L"Form1");
}

TEST(Win32Program, StartsForTheNamedStudentAndEndsWithStatus0OnQuit) {
    ProgramRun run;
    ASSERT_TRUE(run.started());
    HWND window = startAs(run, L"Quinn Example");
    ASSERT_TRUE(window) << "no window after the name prompt";
    HWND quit = controlOf(window, "cmd_quit");
    ASSERT_TRUE(quit);
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(quit), BN_CLICKED), reinterpret_cast<LPARAM>(quit));
    EXPECT_EQ(run.waitForEnd(), 0);
    bool sendFile = false;
    for (const auto& file : std::filesystem::directory_iterator(L"c:\\kelvrast"))
        sendFile = sendFile || (file.path().filename().wstring().starts_with(L"send_") &&
                                file.path().filename().wstring().ends_with(L"Quinn_Example.txt"));
    EXPECT_TRUE(sendFile) << "the student's files in c:\\kelvrast";
}

TEST(Win32Program, ClosingTheWindowEndsItWithStatus0) {
    ProgramRun run;
    ASSERT_TRUE(run.started());
    HWND window = startAs(run, L"Robin Example");
    ASSERT_TRUE(window);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForEnd(), 0);
}

// The working folder a lab's administrator sets for every account of the computer, as Group Policy writes it; the
// value and its key go again with the object.
class WorkingFolderPolicy {
public:
    explicit WorkingFolderPolicy(const std::wstring& folder) {
        set_ = ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, L"WorkingFolder", REG_SZ, folder.c_str(),
                                 static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~WorkingFolderPolicy() { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key); }
    WorkingFolderPolicy(const WorkingFolderPolicy&) = delete;
    WorkingFolderPolicy& operator=(const WorkingFolderPolicy&) = delete;

    bool set() const { return set_; }

private:
    static constexpr const wchar_t* key = L"SOFTWARE\\Policies\\kelvrast";
    bool set_ = false;
};

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The names of the files in folder that hold name.
std::vector<std::wstring> filesOfIn(const std::wstring& name, const std::filesystem::path& folder) {
    std::vector<std::wstring> found;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(folder, error))
        if (file.path().filename().wstring().find(name) != std::wstring::npos)
            found.push_back(file.path().filename().wstring());
    return found;
}

// Sent, so that the click has been handled when the call returns.
void click(HWND window, const char* name) {
    HWND button = controlOf(window, name);
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
}

// With the policy set, a start, an answer and a second start all keep their files in the folder it names, with the
// signed-in account's name put in for %USERNAME%, and nothing in c:\kelvrast.
TEST(Win32Program, WithTheLabsWorkingFolderPolicyEveryFileGoesToTheFolderItNames) {
    wchar_t temporary[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temporary);
    wchar_t account[256] = {};
    DWORD accountLength = 256;
    ::GetUserNameW(account, &accountLength);
    const std::filesystem::path home =
        std::filesystem::path(temporary) / (L"home-" + std::to_wstring(::GetCurrentProcessId()));
    std::filesystem::create_directories(home / account);
    WorkingFolderPolicy policy((home / L"%USERNAME%" / L"kelvrast").wstring());
    ASSERT_TRUE(policy.set());
    const std::filesystem::path folder = home / account / L"kelvrast";

    for (const wchar_t* answer : {L"an answer kept on the home drive", L""}) {
        ProgramRun run;
        ASSERT_TRUE(run.started());
        HWND window = startAs(run, L"Pat Policy");
        ASSERT_TRUE(window);
        if (*answer) {
            click(window, "cmdNextQuestion");
            ::SendMessageW(controlOf(window, "txt_answer"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer));
            click(window, "cmd_enter_response");
        }
        HWND quit = controlOf(window, "cmd_quit");
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(quit), BN_CLICKED),
                       reinterpret_cast<LPARAM>(quit));
        EXPECT_EQ(run.waitForEnd(), 0);
    }
    const std::string master = bytesOf(folder / L"masterFile_Pat_Policy.txt");
    EXPECT_NE(master.find("an answer kept on the home drive"), std::string::npos) << master;
    EXPECT_EQ(filesOfIn(L"Pat_Policy", folder).size(), 2u) << "the master and SEND files";
    EXPECT_EQ(filesOfIn(L"Pat_Policy", L"c:\\kelvrast"), std::vector<std::wstring>{});
    std::filesystem::remove_all(home);
}

// The role a screen reader announces for each kind of control that takes the focus: Windows' own for its controls,
// a picture for a picture box.
long expectedRole(form::Kind kind) {
    switch (kind) {
    case form::Kind::textBox:
        return ROLE_SYSTEM_TEXT;
    case form::Kind::commandButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case form::Kind::optionButton:
        return ROLE_SYSTEM_RADIOBUTTON;
    case form::Kind::listBox:
        return ROLE_SYSTEM_LIST;
    case form::Kind::pictureBox:
        return ROLE_SYSTEM_GRAPHIC;
    default:
        return 0;
    }
}

struct ComSession {
    ComSession() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComSession() { ::CoUninitialize(); }
};

// Asked from this process, as a screen reader asks from its own: every control that takes the focus answers with its
// own name from the form's table and the role of its kind.
TEST(Win32Program, AScreenReaderHearsEveryControlThatTakesTheFocusByItsOwnNameAndRole) {
    ComSession com;
    ProgramRun run;
    ASSERT_TRUE(run.started());
    HWND window = startAs(run, L"Sam Example");
    ASSERT_TRUE(window);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    for (const form::Control& row : form::controls()) {
        if (!row.isTabStop())
            continue;
        SCOPED_TRACE(row.objectName());
        HWND made = controlOf(window, row.objectName().c_str());
        ASSERT_TRUE(made);
        IAccessible* object = nullptr;
        ASSERT_EQ(::AccessibleObjectFromWindow(made, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&object)),
                  S_OK);
        BSTR name = nullptr;
        EXPECT_EQ(object->get_accName(self, &name), S_OK);
        EXPECT_EQ(std::wstring(name ? name : L""), wideText(row.spokenName()));
        ::SysFreeString(name);
        VARIANT role{};
        EXPECT_EQ(object->get_accRole(self, &role), S_OK);
        EXPECT_EQ(role.vt, VT_I4);
        EXPECT_EQ(role.vt == VT_I4 ? role.lVal : 0, expectedRole(row.kind));
        ::VariantClear(&role);
        object->Release();
    }
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForEnd(), 0);
}

} // namespace
} // namespace kelvrast::testing
