#include "frontend/win32/CaptionRoom.h"

#include "frontend/win32/WideText.h"

#include <string>

namespace kelvrast {

namespace {

// A system metric at a DPI. Before Windows 10 1607 every window has the system's DPI, which GetSystemMetrics answers
// for.
int metricAt(int index, UINT dpi) {
    static const auto forDpi = reinterpret_cast<int(WINAPI*)(int, UINT)>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    return forDpi ? forDpi(index, dpi) : ::GetSystemMetrics(index);
}

bool isLabel(HWND control) {
    wchar_t name[16] = {};
    ::GetClassNameW(control, name, 16);
    return ::lstrcmpiW(name, L"Static") == 0;
}

// Where the caption goes in the control's client area, and how DrawTextW lays it out there. The margins are the
// system's own metrics, the same under every visual style.
struct Room {
    RECT area;
    UINT format;
};

Room roomOf(HWND control, HDC dc, UINT dpi) {
    Room room{};
    ::GetClientRect(control, &room.area);
    const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
    if (isLabel(control)) {
        // SS_LEFT wraps at blanks and uses the whole control.
        room.format = DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        return room;
    }
    const LONG_PTR type = style & BS_TYPEMASK;
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
        // The option's circle, as wide as a menu's check mark, then half an average character before the caption,
        // which stays on one line.
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        room.area.left += metricAt(SM_CXMENUCHECK, dpi) + metrics.tmAveCharWidth / 2;
        room.format = DT_SINGLELINE;
        return room;
    }
    // A push button draws its 3-D edge inside its client area and the focus rectangle within the edge: the caption
    // has what lies inside both. This follows Windows, which draws a wrapped caption as DrawTextW measures it. Wine 8
    // does not: where a wrapped caption's widest line holds a blank, as "Save as" of "Save as Notes", it breaks that
    // line again when drawing and shows one line more than measured.
    ::InflateRect(&room.area, -(metricAt(SM_CXEDGE, dpi) + metricAt(SM_CXFOCUSBORDER, dpi)),
                  -(metricAt(SM_CYEDGE, dpi) + metricAt(SM_CYFOCUSBORDER, dpi)));
    room.format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    return room;
}

} // namespace

bool captionFits(HWND control, HFONT font, UINT dpi) {
    const std::wstring caption = wideText(windowText(control));
    HDC dc = ::GetDC(control);
    const HGDIOBJ previous = ::SelectObject(dc, font);
    const Room room = roomOf(control, dc, dpi);
    const LONG width = room.area.right - room.area.left;
    RECT needed{0, 0, width, 0};
    ::DrawTextW(dc, caption.c_str(), -1, &needed, room.format | DT_CALCRECT);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return needed.right <= width && needed.bottom <= room.area.bottom - room.area.top;
}

} // namespace kelvrast
