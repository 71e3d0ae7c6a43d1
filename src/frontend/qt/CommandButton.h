#pragma once

#include <QPushButton>

namespace kelvrast {

// A push button whose caption wraps onto further lines when it is wider than the button, never the default
// button of its window.
class CommandButton : public QPushButton {
    Q_OBJECT

public:
    CommandButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kelvrast
