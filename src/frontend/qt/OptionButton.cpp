#include "frontend/qt/OptionButton.h"

namespace kelvrast {

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    setAutoExclusive(true);
    setFocusPolicy(Qt::StrongFocus);
}

void OptionButton::focusInEvent(QFocusEvent* event) {
    QRadioButton::focusInEvent(event);
    // The base class has just taken the tab stop away from the other buttons of the group: give it back.
    for (auto* sibling : parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly))
        sibling->setFocusPolicy(Qt::StrongFocus);
}

} // namespace kelvrast
