#include "frontend/win32/Win32MainWindow.h"

#include "flow/MainWindowLogic.h"
#include "form/Form.h"
#include "frontend/win32/WideText.h"
#include "frontend/win32/Win32Dpi.h"
#include "frontend/win32/Win32FormControls.h"
#include "frontend/win32/Win32TextBoxes.h"
#include "frontend/win32/Win32Timer.h"
#include "text/MessageText.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace kelvrast {

namespace {

using form::Kind;

bool keyDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

} // namespace

Win32MainWindow::Win32MainWindow(Platform platform, std::filesystem::path workingFolder, Controls made)
    : platform_(platform), workingFolder_(std::move(workingFolder)) {
    // The manifest asks for version 6 of the common controls, which this registers for the process.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);

    createWindow();
    controls_ =
        std::make_unique<Win32FormControls>(handle(), firstControlId, dpi_, focus_, made == Controls::afterStartUp);
    createLogic();
    if (made == Controls::withTheWindow)
        finishControls();
}

// Detached first: nothing the window's own destruction sends reaches a window that is going.
Win32MainWindow::~Win32MainWindow() {
    detach();
    logic_.reset();
    draftTimer_.reset();
    controls_->releaseBeforeTheWindow();
    destroyWindow();
    controls_.reset();
}

Status Win32MainWindow::load() {
    Status started = logic_->load();
    if (started.ok()) {
        if (!controls_->finished())
            finishControls();
        focus_.focus(control(form::questionBox));
    }
    return started;
}

void Win32MainWindow::show(int showCommand) {
    ::ShowWindow(handle(), showCommand);
    ::UpdateWindow(handle());
    ::SetForegroundWindow(handle());
    focus_.focus(focus_.lastOr(control(form::questionBox)));
}

void Win32MainWindow::processMessage(MSG& message) {
    const bool ours = message.hwnd == handle() || ::IsChild(handle(), message.hwnd);
    if (ours && message.message == WM_KEYDOWN && message.wParam == VK_TAB && !keyDown(VK_CONTROL) &&
        !keyDown(VK_MENU)) {
        // IsDialogMessageW would move the focus in z-order, which on this form is not the tab order.
        focus_.move(keyDown(VK_SHIFT));
        return;
    }
    if (::IsDialogMessageW(handle(), &message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

HWND Win32MainWindow::control(std::string_view objectName) const {
    return controls_->control(objectName);
}

HWND Win32MainWindow::control(form::ControlHandle handle) const {
    return controls_->control(handle);
}

void Win32MainWindow::createWindow() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hIconSm =
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                        ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    registerClass(windowClass);
    // Made at the system's DPI where the system places new windows; sized again for the DPI of the monitor it
    // lands on.
    const UINT startDpi = systemDpi();
    create(0, className, wideText(form::windowTitle).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
           CW_USEDEFAULT, scaled(form::clientWidthTwips, startDpi), scaled(form::clientHeightTwips, startDpi), nullptr,
           0);
    dpi_ = dpiOf(handle());
    sizeClientAreaToForm(handle(), dpi_);
}

// The controls not made yet, then every control's place, font, tooltip and tab stop.
void Win32MainWindow::finishControls() {
    controls_->finish();
    boxes_->attach(control(form::questionBox), control(form::answerBox));
}

// The logic sees the two large boxes, the picture boxes and the timer only through the platform interfaces.
void Win32MainWindow::createLogic() {
    boxes_ = std::make_unique<Win32TextBoxes>(control(form::questionBox), control(form::answerBox));
    draftTimer_ = std::make_unique<Win32Timer>(handle(), draftTimerId,
                                               static_cast<UINT>(MainWindowLogic::draftTimerMilliseconds()));
    logic_ = std::make_unique<MainWindowLogic>(platform_.with({*boxes_, controls_->picture1(), controls_->picture2(),
                                                               controls_->pendulumTimer(), *draftTimer_}),
                                               workingFolder_);
}

// Fonts and places for a new DPI; the window keeps its client area of the form's size in twips.
void Win32MainWindow::applyDpi(UINT dpi) {
    dpi_ = dpi;
    controls_->applyDpi(dpi);
    sizeClientAreaToForm(handle(), dpi_);
}

HFONT Win32MainWindow::dialogFont() const {
    return controls_->dialogFont();
}

// A click of an option selects it alone, which is the window's own business; the logic hears of every click by the
// control's row.
void Win32MainWindow::clicked(int controlId) {
    if (controlId < firstControlId)
        return; // IDOK or IDCANCEL from the dialog keys, no control's
    const auto table = form::controls();
    const auto row = static_cast<std::size_t>(controlId - firstControlId);
    if (row < table.size() && table[row].kind == Kind::optionButton) {
        if (focus_.moving())
            return;
        for (std::size_t i = 0; i < table.size(); ++i)
            if (table[i].kind == Kind::optionButton)
                ::SendMessageW(controls_->all()[i], BM_SETCHECK, i == row ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (logic_)
        logic_->controlClicked(row);
}

// A box's text changed, by the student's typing or by the program.
void Win32MainWindow::changed(int controlId) {
    if (controlId >= firstControlId && logic_)
        logic_->controlChanged(static_cast<std::size_t>(controlId - firstControlId));
}

// No exception may cross the system's frames back into the message loop.
void Win32MainWindow::failed(std::exception_ptr error) noexcept {
    platform_.dialogs.message(programStoppedText(error));
    platform_.programEnd.endProgram(1);
}

LRESULT Win32MainWindow::respond(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam)
            clicked(LOWORD(wParam));
        else if (HIWORD(wParam) == EN_CHANGE && lParam)
            changed(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        if (controls_ && wParam == controls_->pendulumTimer().id())
            controls_->pendulumTimer().tick();
        else if (draftTimer_ && wParam == draftTimer_->id())
            draftTimer_->tick();
        return 0;
    case WM_ACTIVATE:
        // The focus goes back to the control that had it, as in a dialog; the window itself never keeps it.
        if (LOWORD(wParam) == WA_INACTIVE)
            focus_.remember(handle());
        else if (!HIWORD(wParam))
            focus_.focus(focus_.lastOr(control(form::questionBox)));
        return 0;
    case WM_GETMINMAXINFO: {
        // The frame may grow past the screen's size, which at a high DPI a small screen can be below: the client
        // area holds the whole form at any DPI.
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        const SIZE needed = frameSizeFor(handle(), dpi_);
        limits->ptMaxTrackSize.x = std::max<LONG>(limits->ptMaxTrackSize.x, needed.cx);
        limits->ptMaxTrackSize.y = std::max<LONG>(limits->ptMaxTrackSize.y, needed.cy);
        return 0;
    }
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        applyDpi(HIWORD(wParam));
        return 0;
    }
    case WM_SYSCOMMAND:
        // Alt alone and F10 (SC_KEYMENU without a character) would put the window in the menu bar's keyboard mode.
        // The form has no menu bar: the mode shows nothing, and the letters the student types next go to the
        // system menu instead of the box. Alt+Space still opens the system menu.
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0)
            return 0;
        return ::DefWindowProcW(handle(), message, wParam, lParam);
    case WM_CLOSE:
        // The frame's close: the ×, Alt+F4 and the system menu's Close come as SC_CLOSE, which the system turns into
        // this.
        if (logic_)
            logic_->windowClosed();
        return 0;
    case WM_DESTROY:
        // Only a window destroyed by anything but its owner (the end of the session) still hears of it: the program
        // ends with it.
        platform_.programEnd.endProgram(0);
        return 0;
    default:
        return ::DefWindowProcW(handle(), message, wParam, lParam);
    }
}

} // namespace kelvrast
