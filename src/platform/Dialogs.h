#pragma once

#include <string>
#include <string_view>

namespace kelvrast {

// Modal dialogs. Texts are UTF-16, as the screen shows them; a dialog without a title of its own shows the
// application's name.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An input dialog with a prompt; returns the typed text, or the empty text on Cancel.
    virtual std::u16string inputText(std::u16string_view prompt) = 0;
    // A message box with an OK button only.
    virtual void message(std::u16string_view text) = 0;
    // A question with two answers; true when the student chose the first.
    virtual bool choose(std::u16string_view text, std::u16string_view first, std::u16string_view second) = 0;
};

} // namespace kelvrast
