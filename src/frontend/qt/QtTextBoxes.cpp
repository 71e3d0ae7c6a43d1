#include "frontend/qt/QtTextBoxes.h"

#include "frontend/qt/QtText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace kelvrast {

namespace {

const QChar paragraphSeparator(0x2029);
const QChar lineSeparator(0x2028);

// The raw text keeps a no-break space as it is; toPlainText() would turn it into a blank.
std::u16string readBox(const QPlainTextEdit& box) {
    QString text = box.document()->toRawText();
    text.replace(paragraphSeparator, QStringLiteral("\r\n"));
    text.replace(lineSeparator, QStringLiteral("\r\n"));
    return text.toStdU16String();
}

QString forWidget(std::u16string_view text) {
    QString converted = toQString(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    converted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return converted;
}

} // namespace

QtTextBoxes::QtTextBoxes(QPlainTextEdit& question, QPlainTextEdit& answer) : question_(question), answer_(answer) {}

std::u16string QtTextBoxes::questionText() const {
    return readBox(question_);
}

void QtTextBoxes::setQuestionText(std::u16string_view text) {
    question_.setPlainText(forWidget(text));
}

std::u16string QtTextBoxes::answerText() const {
    return readBox(answer_);
}

void QtTextBoxes::setAnswerText(std::u16string_view text) {
    answer_.setPlainText(forWidget(text));
}

void QtTextBoxes::replaceAnswerUndoably(std::u16string_view text) {
    QTextCursor cursor(answer_.document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(forWidget(text));
    cursor.endEditBlock();
    answer_.setTextCursor(cursor);
}

} // namespace kelvrast
