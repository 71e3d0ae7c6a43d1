#pragma once

#include "form/Form.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kelvrast {

// The form's controls as the system's own child windows, each made from its row of the table and named for a
// screen reader.

// Made at no place and on top of its siblings; the window lays it out afterwards.
HWND createChild(HWND parent, DWORD exStyle, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id);
// A button, option button, text box, list box or label for its row; the window makes the timer and the picture
// boxes itself.
HWND createSystemControl(HWND parent, const form::Control& row, int id);
// Gives the control just made, the topmost of its siblings, the name and the role a screen reader announces.
void nameForScreenReaders(HWND parent, HWND control, const form::Control& row);

// Controls made before the others (row by row as the table lists them, null for none) go back under the control
// that follows them in the table, so that they are stacked as if all had been made at once.
void stackInTableOrder(const std::vector<HWND>& controls, const std::vector<bool>& madeEarlier);
// A tooltip with the whole caption for each button far narrower than its caption, in the tooltip window tooltips,
// which is made when it is null. A missing tooltip costs the student nothing but the hint.
void addTooltips(HWND window, const std::vector<HWND>& controls, HWND& tooltips);

} // namespace kelvrast
