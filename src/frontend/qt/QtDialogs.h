#pragma once

#include "platform/Dialogs.h"

class QWidget;

namespace kelvrast {

// Modal Qt dialogs. They pass no title of their own, so the window system shows the application's name.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent);

    // The window the dialogs open over from now on; null for none.
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    std::u16string inputText(std::u16string_view prompt) override;
    void message(std::u16string_view text) override;
    bool choose(std::u16string_view text, std::u16string_view first, std::u16string_view second) override;

private:
    QWidget* parent_;
};

} // namespace kelvrast
