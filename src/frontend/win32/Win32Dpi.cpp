#include "frontend/win32/Win32Dpi.h"

#include "form/Scaling.h"

namespace kelvrast {

UINT systemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

// The per-monitor DPI functions came with Windows 10 1607; before it, the system's one DPI holds for every window.
UINT dpiOf(HWND window) {
    static const auto getDpiForWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    return systemDpi();
}

int scaled(int twips, UINT dpi) {
    return form::twipsToPixels(twips, static_cast<int>(dpi));
}

RECT placeAt(const form::TwipsRect& place, UINT dpi) {
    const form::PixelRect pixels = form::placeAt(place, static_cast<int>(dpi));
    return RECT{pixels.left, pixels.top, pixels.right, pixels.bottom};
}

SIZE frameSizeFor(HWND window, UINT dpi) {
    static const auto adjustForDpi =
        user32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, scaled(form::clientWidthTwips, dpi), scaled(form::clientHeightTwips, dpi)};
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, dpi))
        ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

// The frame is measured from the window as it is, not computed: whatever the frame, the client area comes out at
// exactly the form's size.
void sizeClientAreaToForm(HWND window, UINT dpi) {
    const int width = scaled(form::clientWidthTwips, dpi);
    const int height = scaled(form::clientHeightTwips, dpi);
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT client{};
        RECT frame{};
        ::GetClientRect(window, &client);
        ::GetWindowRect(window, &frame);
        if (client.right == width && client.bottom == height)
            return;
        ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                       frame.bottom - frame.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace kelvrast
