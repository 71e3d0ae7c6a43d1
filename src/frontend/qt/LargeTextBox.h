#pragma once

#include <QPlainTextEdit>

class QMimeData;

namespace kelvrast {

// The Question and Answer boxes: plain text, wrapped at word boundaries, Tab moving on. A paste or drop whose data
// is missing or holds no format inserts nothing. On a desktop without a clipboard manager the clipboard has no
// owner once the program that copied has ended, and its data then holds no format: Qt 6.4's insertFromMimeData
// ends the program with SIGSEGV on such data, and its canInsertFromMimeData on null data.
class LargeTextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit LargeTextBox(QWidget* parent);

    // Every paste (Ctrl+V, Shift+Insert, the context menu, the middle button's primary selection) and every drop
    // comes through these two. Public, so that the window's tests can hand them data no clipboard would.
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace kelvrast
