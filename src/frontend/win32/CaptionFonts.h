#pragma once

#include <windows.h>

#include <map>
#include <vector>

namespace kelvrast {

// The fonts of the window's controls at one DPI: the two large boxes in Arial 9.75 points, every other control in
// the system's dialog font, and a caption that its control does not hold whole in it in the same face a pixel smaller
// at a time down to 6 points, as the Linux window shows such captions in a smaller font. The set owns every font it
// makes.
class CaptionFonts {
public:
    explicit CaptionFonts(UINT dpi);
    ~CaptionFonts();
    CaptionFonts(const CaptionFonts&) = delete;
    CaptionFonts& operator=(const CaptionFonts&) = delete;

    HFONT dialog() const { return dialog_; }
    // The largest font of the set in which the control, at its present size, shows its caption whole; the smallest
    // where none does. The control is neither moved nor resized.
    HFONT fitting(HWND control);
    // Gives each control, row by row as the form's table lists them (null for none), its font. Captions are
    // measured at the controls' places, so they are laid out first; the two buttons narrower than their captions
    // by design keep the dialog font.
    void applyTo(const std::vector<HWND>& controls);

private:
    HFONT ofHeight(LONG pixels);

    LOGFONTW face_;
    UINT dpi_;
    HFONT dialog_;
    HFONT largeBox_;
    std::map<LONG, HFONT> made_; // by height in pixels
};

} // namespace kelvrast
