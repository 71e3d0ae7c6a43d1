#pragma once

#include <windows.h>

#include <exception>

namespace kelvrast {

// A window of a class of the program's own, kept with the object that made it: the one window procedure of every
// such class finds the object from the window and hands it each message, from WM_NCCREATE on, through respond().
class Win32Window {
public:
    HWND handle() const { return window_; }

protected:
    Win32Window() = default;
    // Destroys the window, if the derived class has not already.
    ~Win32Window();
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Registers the class, once for the process, with this procedure and the program's module; the other fields as
    // given. Throws std::runtime_error if the system refuses it.
    static void registerClass(WNDCLASSEXW windowClass);
    // Creates the window, of a registered class, for this object. Throws std::runtime_error if the system makes
    // none.
    void create(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width,
                int height, HWND parent, int controlId);

    // One message of the window's. An exception thrown here goes to failed(), never through the system's frames.
    virtual LRESULT respond(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The exception respond() threw. By default the program stops at once: a window that cannot report an error
    // cannot go on from it either.
    virtual void failed(std::exception_ptr error) noexcept;

    // From here on the window's messages go to the system's default procedure: for a destructor, while the object
    // can no longer answer them.
    void detach();
    // Detached, then destroyed with its children and the windows it owns.
    void destroyWindow();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

} // namespace kelvrast
