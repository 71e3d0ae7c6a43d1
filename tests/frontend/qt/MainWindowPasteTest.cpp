#include "WindowUnderTest.h"
#include "frontend/qt/LargeTextBox.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kelvrast::testing {
namespace {

// What a paste may find: nothing at all, data with no format (a clipboard whose owner has gone), or text.
struct PasteCase {
    const char* name;
    std::function<std::unique_ptr<QMimeData>()> data; // null: no data at all
    bool inserts;
};

// A failing case names what the clipboard held.
void PrintTo(const PasteCase& paste, std::ostream* out) {
    *out << paste.name;
}

std::unique_ptr<QMimeData> withText(const QString& text) {
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    return data;
}

const std::vector<PasteCase> pasteCases{
    {"NoData", [] { return std::unique_ptr<QMimeData>(); }, false},
    {"NoFormat", [] { return std::make_unique<QMimeData>(); }, false},
    {"Text", [] { return withText(QStringLiteral(" and more")); }, true},
};

class MainWindowPaste : public ::testing::TestWithParam<PasteCase> {};

// Each large box handed the data directly, as Qt hands it on every paste, the middle button's and every drop; and
// every box pasting from a clipboard that holds it. Text is inserted; anything else inserts nothing, and the
// program goes on.
TEST_P(MainWindowPaste, OnlyTextIsInsertedAndNothingElseEndsTheProgram) {
    const PasteCase& paste = GetParam();
    WindowUnderTest run;
    run.showActive();
    const QString typed = QStringLiteral("half an answer");
    const QString pasted = QStringLiteral(" and more");

    for (const char* name : {"txt_question", "txt_answer"}) {
        auto* box = run.control<LargeTextBox>(name);
        ASSERT_TRUE(box);
        box->setPlainText(typed);
        box->moveCursor(QTextCursor::End);
        const std::unique_ptr<QMimeData> data = paste.data();
        EXPECT_EQ(box->canInsertFromMimeData(data.get()), paste.inserts) << name;
        box->insertFromMimeData(data.get());
        EXPECT_EQ(box->toPlainText().toStdString(), (paste.inserts ? typed + pasted : typed).toStdString()) << name;
    }

    // A clipboard holds no null data; it stands in for them with data of no format.
    for (const form::Control& each : form::controls()) {
        if (each.kind != form::Kind::textBox)
            continue;
        std::unique_ptr<QMimeData> data = paste.data();
        QGuiApplication::clipboard()->setMimeData(data ? data.release() : new QMimeData);
        QWidget* widget = run.control(each);
        QString text;
        if (auto* large = qobject_cast<QPlainTextEdit*>(widget)) {
            large->setPlainText(typed);
            large->moveCursor(QTextCursor::End);
            large->paste();
            text = large->toPlainText();
        } else {
            auto* line = qobject_cast<QLineEdit*>(widget);
            ASSERT_TRUE(line);
            line->setText(typed);
            line->paste();
            text = line->text();
        }
        EXPECT_EQ(text.toStdString(), (paste.inserts ? typed + pasted : typed).toStdString()) << each.objectName();
    }
    EXPECT_FALSE(run.programEnd.exitStatus.has_value());
    EXPECT_TRUE(run.window.isVisible());
    QGuiApplication::clipboard()->clear();
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfClipboard, MainWindowPaste, ::testing::ValuesIn(pasteCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kelvrast::testing
