#include "frontend/win32/CaptionFonts.h"

#include "frontend/win32/CaptionRoom.h"

#include <cstdlib>
#include <stdexcept>

namespace kelvrast {

namespace {

constexpr int smallestPoints = 6;

} // namespace

CaptionFonts::CaptionFonts(const LOGFONTW& dialog, UINT dpi) : face_(dialog), dpi_(dpi) {
    dialog_ = ofHeight(std::abs(dialog.lfHeight));
}

CaptionFonts::~CaptionFonts() {
    for (const auto& [pixels, font] : made_)
        ::DeleteObject(font);
}

HFONT CaptionFonts::fitting(HWND control) {
    if (captionFits(control, dialog_, dpi_))
        return dialog_;
    const LONG smallest = ::MulDiv(smallestPoints, static_cast<int>(dpi_), 72);
    HFONT font = dialog_;
    for (LONG pixels = std::abs(face_.lfHeight) - 1; pixels >= smallest; --pixels) {
        font = ofHeight(pixels);
        if (captionFits(control, font, dpi_))
            break;
    }
    return font;
}

// Heights as the dialog font gives its own: negative, the character's height without the line's leading.
HFONT CaptionFonts::ofHeight(LONG pixels) {
    if (const auto found = made_.find(pixels); found != made_.end())
        return found->second;
    LOGFONTW wanted = face_;
    wanted.lfHeight = face_.lfHeight < 0 ? -pixels : pixels;
    wanted.lfWidth = 0;
    HFONT font = ::CreateFontIndirectW(&wanted);
    if (!font)
        throw std::runtime_error("a font for the window's captions could not be made");
    made_.emplace(pixels, font);
    return font;
}

} // namespace kelvrast
