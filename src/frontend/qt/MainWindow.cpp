#include "frontend/qt/MainWindow.h"

#include "flow/MainWindowLogic.h"
#include "form/Form.h"
#include "frontend/qt/CaptionRoom.h"
#include "frontend/qt/CommandButton.h"
#include "frontend/qt/LargeTextBox.h"
#include "frontend/qt/OptionButton.h"
#include "frontend/qt/QtText.h"
#include "frontend/qt/QtTextBoxes.h"
#include "frontend/qt/QtTimer.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <limits>
#include <stdexcept>
#include <string>

namespace kelvrast {

namespace {

// At 96 dots per inch every place of the form is a whole number of pixels.
QRect pixels(const form::TwipsRect& twips) {
    const form::TwipsRect shown = form::pixelsAt96Dpi(twips);
    return QRect(shown.left, shown.top, shown.width, shown.height);
}

// Small enough for the captions to fit their controls; the two large boxes have a font of their own.
QFont dialogFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(7.5);
    return font;
}

QFont arial9Point75() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Normal);
    return font;
}

QLineEdit* parameterBox(QWidget* parent, const QString& text) {
    auto* box = new QLineEdit(text, parent);
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QLabel* label(QWidget* parent, const QString& caption) {
    auto* made = new QLabel(caption, parent);
    made->setFocusPolicy(Qt::NoFocus);
    return made;
}

// The widget that shows a control of this kind, with its caption or the text it starts with.
QWidget* widgetFor(const form::Control& control, QWidget* parent) {
    const QString caption = toQString(control.caption);
    switch (control.kind) {
    case form::Kind::commandButton:
        return new CommandButton(caption, parent);
    case form::Kind::textBox:
        return control.multiLine ? static_cast<QWidget*>(new LargeTextBox(parent)) : parameterBox(parent, caption);
    case form::Kind::label:
        return label(parent, caption);
    case form::Kind::optionButton:
        return new OptionButton(caption, parent);
    case form::Kind::pictureBox:
        return new PictureBoxWidget(parent);
    case form::Kind::listBox:
        return new QListWidget(parent);
    case form::Kind::timer:
        break;
    }
    throw std::logic_error("no widget shows a control of the kind of " + control.objectName());
}

QTimer* timerFor(const form::Control& control, QObject* parent) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(toQString(control.objectName()));
    timer->setInterval(form::pendulumTimerMilliseconds);
    return timer;
}

QWidget* placed(const form::Control& control, QWidget* parent) {
    QWidget* widget = widgetFor(control, parent);
    widget->setObjectName(toQString(control.objectName()));
    widget->setAccessibleName(toQString(control.spokenName()));
    widget->setGeometry(pixels(control.place));
    if (control.font == form::Font::arial9Point75)
        widget->setFont(arial9Point75());
    if (control.narrow)
        widget->setToolTip(toQString(control.caption));
    return widget;
}

} // namespace

MainWindow::MainWindow(Platform platform, std::filesystem::path workingFolder, QWidget* parent)
    : QWidget(parent), platform_(platform), workingFolder_(std::move(workingFolder)) {
    setObjectName(toQString(form::windowObjectName));
    setWindowTitle(toQString(form::windowTitle));
    resize(form::clientWidthTwips / form::twipsPerPixelAt96Dpi, form::clientHeightTwips / form::twipsPerPixelAt96Dpi);
    setFont(dialogFont());

    createControls();
    fitCaptions(*this);
    setTabOrderOfControls();
    findControls();
    createLogic();
}

MainWindow::~MainWindow() = default;

Status MainWindow::load() {
    Status started = logic_->load();
    if (started.ok())
        txt_question->setFocus();
    return started;
}

template <typename Child> Child* MainWindow::child(const std::string& objectName) const {
    auto* found = findChild<Child*>(QString::fromStdString(objectName), Qt::FindDirectChildrenOnly);
    if (!found)
        throw std::logic_error("the window has no control " + objectName + " of the kind it needs");
    return found;
}

// In the form's order, so that of two overlapping controls the later one lies on top. A button tells the logic its
// row when it is clicked.
void MainWindow::createControls() {
    const auto table = form::controls();
    for (std::size_t row = 0; row < table.size(); ++row) {
        const form::Control& each = table[row];
        if (each.kind == form::Kind::timer) {
            timerFor(each, this);
            continue;
        }
        QWidget* widget = placed(each, this);
        if (auto* button = qobject_cast<QPushButton*>(widget))
            connect(button, &QPushButton::clicked, this, [this, row] { logic_->controlClicked(row); });
        if (auto* box = qobject_cast<QPlainTextEdit*>(widget))
            connect(box, &QPlainTextEdit::textChanged, this, [this, row] {
                if (logic_)
                    logic_->controlChanged(row);
            });
    }
    // Screen readers announce each parameter box with the label of the same index that names it.
    for (const form::Control& label : form::controls()) {
        if (label.kind != form::Kind::label || !label.index)
            continue;
        for (const form::Control& box : form::controls())
            if (box.kind == form::Kind::textBox && box.index == label.index)
                child<QLabel>(label.objectName())->setBuddy(child<QWidget>(box.objectName()));
    }
}

void MainWindow::setTabOrderOfControls() {
    QWidget* previous = nullptr;
    for (const form::Control* each : form::tabOrder()) {
        QWidget* next = child<QWidget>(each->objectName());
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

// The controls the logic works through.
void MainWindow::findControls() {
    tmr_pend_exp = child<QTimer>(form::pendulumTimer);
    Picture1 = child<PictureBoxWidget>(form::picture1);
    Picture2 = child<PictureBoxWidget>(form::picture2);
    txt_answer = child<QPlainTextEdit>(form::answerBox);
    txt_question = child<QPlainTextEdit>(form::questionBox);
}

// The logic sees the two large boxes, the picture boxes and the timer only through the platform interfaces.
void MainWindow::createLogic() {
    boxes_ = std::make_unique<QtTextBoxes>(*txt_question, *txt_answer);
    pendulumTimer_ = std::make_unique<QtTimer>(*tmr_pend_exp);
    draftTimer_ = new QTimer(this);
    draftTimer_->setInterval(MainWindowLogic::draftTimerMilliseconds());
    draftQtTimer_ = std::make_unique<QtTimer>(*draftTimer_);
    logic_ = std::make_unique<MainWindowLogic>(
        platform_.with({*boxes_, *Picture1, *Picture2, *pendulumTimer_, *draftQtTimer_}), workingFolder_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    logic_->windowClosed();
    event->accept();
}

} // namespace kelvrast
