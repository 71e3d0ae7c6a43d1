#include "frontend/qt/LargeTextBox.h"

#include <QMimeData>

namespace kelvrast {

namespace {

bool holdsAnything(const QMimeData* source) {
    return source && !source->formats().isEmpty();
}

} // namespace

LargeTextBox::LargeTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

bool LargeTextBox::canInsertFromMimeData(const QMimeData* source) const {
    return holdsAnything(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void LargeTextBox::insertFromMimeData(const QMimeData* source) {
    if (holdsAnything(source))
        QPlainTextEdit::insertFromMimeData(source);
}

} // namespace kelvrast
