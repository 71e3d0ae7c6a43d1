#include "frontend/win32/CaptionFonts.h"

#include "form/CaptionFit.h"
#include "form/Form.h"
#include "frontend/win32/CaptionRoom.h"
#include "frontend/win32/Win32Controls.h"
#include "frontend/win32/Win32Dpi.h"

#include <cstdlib>
#include <stdexcept>

namespace kelvrast {

namespace {

// The system's dialog font, as it is at the system's DPI, scaled to this one.
LOGFONTW dialogFace(UINT dpi) {
    LOGFONTW dialog{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof dialog, &dialog);
    dialog.lfHeight = ::MulDiv(dialog.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi()));
    return dialog;
}

} // namespace

CaptionFonts::CaptionFonts(UINT dpi) : face_(dialogFace(dpi)), dpi_(dpi) {
    dialog_ = ofHeight(std::abs(face_.lfHeight));
    largeBox_ = ::CreateFontW(-::MulDiv(975, static_cast<int>(dpi), 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, L"Arial");
}

CaptionFonts::~CaptionFonts() {
    for (const auto& [pixels, font] : made_)
        ::DeleteObject(font);
    if (largeBox_)
        ::DeleteObject(largeBox_);
}

void CaptionFonts::applyTo(const std::vector<HWND>& controls) {
    const auto table = form::controls();
    for (std::size_t i = 0; i < controls.size() && i < table.size(); ++i) {
        if (!controls[i])
            continue;
        HFONT font = dialog_;
        if (table[i].font == form::Font::arial9Point75)
            font = largeBox_;
        else if (form::shrinksToFit(table[i]))
            font = fitting(controls[i]);
        ::SendMessageW(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

HFONT CaptionFonts::fitting(HWND control) {
    // The dialog font is the first height made, so asking for it again gives dialog_ itself.
    return ofHeight(form::fittingHeight(std::abs(face_.lfHeight), static_cast<int>(dpi_),
                                        [&](int pixels) { return captionFits(control, ofHeight(pixels), dpi_); }));
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
