#pragma once

#include <QRadioButton>

namespace kelvrast {

// An option button that excludes the other option buttons on its window, while every one of them stays a tab
// stop of its own. (Qt's own option buttons let Tab reach only one button of a group.)
class OptionButton : public QRadioButton {
    Q_OBJECT

public:
    OptionButton(const QString& caption, QWidget* parent);

protected:
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace kelvrast
