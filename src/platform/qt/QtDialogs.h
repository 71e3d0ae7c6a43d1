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

    std::string inputText(const std::string& prompt) override;
    void message(const std::string& text) override;
    bool choose(const std::string& text, const std::string& first, const std::string& second) override;

private:
    QWidget* parent_;
};

} // namespace kelvrast
