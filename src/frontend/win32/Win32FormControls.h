#pragma once

#include "form/Form.h"
#include "frontend/win32/CaptionFonts.h"
#include "frontend/win32/Win32Focus.h"
#include "frontend/win32/Win32PictureBox.h"
#include "frontend/win32/Win32Timer.h"

#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

namespace kelvrast {

// The form's controls on the window, row by row as the table lists them: made in the table's order, so that of two
// overlapping controls the later lies on top, then placed and given their fonts at the window's DPI. The picture
// boxes and the timer, which start-up uses, may be made first and the rest once start-up has asked for the name, so
// that the prompt comes up sooner; they are stacked as if all had been made at once.
class Win32FormControls {
public:
    // Each control's id is its row counted from firstId.
    Win32FormControls(HWND window, int firstId, UINT dpi, Win32Focus& focus, bool startUpOnly);
    ~Win32FormControls();
    Win32FormControls(const Win32FormControls&) = delete;
    Win32FormControls& operator=(const Win32FormControls&) = delete;

    // Makes the controls not made yet, then places every control and gives it its font, tooltip and tab stop.
    void finish();
    bool finished() const { return finished_; }
    // Places and fonts for a new DPI.
    void applyDpi(UINT dpi);
    // The timer, picture boxes and tooltips go before the window that their ticks and paints come to.
    void releaseBeforeTheWindow();

    // Null for a control not made yet and for the timer.
    HWND control(std::string_view objectName) const;
    HWND control(form::ControlHandle handle) const;
    const std::vector<HWND>& all() const { return controls_; }
    Win32PictureBox& picture1() { return *picture1_; }
    Win32PictureBox& picture2() { return *picture2_; }
    Win32Timer& pendulumTimer() { return *pendulumTimer_; }
    HFONT dialogFont() const { return fonts_ ? fonts_->dialog() : nullptr; }

private:
    void create(std::size_t row);
    void layOut();
    void applyFonts();
    void setTabStops();

    HWND window_;
    int firstId_;
    UINT dpi_;
    Win32Focus& focus_;
    std::vector<HWND> controls_;
    std::unique_ptr<Win32PictureBox> picture1_;
    std::unique_ptr<Win32PictureBox> picture2_;
    std::unique_ptr<Win32Timer> pendulumTimer_;
    std::unique_ptr<CaptionFonts> fonts_;
    HWND tooltips_ = nullptr;
    bool finished_ = false;
};

} // namespace kelvrast
