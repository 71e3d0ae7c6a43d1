#pragma once

#include "frontend/win32/Win32Window.h"
#include "platform/PictureBox.h"

#include <windows.h>

namespace kelvrast {

// A white drawing area with a user coordinate system of its own (1000 by 1000 once start-up has run): a child window
// that takes the focus. What is drawn goes into an off-screen bitmap of the box's client area, which WM_PAINT only
// copies to the screen, so it survives being covered.
class Win32PictureBox : public PictureBox, public Win32Window {
public:
    static constexpr const wchar_t* className = L"KelvrastPictureBox";

    // Creates the box as a child of parent, with its outer rectangle at place.
    Win32PictureBox(HWND parent, int controlId, const wchar_t* accessibleName, const RECT& place);
    ~Win32PictureBox() override;
    Win32PictureBox(const Win32PictureBox&) = delete;
    Win32PictureBox& operator=(const Win32PictureBox&) = delete;

    void setScaleHeight(float height) override { scaleHeight_ = height; }
    void setScaleWidth(float width) override { scaleWidth_ = width; }
    float scaleHeight() const { return scaleHeight_; }
    float scaleWidth() const { return scaleWidth_; }

    // A true circle: the radius is taken in horizontal units, however unlike the two units are.
    void circle(float x, float y, float radius) override;

    // A pixel of the off-screen bitmap, in client coordinates: what the box shows there.
    COLORREF canvasPixel(int x, int y) const;

    static constexpr COLORREF drawingColour = RGB(0, 0, 0);

private:
    LRESULT respond(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC target, const RECT& area);
    // Runs inside the window's own messages: reports a failure instead of throwing it through the system's frames.
    bool fitCanvasToBox();
    void releaseCanvas();

    float scaleHeight_ = 1000;
    float scaleWidth_ = 1000;
    HDC canvas_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ bitmapBefore_ = nullptr;
    SIZE canvasSize_{0, 0};
};

} // namespace kelvrast
