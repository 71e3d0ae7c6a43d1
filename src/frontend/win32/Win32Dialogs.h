#pragma once

#include "platform/Dialogs.h"

#include <windows.h>

namespace kelvrast {

// Modal dialogs of the system's own, captioned with the application's title "kelvrast".
class Win32Dialogs : public Dialogs {
public:
    explicit Win32Dialogs(HWND owner) : owner_(owner) {}

    // The window the dialogs open over from now on; null for none.
    void setOwner(HWND owner) { owner_ = owner; }

    std::u16string inputText(std::u16string_view prompt) override;
    void message(std::u16string_view text) override;
    bool choose(std::u16string_view text, std::u16string_view first, std::u16string_view second) override;

    static constexpr const wchar_t* title = L"kelvrast";
    // The controls of the input dialog and of the question with two answers.
    static constexpr int promptId = 100;
    static constexpr int inputId = 101;
    static constexpr int firstId = 102;
    static constexpr int secondId = 103;

private:
    HWND owner_;
};

} // namespace kelvrast
