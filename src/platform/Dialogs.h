#pragma once

#include <string>

namespace kelvrast {

// Modal dialogs. Texts are UTF-8; a dialog without a title of its own shows the application's name.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An input dialog with a prompt; returns the typed text, or the empty text on Cancel.
    virtual std::string inputText(const std::string& prompt) = 0;
    // A message box with an OK button only.
    virtual void message(const std::string& text) = 0;
    // A question with two answers; true when the student chose the first.
    virtual bool choose(const std::string& text, const std::string& first, const std::string& second) = 0;
};

} // namespace kelvrast
