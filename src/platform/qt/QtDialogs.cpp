#include "platform/qt/QtDialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kelvrast {

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

std::string QtDialogs::inputText(const std::string& prompt) {
    bool accepted = false;
    const QString text = QInputDialog::getText(parent_, QString(), QString::fromStdString(prompt), QLineEdit::Normal,
                                               QString(), &accepted);
    return accepted ? text.toStdString() : std::string();
}

void QtDialogs::message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), QString::fromStdString(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool QtDialogs::choose(const std::string& text, const std::string& first, const std::string& second) {
    QMessageBox box(QMessageBox::NoIcon, QString(), QString::fromStdString(text), QMessageBox::NoButton, parent_);
    QPushButton* firstButton = box.addButton(QString::fromStdString(first), QMessageBox::AcceptRole);
    box.addButton(QString::fromStdString(second), QMessageBox::RejectRole);
    box.setDefaultButton(firstButton);
    box.exec();
    return box.clickedButton() == firstButton;
}

} // namespace kelvrast
