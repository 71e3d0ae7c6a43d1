#pragma once

#include <windows.h>

#include <vector>

namespace kelvrast {

// The focus among the window's controls: Tab and Shift+Tab in the form's tab order, the control that keeps the focus
// while the window is inactive, and whether the window itself is moving it.
class Win32Focus {
public:
    // The controls that take the focus, in tab order.
    void setTabStops(std::vector<HWND> stops) { stops_ = std::move(stops); }
    // To the next (or previous) visible, enabled tab stop after the one holding the focus.
    void move(bool backwards);
    void focus(HWND control);
    // The window goes inactive: the control in it that has the focus gets it back later.
    void remember(HWND window);
    // The control that had the focus last, or fallback.
    HWND lastOr(HWND fallback) const { return last_ ? last_ : fallback; }
    // On Windows a radio button that receives the focus unchecked, other than by a click, tells its parent
    // BN_CLICKED (so a dialog's arrow keys select the option they reach); Tab must not select an option. Wine 8
    // sends no such BN_CLICKED here, so under Wine this guard is never needed.
    bool moving() const { return moving_; }

private:
    std::vector<HWND> stops_;
    HWND last_ = nullptr;
    bool moving_ = false;
};

} // namespace kelvrast
