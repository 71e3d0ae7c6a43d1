#include "Win32WindowUnderTest.h"
#include "flow/MainWindowLogic.h"
#include "frontend/win32/Win32Dialogs.h"
#include "frontend/win32/Win32TextBoxes.h"
#include "support/MemoryDraftStore.h"
#include "support/RandomStudentRun.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kelvrast::testing {
namespace {

constexpr std::size_t actionsPerSeed = 500;
// Forty students of 500 actions each: the answer files of a shorter run stay small, and every action that shows one
// of them stays quick.
const std::vector<std::uint64_t> fixedSeeds = seedsFrom(1001, 40);
constexpr std::size_t longestTypedByCharacter = 4;
// The text of the system's message box, where Windows and Wine both keep it.
constexpr int messageBoxTextId = 0xFFFF;

struct Win32Key {
    std::vector<KeyStroke> strokes;
    std::vector<int> held;
};

std::vector<KeyStroke> plain(UINT key) {
    return {{WM_KEYDOWN, key}, {WM_KEYUP, key}};
}

// In the order of testing::Key.
const std::array<Win32Key, 15>& win32Keys() {
    static const std::array<Win32Key, 15> keys{{
        {plain(VK_ESCAPE), {}},
        {plain(VK_RETURN), {}},
        {plain(VK_F1), {}},
        {{{WM_SYSKEYDOWN, VK_F10}, {WM_SYSKEYUP, VK_F10}}, {}},
        {{{WM_SYSKEYDOWN, VK_MENU, true}, {WM_SYSKEYUP, VK_MENU, true}}, {VK_MENU}},
        {plain('W'), {VK_CONTROL}},
        {plain('Q'), {VK_CONTROL}},
        {plain(VK_F4), {VK_CONTROL}},
        {plain(VK_TAB), {}},
        {plain(VK_TAB), {VK_SHIFT}},
        {plain('A'), {VK_CONTROL}},
        {plain('C'), {VK_CONTROL}},
        {plain('V'), {VK_CONTROL}},
        {plain('X'), {VK_CONTROL}},
        {plain('Z'), {VK_CONTROL}},
    }};
    return keys;
}

class Win32StudentsWindow;
Win32StudentsWindow* answering = nullptr;

// The Win32 window on real files, its dialogs the system's own, each answered from inside its modal loop: a hook
// sees the dialog come up, and posts the press of one of its buttons, which the dialog's own loop handles.
class Win32StudentsWindow : public StudentsWindow {
public:
    // One hook for the whole run: set and removed with every action, it cost two calls to Wine's server each time.
    Win32StudentsWindow()
        : hook_(::SetWindowsHookExW(WH_CBT, &Win32StudentsWindow::dialogCameUp, nullptr, ::GetCurrentThreadId())) {
        answering = this;
    }
    ~Win32StudentsWindow() override {
        abandon();
        answering = nullptr;
        ::UnhookWindowsHookEx(hook_);
    }
    Win32StudentsWindow(const Win32StudentsWindow&) = delete;
    Win32StudentsWindow& operator=(const Win32StudentsWindow&) = delete;

    void start() override {
        random_.repeatLast = true;
        Platform platform{clock_, random_, files_, dialogs_, programEnd_, beep_};
        platform.drafts = &drafts_;
        window_ = std::make_unique<Win32MainWindow>(platform, folder_.path() / "kelvrast");
        boxes_ = std::make_unique<Win32TextBoxes>(window_->control("txt_question"), window_->control("txt_answer"));
        started_ = window_->load().ok() && !programEnd_.exitStatus;
        if (!started_)
            return;
        dialogs_.setOwner(window_->handle());
        window_->show(SW_SHOWNORMAL);
        pump();
    }

    void act(const Action& action) override {
        perform(action);
        pump();
    }

    // Destroyed as it is: the window is detached first, so that nothing of the program's own ending runs.
    void abandon() override {
        dialogs_.setOwner(nullptr);
        boxes_.reset();
        window_.reset();
        programEnd_.exitStatus.reset();
        started_ = false;
    }

    bool running() const override {
        return started_ && !programEnd_.exitStatus && ::IsWindowVisible(window_->handle());
    }
    std::u16string questionText() const override { return boxes_->questionText(); }
    std::u16string answerText() const override { return boxes_->answerText(); }
    StudentFiles files() const override {
        const MainWindowState& state = window_->logic().state();
        return {state.masterFilePath, state.sendFilePath, state.notesFilePath};
    }
    std::u16string studentName() const override { return window_->logic().state().studentName; }
    void keepDraftNow() override { window_->logic().keepDraftNow(); }

    static LRESULT CALLBACK dialogCameUp(int code, WPARAM wParam, LPARAM lParam);

private:
    void perform(const Action& action) {
        switch (action.kind) {
        case Action::Kind::click: {
            HWND control = window_->control(form::controls()[action.row].objectName());
            RECT client{};
            ::GetClientRect(control, &client);
            const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
            ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
            ::PostMessageW(control, WM_LBUTTONUP, 0, centre);
            break;
        }
        case Action::Kind::type:
            type(action.text);
            break;
        case Action::Kind::key:
            press(win32Keys()[static_cast<std::size_t>(action.key)]);
            break;
        case Action::Kind::paste:
            fillClipboard(action.text);
            press({plain('V'), {VK_CONTROL}});
            break;
        case Action::Kind::closeFrame:
            // As the ×, Alt+F4 and the system menu's Close send it.
            ::PostMessageW(window_->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case Action::Kind::kill:
            break;
        }
    }

    HWND focused() const {
        HWND focus = ::GetFocus();
        return focus ? focus : window_->handle();
    }

    void pump() {
        MSG message{};
        while (window_ && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            window_->processMessage(message);
    }

    void press(const Win32Key& key) {
        pressKeyStrokes(focused(), key.strokes, key.held, [this] { pump(); });
    }

    // A short text character by character as the keyboard makes them; a longer one a line at a time, inserted at the
    // caret whole as an input method hands it over. (Wine's EDIT wraps its whole text again for each character, which
    // would make the run many times longer.) Return between the lines.
    void type(const std::u16string& text) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = text.find(u'\n', start);
            const std::u16string line = text.substr(start, end == std::u16string::npos ? end : end - start);
            if (line.size() <= longestTypedByCharacter) {
                for (char16_t unit : line)
                    ::PostMessageW(focused(), WM_CHAR, unit, 1);
            } else {
                ::SendMessageW(focused(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wideText(line).c_str()));
            }
            if (end == std::u16string::npos)
                return;
            press({plain(VK_RETURN), {}});
            start = end + 1;
        }
    }

    // As another program leaves the clipboard: the text, or nothing at all.
    void fillClipboard(const std::u16string& text) {
        if (!::OpenClipboard(window_->handle()))
            return;
        ::EmptyClipboard();
        if (!text.empty()) {
            const std::wstring wide = Win32TextBoxes::forEdit(text);
            const std::size_t size = (wide.size() + 1) * sizeof(wchar_t);
            if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size)) {
                std::memcpy(::GlobalLock(memory), wide.c_str(), size);
                ::GlobalUnlock(memory);
                ::SetClipboardData(CF_UNICODETEXT, memory);
            }
        }
        ::CloseClipboard();
    }

    void answer(HWND dialog) {
        HWND input = ::GetDlgItem(dialog, Win32Dialogs::inputId);
        HWND first = ::GetDlgItem(dialog, Win32Dialogs::firstId);
        const DialogKind kind = input ? DialogKind::input : first ? DialogKind::choice : DialogKind::message;
        HWND text = ::GetDlgItem(dialog, kind == DialogKind::message ? messageBoxTextId : Win32Dialogs::promptId);
        const DialogAnswer given = answerDialog(kind, windowText(text));
        if (input)
            ::SetWindowTextW(input, wideText(given.typed).c_str());
        const std::array<int, 2> buttons = kind == DialogKind::choice
                                               ? std::array<int, 2>{Win32Dialogs::firstId, Win32Dialogs::secondId}
                                               : std::array<int, 2>{IDOK, IDCANCEL};
        if (given.button == DialogAnswer::closeBox) {
            ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            return;
        }
        const int id = buttons[static_cast<std::size_t>(given.button)];
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    }

    TempFolder folder_;
    FakeClock clock_;
    ScriptedRandom random_{{0.25f}};
    Win32Files files_;
    Win32Dialogs dialogs_{nullptr};
    FakeProgramEnd programEnd_;
    FakeBeep beep_;
    // The drafts outlive each program of the run, as the drafts' folder outlives a killed process.
    MemoryDraftStore drafts_;
    HHOOK hook_;
    std::unique_ptr<Win32MainWindow> window_;
    std::unique_ptr<Win32TextBoxes> boxes_;
    bool started_ = false;
};

// A dialog is activated once, when its modal loop shows it; the program's own window is no dialog.
LRESULT CALLBACK Win32StudentsWindow::dialogCameUp(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t className[16] = {};
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && answering && ::GetClassNameW(window, className, 16) &&
        std::wstring(className) == L"#32770" && !::GetPropW(window, L"kelvrast.answered")) {
        ::SetPropW(window, L"kelvrast.answered", reinterpret_cast<HANDLE>(1));
        answering->answer(window);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// As the Qt window's: a careless student, and the program's promises checked as it goes.
TEST(Win32RandomStudent, KeepsTheProgramRunningAndEveryAcknowledgedTextRecorded) {
    playRandomStudents([] { return std::make_unique<Win32StudentsWindow>(); }, fixedSeeds, actionsPerSeed);
}

} // namespace
} // namespace kelvrast::testing
