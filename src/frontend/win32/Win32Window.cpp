#include "frontend/win32/Win32Window.h"

#include <stdexcept>

namespace kelvrast {

Win32Window::~Win32Window() {
    destroyWindow();
}

void Win32Window::registerClass(WNDCLASSEXW windowClass) {
    windowClass.cbSize = sizeof windowClass;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpfnWndProc = &Win32Window::procedure;
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing))
        return;
    if (!::RegisterClassExW(&windowClass))
        throw std::runtime_error("a window class of the program's could not be registered");
}

// The object goes to WM_NCCREATE as the base class it is here: a derived class's own pointer may lie elsewhere.
void Win32Window::create(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                         int width, int height, HWND parent, int controlId) {
    const HWND made = ::CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                        ::GetModuleHandleW(nullptr), static_cast<Win32Window*>(this));
    if (!made)
        throw std::runtime_error("a window of the program's could not be created");
}

void Win32Window::failed(std::exception_ptr) noexcept {
    std::terminate();
}

void Win32Window::detach() {
    if (window_)
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}

void Win32Window::destroyWindow() {
    if (!window_)
        return;
    detach();
    ::DestroyWindow(window_);
    window_ = nullptr;
}

LRESULT CALLBACK Win32Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* made = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
        made->window_ = window;
    }
    auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    // No exception may cross the system's frames back into the message loop.
    try {
        result = self->respond(message, wParam, lParam);
    } catch (...) {
        self->failed(std::current_exception());
    }
    // The window's last message: the object no longer has a window, whoever destroyed it.
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return result;
}

} // namespace kelvrast
