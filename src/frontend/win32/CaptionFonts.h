#pragma once

#include <windows.h>

#include <map>

namespace kelvrast {

// The fonts of the window's captions at one DPI: the system's dialog font, and for a caption that a control does not
// hold in it, the same face a pixel smaller at a time down to 6 points, as the Linux window shows its captions in a
// smaller font. The set owns every font it makes.
class CaptionFonts {
public:
    CaptionFonts(const LOGFONTW& dialog, UINT dpi);
    ~CaptionFonts();
    CaptionFonts(const CaptionFonts&) = delete;
    CaptionFonts& operator=(const CaptionFonts&) = delete;

    HFONT dialog() const { return dialog_; }
    // The largest font of the set in which the control, at its present size, shows its caption whole; the smallest
    // where none does. The control is neither moved nor resized.
    HFONT fitting(HWND control);

private:
    HFONT ofHeight(LONG pixels);

    LOGFONTW face_;
    UINT dpi_;
    HFONT dialog_;
    std::map<LONG, HFONT> made_; // by height in pixels
};

} // namespace kelvrast
