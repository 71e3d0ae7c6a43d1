#include "frontend/qt/QtDialogs.h"

#include "frontend/qt/QtText.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kelvrast {

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

std::u16string QtDialogs::inputText(std::u16string_view prompt) {
    bool accepted = false;
    const QString text =
        QInputDialog::getText(parent_, QString(), toQString(prompt), QLineEdit::Normal, QString(), &accepted);
    return accepted ? text.toStdU16String() : std::u16string();
}

void QtDialogs::message(std::u16string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), toQString(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool QtDialogs::choose(std::u16string_view text, std::u16string_view first, std::u16string_view second) {
    QMessageBox box(QMessageBox::NoIcon, QString(), toQString(text), QMessageBox::NoButton, parent_);
    QPushButton* firstButton = box.addButton(toQString(first), QMessageBox::AcceptRole);
    box.addButton(toQString(second), QMessageBox::RejectRole);
    box.setDefaultButton(firstButton);
    box.exec();
    return box.clickedButton() == firstButton;
}

} // namespace kelvrast
