#include "frontend/qt/CommandButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace kelvrast {

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
}

void CommandButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect captionArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(captionArea, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
}

} // namespace kelvrast
