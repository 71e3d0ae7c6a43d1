#include "frontend/win32/Win32MainWindow.h"

#include "flow/MainWindowLogic.h"
#include "form/Form.h"
#include "form/Scaling.h"
#include "frontend/win32/CaptionFonts.h"
#include "frontend/win32/WideText.h"
#include "frontend/win32/Win32AccessibleRole.h"
#include "frontend/win32/Win32PictureBox.h"
#include "frontend/win32/Win32TextBoxes.h"
#include "frontend/win32/Win32Timer.h"
#include "platform/MessageText.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace kelvrast {

namespace {

using form::Control;
using form::Kind;

// The per-monitor DPI functions came with Windows 10 1607; before it, the system's one DPI holds for every window.
template <typename Function> Function user32Function(const char* name) {
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

UINT systemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT dpiOf(HWND window) {
    static const auto getDpiForWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    return systemDpi();
}

int scaled(int twips, UINT dpi) {
    return form::twipsToPixels(twips, static_cast<int>(dpi));
}

RECT placeAt(const form::TwipsRect& place, UINT dpi) {
    const form::PixelRect pixels = form::placeAt(place, static_cast<int>(dpi));
    return RECT{pixels.left, pixels.top, pixels.right, pixels.bottom};
}

bool keyDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

HWND createChild(HWND parent, DWORD exStyle, const wchar_t* windowClass, const std::wstring& text, DWORD style,
                 int id) {
    HWND made = ::CreateWindowExW(
        exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP | style, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!made)
        throw std::runtime_error("a control of the window could not be created");
    return made;
}

// A screen reader names an EDIT or a LISTBOX not by its own text but by the label (STATIC) just before it in z-order,
// visible or hidden, as Windows' documentation of Active Accessibility says. On this form the four visible labels
// come last and lie on top of everything, "Parameter 4" directly above the Question box: without a label of its own
// the Question box is "Parameter 4" everywhere, and the other boxes nameless on Windows and "Parameter 4" on Wine,
// which goes on back to the nearest label. Buttons and option buttons are named by their captions, the picture boxes
// by their window text.
bool namedByLabel(Kind kind) {
    return kind == Kind::textBox || kind == Kind::listBox;
}

// A hidden label with the control's spoken name, put directly above the control just put on top. Hidden, it neither
// shows nor takes a click, and leaves the visible controls' stacking as it was.
void addSpokenLabel(HWND parent, const std::wstring& name) {
    HWND label =
        ::CreateWindowExW(0, L"STATIC", name.c_str(), WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), ::GetModuleHandleW(nullptr), nullptr);
    if (!label)
        throw std::runtime_error("a control's label for screen readers could not be created");
    ::SetWindowPos(label, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool showsCaption(Kind kind) {
    return kind == Kind::commandButton || kind == Kind::optionButton || kind == Kind::label;
}

// The role a screen reader announces for each kind of control that answers for itself: those of Windows' own
// controls, and a picture for a picture box, which is a drawing and no area of text or controls.
long roleOf(Kind kind) {
    switch (kind) {
    case Kind::commandButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case Kind::optionButton:
        return ROLE_SYSTEM_RADIOBUTTON;
    case Kind::listBox:
        return ROLE_SYSTEM_LIST;
    case Kind::pictureBox:
        return ROLE_SYSTEM_GRAPHIC;
    default:
        return 0;
    }
}

} // namespace

Win32MainWindow::Win32MainWindow(Platform platform, std::filesystem::path workingFolder, Controls made)
    : platform_(platform), workingFolder_(std::move(workingFolder)) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);

    createWindow();
    createControls(made == Controls::afterStartUp);
    createLogic();
    if (made == Controls::withTheWindow)
        finishControls();
}

// Detached first: nothing the window's own destruction sends reaches a window that is going.
Win32MainWindow::~Win32MainWindow() {
    detach();
    logic_.reset();
    pendulumTimer_.reset();
    draftTimer_.reset();
    picture1_.reset();
    picture2_.reset();
    if (tooltips_)
        ::DestroyWindow(tooltips_);
    destroyWindow();
    captionFonts_.reset();
    if (largeBoxFont_)
        ::DeleteObject(largeBoxFont_);
}

Status Win32MainWindow::load() {
    Status started = logic_->load();
    if (started.ok()) {
        if (!control(form::questionBox))
            finishControls();
        focus(control(form::questionBox));
    }
    return started;
}

void Win32MainWindow::show(int showCommand) {
    ::ShowWindow(handle(), showCommand);
    ::UpdateWindow(handle());
    ::SetForegroundWindow(handle());
    focus(lastFocus_ ? lastFocus_ : control(form::questionBox));
}

void Win32MainWindow::processMessage(MSG& message) {
    const bool ours = message.hwnd == handle() || ::IsChild(handle(), message.hwnd);
    if (ours && message.message == WM_KEYDOWN && message.wParam == VK_TAB && !keyDown(VK_CONTROL) &&
        !keyDown(VK_MENU)) {
        // IsDialogMessageW would move the focus in z-order, which on this form is not the tab order.
        moveFocus(keyDown(VK_SHIFT));
        return;
    }
    if (::IsDialogMessageW(handle(), &message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

HWND Win32MainWindow::control(std::string_view objectName) const {
    const auto table = form::controls();
    for (std::size_t i = 0; i < table.size() && i < controls_.size(); ++i)
        if (table[i].objectName() == objectName)
            return controls_[i];
    return nullptr;
}

HWND Win32MainWindow::control(form::ControlHandle handle) const {
    return handle.row < controls_.size() ? controls_[handle.row] : nullptr;
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
    createFonts();
    sizeClientArea();
}

// Created in the table's order, each on top of those before it, so that of two overlapping controls the later one
// lies on top. (A new child window goes to the bottom of its siblings.) Start-up uses only the picture boxes and the
// timer.
void Win32MainWindow::createControls(bool usedByStartUpOnly) {
    const auto table = form::controls();
    controls_.assign(table.size(), nullptr);
    for (std::size_t row = 0; row < table.size(); ++row)
        if (!usedByStartUpOnly || table[row].kind == Kind::pictureBox || table[row].kind == Kind::timer)
            createControl(row);
    if (!picture1_ || !picture2_)
        throw std::logic_error("the form has no Picture1 or no Picture2");
}

void Win32MainWindow::createControl(std::size_t row) {
    const Control& each = form::controls()[row];
    const int id = firstControlId + static_cast<int>(row);
    const std::wstring text = captionText(each.caption);
    HWND made = nullptr;
    switch (each.kind) {
    case Kind::timer:
        // No window: its ticks come to this one as WM_TIMER with the timer's id.
        pendulumTimer_ = std::make_unique<Win32Timer>(handle(), id, form::pendulumTimerMilliseconds);
        return;
    case Kind::commandButton:
        // Never BS_DEFPUSHBUTTON: the form has no default button.
        made = createChild(handle(), 0, L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, id);
        break;
    case Kind::optionButton:
        // The window keeps the two options exclusive itself: with WS_GROUP on each, as Tab must reach both,
        // BS_AUTORADIOBUTTON would see each as a group of its own.
        made = createChild(handle(), 0, L"BUTTON", text, WS_TABSTOP | BS_RADIOBUTTON, id);
        break;
    case Kind::textBox: {
        const DWORD lines =
            each.multiLine ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
        made = createChild(handle(), WS_EX_CLIENTEDGE, L"EDIT", std::wstring(each.caption.begin(), each.caption.end()),
                           WS_TABSTOP | ES_LEFT | lines, id);
        ::SendMessageW(made, EM_SETLIMITTEXT, 0, 0); // the largest the control can hold
        ::SetWindowSubclass(made, &Win32MainWindow::editProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
        break;
    }
    case Kind::listBox:
        // LBS_NOINTEGRALHEIGHT: the list keeps the height of the form, not a whole number of rows.
        made = createChild(handle(), WS_EX_CLIENTEDGE, L"LISTBOX", wideText(each.spokenName()),
                           WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, id);
        break;
    case Kind::label:
        // SS_NOPREFIX: the caption as it is, "&" too.
        made = createChild(handle(), 0, L"STATIC", wideText(each.caption), SS_LEFT | SS_NOPREFIX, id);
        break;
    case Kind::pictureBox: {
        auto box = std::make_unique<Win32PictureBox>(handle(), id, wideText(each.spokenName()).c_str(),
                                                     placeAt(each.place, dpi_));
        made = box->handle();
        (&each == &form::control(form::picture1) ? picture1_ : picture2_) = std::move(box);
        break;
    }
    }
    ::SetWindowPos(made, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (namedByLabel(each.kind))
        addSpokenLabel(handle(), wideText(each.spokenName()));
    if (const long role = roleOf(each.kind))
        answerWithRole(made, role);
    controls_[row] = made;
}

// Controls made before the others go back under the control that follows them in the table, from the last up, so
// that the stacking is the table's order, as if all had been made at once. (Only the picture boxes are made early,
// and no hidden label goes with them.)
void Win32MainWindow::stackEarlierControls(const std::vector<bool>& madeEarlier) {
    for (std::size_t row = controls_.size(); row-- > 0;) {
        if (!madeEarlier[row] || !controls_[row])
            continue;
        for (std::size_t next = row + 1; next < controls_.size(); ++next) {
            if (controls_[next]) {
                ::SetWindowPos(controls_[row], controls_[next], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                break;
            }
        }
    }
}

// The controls not made yet, then every control's place, font, tooltip and tab stop.
void Win32MainWindow::finishControls() {
    const auto table = form::controls();
    std::vector<bool> madeEarlier(controls_.size());
    bool madeNow = false;
    for (std::size_t row = 0; row < table.size(); ++row) {
        madeEarlier[row] = controls_[row] != nullptr;
        if (!madeEarlier[row] && table[row].kind != Kind::timer) {
            createControl(row);
            madeNow = true;
        }
    }
    if (madeNow)
        stackEarlierControls(madeEarlier);
    layOutControls();
    createFonts();
    addTooltips();
    setTabOrderOfControls();
    boxes_->attach(control(form::questionBox), control(form::answerBox));
}

// A button far narrower than its caption shows the whole caption as a tooltip.
void Win32MainWindow::addTooltips() {
    const auto table = form::controls();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i].narrow || !controls_[i])
            continue;
        if (!tooltips_)
            tooltips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle(), nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
        if (!tooltips_)
            return; // a missing tooltip costs the student nothing but the hint
        std::wstring text = wideText(table[i].caption);
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = handle();
        tool.uId = reinterpret_cast<UINT_PTR>(controls_[i]);
        tool.lpszText = text.data();
        ::SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Win32MainWindow::setTabOrderOfControls() {
    const auto table = form::controls();
    for (const Control* each : form::tabOrder())
        tabOrder_.push_back(controls_[static_cast<std::size_t>(each - table.data())]);
}

// The logic sees the two large boxes, the picture boxes and the timer only through the platform interfaces.
void Win32MainWindow::createLogic() {
    boxes_ = std::make_unique<Win32TextBoxes>(control(form::questionBox), control(form::answerBox));
    platform_.boxes = boxes_.get();
    platform_.picture1 = picture1_.get();
    platform_.picture2 = picture2_.get();
    platform_.pendulumTimer = pendulumTimer_.get();
    draftTimer_ = std::make_unique<Win32Timer>(handle(), draftTimerId,
                                               static_cast<UINT>(MainWindowLogic::draftTimerMilliseconds()));
    platform_.draftTimer = draftTimer_.get();
    logic_ = std::make_unique<MainWindowLogic>(platform_, workingFolder_);
}

// Fonts and places for a new DPI; the window keeps its client area of the form's size in twips.
void Win32MainWindow::applyDpi(UINT dpi) {
    dpi_ = dpi;
    layOutControls();
    createFonts();
    sizeClientArea();
}

// The two large boxes in Arial 9.75 points, the rest in the system's dialog font, both at the window's DPI. A
// caption that its control, as placed, does not hold whole in the dialog font gets a smaller size of it; the two
// buttons narrower than their captions by design keep it. Measured at the controls' places, so laid out first.
void Win32MainWindow::createFonts() {
    LOGFONTW dialog{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof dialog, &dialog);
    dialog.lfHeight = ::MulDiv(dialog.lfHeight, static_cast<int>(dpi_), static_cast<int>(systemDpi()));
    auto newCaptionFonts = std::make_unique<CaptionFonts>(dialog, dpi_);
    HFONT newLargeBoxFont = ::CreateFontW(-::MulDiv(975, static_cast<int>(dpi_), 7200), 0, 0, 0, FW_NORMAL, FALSE,
                                          FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    const auto table = form::controls();
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (!controls_[i])
            continue;
        HFONT font = newCaptionFonts->dialog();
        if (table[i].font == form::Font::arial9Point75)
            font = newLargeBoxFont;
        else if (showsCaption(table[i].kind) && !table[i].narrow)
            font = newCaptionFonts->fitting(controls_[i]);
        ::SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    captionFonts_ = std::move(newCaptionFonts);
    if (largeBoxFont_)
        ::DeleteObject(largeBoxFont_);
    largeBoxFont_ = newLargeBoxFont;
}

HFONT Win32MainWindow::dialogFont() const {
    return captionFonts_ ? captionFonts_->dialog() : nullptr;
}

void Win32MainWindow::layOutControls() {
    const auto table = form::controls();
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (!controls_[i])
            continue;
        const RECT place = placeAt(table[i].place, dpi_);
        ::SetWindowPos(controls_[i], nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The frame is measured from the window as it is, not computed: whatever the frame, the client area comes out at
// exactly the form's size.
void Win32MainWindow::sizeClientArea() {
    const int width = scaled(form::clientWidthTwips, dpi_);
    const int height = scaled(form::clientHeightTwips, dpi_);
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT client{};
        RECT frame{};
        ::GetClientRect(handle(), &client);
        ::GetWindowRect(handle(), &frame);
        if (client.right == width && client.bottom == height)
            return;
        ::SetWindowPos(handle(), nullptr, 0, 0, frame.right - frame.left + width - client.right,
                       frame.bottom - frame.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The outer size of a window whose client area holds the form at the window's DPI.
SIZE Win32MainWindow::frameSize() const {
    static const auto adjustForDpi =
        user32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, scaled(form::clientWidthTwips, dpi_), scaled(form::clientHeightTwips, dpi_)};
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(handle(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(handle(), GWL_EXSTYLE));
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, dpi_))
        ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

// A click of an option selects it alone, which is the window's own business; the logic hears of every click by the
// control's row.
void Win32MainWindow::clicked(int controlId) {
    if (controlId < firstControlId)
        return; // IDOK or IDCANCEL from the dialog keys, no control's
    const auto table = form::controls();
    const auto row = static_cast<std::size_t>(controlId - firstControlId);
    if (row < table.size() && table[row].kind == Kind::optionButton) {
        if (movingFocus_)
            return;
        for (std::size_t i = 0; i < table.size(); ++i)
            if (table[i].kind == Kind::optionButton)
                ::SendMessageW(controls_[i], BM_SETCHECK, i == row ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (logic_)
        logic_->controlClicked(row);
}

// A box's text changed, by the student's typing or by the program.
void Win32MainWindow::changed(int controlId) {
    if (controlId >= firstControlId && logic_)
        logic_->controlChanged(static_cast<std::size_t>(controlId - firstControlId));
}

// The next or previous tab stop after the one holding the focus, round from the last to the first.
void Win32MainWindow::moveFocus(bool backwards) {
    if (tabOrder_.empty())
        return;
    const HWND focused = ::GetFocus();
    const auto at = std::find_if(tabOrder_.begin(), tabOrder_.end(),
                                 [focused](HWND each) { return each == focused || ::IsChild(each, focused); });
    const std::size_t count = tabOrder_.size();
    std::size_t next = 0;
    if (at == tabOrder_.end())
        next = backwards ? count - 1 : 0;
    else
        next = (static_cast<std::size_t>(at - tabOrder_.begin()) + (backwards ? count - 1 : 1)) % count;
    for (std::size_t tried = 0; tried < count; ++tried) {
        HWND candidate = tabOrder_[next];
        if (::IsWindowVisible(candidate) && ::IsWindowEnabled(candidate)) {
            focus(candidate);
            // As a dialog does: a single-line box reached with Tab has its text selected, ready to be typed over.
            if (!(::GetWindowLongPtrW(candidate, GWL_STYLE) & ES_MULTILINE) &&
                (::SendMessageW(candidate, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
                ::SendMessageW(candidate, EM_SETSEL, 0, -1);
            return;
        }
        next = (next + (backwards ? count - 1 : 1)) % count;
    }
}

void Win32MainWindow::focus(HWND control) {
    if (!control)
        return;
    lastFocus_ = control;
    movingFocus_ = true;
    ::SetFocus(control);
    movingFocus_ = false;
}

// No exception may cross the system's frames back into the message loop.
void Win32MainWindow::failed(std::exception_ptr error) noexcept {
    std::u16string reason;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& thrown) {
        reason = u": " + asciiText(thrown.what());
    } catch (...) {
    }
    platform_.dialogs.message(u"The program met an error it cannot go on from" + reason + u".");
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
        if (pendulumTimer_ && wParam == pendulumTimer_->id())
            pendulumTimer_->tick();
        else if (draftTimer_ && wParam == draftTimer_->id())
            draftTimer_->tick();
        return 0;
    case WM_ACTIVATE:
        // The focus goes back to the control that had it, as in a dialog; the window itself never keeps it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focused = ::GetFocus();
            if (focused && ::IsChild(handle(), focused))
                lastFocus_ = focused;
        } else if (!HIWORD(wParam)) {
            focus(lastFocus_ ? lastFocus_ : control(form::questionBox));
        }
        return 0;
    case WM_GETMINMAXINFO: {
        // The frame may grow past the screen's size, which at a high DPI a small screen can be below: the client
        // area holds the whole form at any DPI.
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        const SIZE needed = frameSize();
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

// Every text box: Tab moves the focus even where the program's own loop does not see the key first (the large boxes
// want every key), Ctrl+A selects the whole text, which the system's EDIT does not do by itself, and Escape does
// nothing. A multi-line EDIT that IsDialogMessageW has asked for its dialog code takes itself to be in a dialog, and
// there answers Escape by posting WM_CLOSE to its parent (Windows and Wine alike): here that is the frame's close,
// and the program would end with the half-typed answer.
LRESULT CALLBACK Win32MainWindow::editProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR owner) {
    auto* self = reinterpret_cast<Win32MainWindow*>(owner);
    const bool plainKey = !keyDown(VK_CONTROL) && !keyDown(VK_MENU);
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_TAB && plainKey) {
            self->moveFocus(keyDown(VK_SHIFT));
            return 0;
        }
        if (wParam == 'A' && keyDown(VK_CONTROL) && !keyDown(VK_MENU)) {
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            return 0;
        }
        if (wParam == VK_ESCAPE)
            return 0;
        break;
    case WM_CHAR:
        // The characters those keys make: a tab, Ctrl+A's 0x01 and Escape's 0x1B.
        if ((wParam == L'\t' && plainKey) || wParam == 0x01 || wParam == 0x1B)
            return 0;
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(edit, &Win32MainWindow::editProcedure, 1);
        break;
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace kelvrast
