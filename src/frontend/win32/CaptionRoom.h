#pragma once

#include <windows.h>

namespace kelvrast {

// Whether a push button's, an option button's or a label's caption shows whole in this font at the control's present
// size, at the window's DPI: measured as Windows lays it out, with DrawTextW and DT_CALCRECT in the room the control
// leaves its caption, word-wrapped where the control wraps.
bool captionFits(HWND control, HFONT font, UINT dpi);

} // namespace kelvrast
