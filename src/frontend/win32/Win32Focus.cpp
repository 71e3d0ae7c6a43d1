#include "frontend/win32/Win32Focus.h"

#include "form/FocusOrder.h"

#include <algorithm>
#include <optional>

namespace kelvrast {

void Win32Focus::move(bool backwards) {
    const HWND focused = ::GetFocus();
    const auto at = std::find_if(stops_.begin(), stops_.end(),
                                 [focused](HWND each) { return each == focused || ::IsChild(each, focused); });
    const std::optional<std::size_t> current =
        at == stops_.end() ? std::nullopt : std::optional<std::size_t>(at - stops_.begin());
    const std::optional<std::size_t> next = form::nextTabStop(stops_.size(), current, backwards, [&](std::size_t i) {
        return ::IsWindowVisible(stops_[i]) && ::IsWindowEnabled(stops_[i]);
    });
    if (!next)
        return;
    HWND candidate = stops_[*next];
    focus(candidate);
    // As a dialog does: a single-line box reached with Tab has its text selected, ready to be typed over.
    if (!(::GetWindowLongPtrW(candidate, GWL_STYLE) & ES_MULTILINE) &&
        (::SendMessageW(candidate, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        ::SendMessageW(candidate, EM_SETSEL, 0, -1);
}

void Win32Focus::focus(HWND control) {
    if (!control)
        return;
    last_ = control;
    moving_ = true;
    ::SetFocus(control);
    moving_ = false;
}

void Win32Focus::remember(HWND window) {
    const HWND focused = ::GetFocus();
    if (focused && ::IsChild(window, focused))
        last_ = focused;
}

} // namespace kelvrast
