#include "frontend/win32/Win32PictureBox.h"

#include "form/Form.h"
#include "form/Scaling.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace kelvrast {

namespace {

constexpr COLORREF white =
    RGB((form::pictureBoxRgb >> 16) & 0xFF, (form::pictureBoxRgb >> 8) & 0xFF, form::pictureBoxRgb & 0xFF);

} // namespace

Win32PictureBox::Win32PictureBox(HWND parent, int controlId, const wchar_t* accessibleName, const RECT& place) {
    WNDCLASSEXW windowClass{};
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = nullptr; // WM_ERASEBKGND paints the bitmap's white
    windowClass.lpszClassName = className;
    registerClass(windowClass);
    create(WS_EX_CLIENTEDGE, className, accessibleName, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
           place.left, place.top, place.right - place.left, place.bottom - place.top, parent, controlId);
    if (!fitCanvasToBox())
        throw std::runtime_error("a picture box's bitmap could not be made");
}

Win32PictureBox::~Win32PictureBox() {
    destroyWindow();
    releaseCanvas();
}

void Win32PictureBox::circle(float x, float y, float radius) {
    if (scaleWidth_ == 0 || scaleHeight_ == 0)
        return;
    // Without a bitmap (the system is out of GDI memory) there is nowhere to draw; the circle is left out.
    if (!fitCanvasToBox())
        return;
    RECT surface{};
    ::GetClientRect(handle(), &surface);
    const std::optional<form::PixelCircle> circle =
        form::circleInPixels(x, y, radius, scaleWidth_, scaleHeight_, surface.right, surface.bottom);
    if (!circle)
        return;
    const double centreX = circle->centreX;
    const double centreY = circle->centreY;
    const double radiusPixels = circle->radius;

    // Ellipse leaves out its rectangle's right and bottom edges: the circle runs from the pixel at centre - r to the
    // one at centre + r, as the Linux window draws it.
    const RECT drawn{static_cast<LONG>(std::lround(centreX - radiusPixels)),
                     static_cast<LONG>(std::lround(centreY - radiusPixels)),
                     static_cast<LONG>(std::lround(centreX + radiusPixels)) + 1,
                     static_cast<LONG>(std::lround(centreY + radiusPixels)) + 1};
    HPEN pen = ::CreatePen(PS_SOLID, 1, drawingColour);
    const HGDIOBJ penBefore = ::SelectObject(canvas_, pen);
    const HGDIOBJ brushBefore = ::SelectObject(canvas_, ::GetStockObject(NULL_BRUSH));
    ::Ellipse(canvas_, drawn.left, drawn.top, drawn.right, drawn.bottom);
    ::SelectObject(canvas_, brushBefore);
    ::SelectObject(canvas_, penBefore);
    ::DeleteObject(pen);

    RECT changed{drawn.left - 2, drawn.top - 2, drawn.right + 2, drawn.bottom + 2};
    RECT visible{};
    if (::IntersectRect(&visible, &changed, &surface))
        ::InvalidateRect(handle(), &visible, FALSE);
}

COLORREF Win32PictureBox::canvasPixel(int x, int y) const {
    return ::GetPixel(canvas_, x, y);
}

LRESULT Win32PictureBox::respond(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC target = ::BeginPaint(handle(), &ps);
        paint(target, ps.rcPaint);
        ::EndPaint(handle(), &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT all{};
        ::GetClientRect(handle(), &all);
        paint(reinterpret_cast<HDC>(wParam), all);
        return 0;
    }
    case WM_SIZE:
        fitCanvasToBox(); // on failure the old bitmap stays, and with it what was drawn
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(handle(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        ::SetFocus(handle());
        return 0;
    default:
        return ::DefWindowProcW(handle(), message, wParam, lParam);
    }
}

// Only a copy of the bitmap, and the focus rectangle on top while the box has the focus.
void Win32PictureBox::paint(HDC target, const RECT& area) {
    ::BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, canvas_, area.left, area.top,
             SRCCOPY);
    if (::GetFocus() == handle() && !(::SendMessageW(handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        RECT all{};
        ::GetClientRect(handle(), &all);
        ::DrawFocusRect(target, &all);
    }
}

// The bitmap covers the client area. Should the box change size (a change of DPI), what is drawn so far stays
// where it was.
bool Win32PictureBox::fitCanvasToBox() {
    RECT client{};
    ::GetClientRect(handle(), &client);
    const SIZE size{std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)};
    if (canvas_ && size.cx == canvasSize_.cx && size.cy == canvasSize_.cy)
        return true;
    HDC screen = ::GetDC(handle());
    HDC canvas = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
    ::ReleaseDC(handle(), screen);
    if (!canvas || !bitmap) {
        if (bitmap)
            ::DeleteObject(bitmap);
        if (canvas)
            ::DeleteDC(canvas);
        return canvas_ != nullptr;
    }
    const HGDIOBJ before = ::SelectObject(canvas, bitmap);
    const RECT all{0, 0, size.cx, size.cy};
    HBRUSH background = ::CreateSolidBrush(white);
    ::FillRect(canvas, &all, background);
    ::DeleteObject(background);
    if (canvas_)
        ::BitBlt(canvas, 0, 0, std::min(size.cx, canvasSize_.cx), std::min(size.cy, canvasSize_.cy), canvas_, 0, 0,
                 SRCCOPY);
    releaseCanvas();
    canvas_ = canvas;
    bitmap_ = bitmap;
    bitmapBefore_ = before;
    canvasSize_ = size;
    return true;
}

void Win32PictureBox::releaseCanvas() {
    if (!canvas_)
        return;
    ::SelectObject(canvas_, bitmapBefore_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(canvas_);
    canvas_ = nullptr;
    bitmap_ = nullptr;
}

} // namespace kelvrast
