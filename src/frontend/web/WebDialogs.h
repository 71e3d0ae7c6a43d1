#pragma once

#include "platform/Dialogs.h"

namespace kelvrast {

// The page's modal dialog. While it is open the program waits for its answer, and the page's other events wait
// their turn.
class WebDialogs : public Dialogs {
public:
    explicit WebDialogs(std::nullptr_t) {}

    std::u16string inputText(std::u16string_view prompt) override;
    void message(std::u16string_view text) override;
    bool choose(std::u16string_view text, std::u16string_view first, std::u16string_view second) override;
};

} // namespace kelvrast
