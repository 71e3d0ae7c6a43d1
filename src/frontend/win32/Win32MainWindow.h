#pragma once

#include "form/Form.h"
#include "frontend/win32/Win32Focus.h"
#include "frontend/win32/Win32FormControls.h"
#include "frontend/win32/Win32Window.h"
#include "platform/Platform.h"
#include "platform/Status.h"

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

namespace kelvrast {

class MainWindowLogic;
class Win32TextBoxes;

// The program's one window, "Form1", on Windows: every control of the form's table as a child window at its place
// for the window's DPI. It hands the logic a click or a change of text by the row of the control and the frame's
// close, keeps the two
// options exclusive, and moves the focus with Tab in the form's tab order.
class Win32MainWindow : public Win32Window {
public:
    // When the controls that start-up does not use are made: with the window, or once start-up has asked for the
    // name, so that the program's name prompt comes up without waiting for them. The window is shown only after
    // start-up either way.
    enum class Controls { withTheWindow, afterStartUp };

    // The window adds its own controls to the platform's services and hands them on to the logic. It is made hidden.
    Win32MainWindow(Platform platform, std::filesystem::path workingFolder, Controls made = Controls::withTheWindow);
    ~Win32MainWindow();
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Start-up: runs once, before the window is shown. On success every control is made and the focus waits in the
    // Question box.
    Status load();
    // Shows the window, active, with the focus where load() left it.
    void show(int showCommand);

    // One message of the program's message loop: Tab and Shift+Tab in the form's tab order, then the dialog keys
    // (IsDialogMessageW), then the message translated and dispatched.
    void processMessage(MSG& message);

    // The control with this object name (as form::Control::objectName() gives it); null for none or the timer.
    HWND control(std::string_view objectName) const;
    HWND control(form::ControlHandle handle) const;
    Win32PictureBox& picture1() { return controls_->picture1(); }
    Win32PictureBox& picture2() { return controls_->picture2(); }
    MainWindowLogic& logic() { return *logic_; }
    // The DPI the controls are laid out for.
    UINT dpi() const { return dpi_; }
    // The system's dialog font at that DPI, which every caption shows in where it fits.
    HFONT dialogFont() const;

    static constexpr const wchar_t* className = L"KelvrastMainWindow";
    // A control's id: its row of the form's table, counted from here, clear of IDOK and IDCANCEL, which the dialog
    // keys send for Enter and Esc.
    static constexpr int firstControlId = 100;
    // The draft timer's id, apart from the pendulum timer's, which is its row's control id.
    static constexpr UINT_PTR draftTimerId = 1;

private:
    LRESULT respond(UINT message, WPARAM wParam, LPARAM lParam) override;
    // An error no handler dealt with is reported, and ends the program.
    void failed(std::exception_ptr error) noexcept override;

    void createWindow();
    void finishControls();
    void createLogic();
    void applyDpi(UINT dpi);

    void clicked(int controlId);
    void changed(int controlId);

    Platform platform_;
    std::filesystem::path workingFolder_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    Win32Focus focus_;

    // The controls the logic works through, declared before it so that they outlive it.
    std::unique_ptr<Win32FormControls> controls_;
    std::unique_ptr<Win32TextBoxes> boxes_;
    std::unique_ptr<Win32Timer> draftTimer_;
    std::unique_ptr<MainWindowLogic> logic_;
};

} // namespace kelvrast
