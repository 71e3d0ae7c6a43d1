#include "frontend/qt/CaptionRoom.h"

#include "form/CaptionFit.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace kelvrast {

namespace {

QStyleOptionButton buttonOption(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    return option;
}

} // namespace

void fitCaptions(const QWidget& window) {
    for (const form::Control& each : form::controls()) {
        if (!form::shrinksToFit(each))
            continue;
        auto* control = window.findChild<QWidget*>(QString::fromStdString(each.objectName()));
        if (!control)
            continue;
        const auto sized = [&](int pixels) {
            QFont font = control->font();
            font.setPixelSize(pixels);
            return font;
        };
        const int own = QFontInfo(control->font()).pixelSize();
        const int fitting = form::fittingHeight(own, control->logicalDpiY(),
                                                [&](int pixels) { return captionFits(*control, sized(pixels)); });
        if (fitting != own)
            control->setFont(sized(fitting));
    }
}

bool captionFits(const QWidget& control, const QFont& font) {
    const QFontMetrics metrics(font);
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        // The window's buttons wrap their captions at word boundaries (CommandButton).
        const QStyleOptionButton option = buttonOption(*button);
        // The caption may reach into the style's margins above and below, where it still shows, but not across
        // the frame at the sides.
        const QRect contents = control.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &control);
        const QRect needed = metrics.boundingRect(contents, Qt::AlignCenter | Qt::TextWordWrap, button->text());
        return needed.width() <= contents.width() && needed.height() <= control.height();
    }
    if (const auto* option = qobject_cast<const QRadioButton*>(&control)) {
        const QStyleOptionButton style = buttonOption(*option);
        const QRect room = control.style()->subElementRect(QStyle::SE_RadioButtonContents, &style, &control);
        return metrics.horizontalAdvance(option->text()) <= room.width();
    }
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return metrics.horizontalAdvance(label->text()) <= label->contentsRect().width();
    return true;
}

} // namespace kelvrast
