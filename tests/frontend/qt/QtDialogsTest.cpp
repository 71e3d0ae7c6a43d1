#include "frontend/qt/QtDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace kelvrast {
namespace {

// Acts on the next modal dialog as soon as it is open, since the call that opens it only returns once it closes.
template <typename Dialog> void whenOpen(std::function<void(Dialog&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(*dialog);
    });
    poll->start(5);
}

QPushButton* buttonCaptioned(QMessageBox& box, const QString& caption) {
    for (QAbstractButton* button : box.buttons())
        if (button->text() == caption)
            return qobject_cast<QPushButton*>(button);
    return nullptr;
}

TEST(QtDialogs, InputDialogShowsThePromptWithoutTitleOrDefaultAndReturnsTheTypedText) {
    QtDialogs dialogs(nullptr);
    QString title = QStringLiteral("unread"), label, startText = QStringLiteral("unread");
    whenOpen<QInputDialog>([&](QInputDialog& dialog) {
        title = dialog.windowTitle();
        label = dialog.labelText();
        startText = dialog.textValue();
        dialog.setTextValue(QStringLiteral("Zo\u00EB M\u00FCller \u738B\u82B3 \U0001D11E"));
        dialog.accept();
    });

    EXPECT_EQ(dialogs.inputText(u"Your full name:  "), u"Zo\u00EB M\u00FCller \u738B\u82B3 \U0001D11E");
    EXPECT_TRUE(title.isEmpty());
    EXPECT_EQ(label, QStringLiteral("Your full name:  "));
    EXPECT_TRUE(startText.isEmpty());
}

TEST(QtDialogs, CancelledInputGivesTheEmptyText) {
    QtDialogs dialogs(nullptr);
    whenOpen<QInputDialog>([](QInputDialog& dialog) {
        dialog.setTextValue(QStringLiteral("typed, then cancelled"));
        dialog.reject();
    });
    EXPECT_EQ(dialogs.inputText(u"Your full name:  "), u"");
}

TEST(QtDialogs, MessageHasTheTextAndOnlyAnOkButton) {
    QtDialogs dialogs(nullptr);
    QString title = QStringLiteral("unread"), text;
    int buttons = -1;
    whenOpen<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        buttons = static_cast<int>(box.buttons().size());
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });

    // Only the viewed part of a longer text is shown.
    const std::u16string_view whole = u"Send the file send_0107\u738B\u82B3.txt (and nothing after it)";
    dialogs.message(whole.substr(0, whole.find(u" (")));
    EXPECT_TRUE(title.isEmpty());
    EXPECT_EQ(text, QStringLiteral("Send the file send_0107\u738B\u82B3.txt"));
    EXPECT_EQ(buttons, 1);
}

TEST(QtDialogs, ChooseTellsWhichCaptionWasClicked) {
    for (bool clickFirst : {true, false}) {
        QtDialogs dialogs(nullptr);
        bool bothShown = false;
        whenOpen<QMessageBox>([&](QMessageBox& box) {
            QPushButton* keep = buttonCaptioned(box, QStringLiteral("Keep"));
            QPushButton* drop = buttonCaptioned(box, QStringLiteral("Drop"));
            bothShown = keep && drop && box.buttons().size() == 2;
            if (!bothShown)
                return box.done(-1);
            QTest::mouseClick(clickFirst ? keep : drop, Qt::LeftButton);
        });
        EXPECT_EQ(dialogs.choose(u"Keep the note?", u"Keep", u"Drop"), clickFirst);
        EXPECT_TRUE(bothShown);
    }
}

TEST(QtDialogs, ChooseClosedWithEscapeIsTheSecondAnswer) {
    QtDialogs dialogs(nullptr);
    whenOpen<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_FALSE(dialogs.choose(u"Keep the note?", u"Keep", u"Drop"));
}

} // namespace
} // namespace kelvrast
