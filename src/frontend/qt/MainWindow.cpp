#include "frontend/qt/MainWindow.h"

#include "display/PendulumDisplay.h"
#include "flow/MainWindowLogic.h"
#include "frontend/qt/CommandButton.h"
#include "frontend/qt/OptionButton.h"
#include "platform/qt/QtTextBoxes.h"
#include "platform/qt/QtTimer.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <limits>

namespace kelvrast {

namespace {

constexpr int twipsPerPixel = 15;
constexpr int clientWidthTwips = 10875;
constexpr int clientHeightTwips = 8595;
constexpr int pendulumTickMilliseconds = 15;

// Positions and sizes are laid out in twips; at 96 dots per inch every one of them is a whole number of pixels.
QRect twips(int left, int top, int width, int height) {
    return QRect(left / twipsPerPixel, top / twipsPerPixel, width / twipsPerPixel, height / twipsPerPixel);
}

// Small enough for the captions to fit their controls; the two large boxes have a font of their own.
QFont dialogFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(7.5);
    return font;
}

template <typename Widget>
Widget* place(Widget* widget, const char* name, const QString& accessibleName, const QRect& geometry) {
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(accessibleName);
    widget->setGeometry(geometry);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    return place(new CommandButton(caption, parent), name, caption, geometry);
}

// A button far narrower than its caption shows the whole caption as a tooltip.
QPushButton* sliverButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    QPushButton* created = button(parent, name, caption, geometry);
    created->setToolTip(caption);
    return created;
}

QPlainTextEdit* largeBox(QWidget* parent, const char* name, const QString& accessibleName, const QRect& geometry) {
    auto* box = place(new QPlainTextEdit(parent), name, accessibleName, geometry);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(9.75);
    arial.setWeight(QFont::Normal);
    box->setFont(arial);
    return box;
}

QLineEdit* parameterBox(QWidget* parent, int index, const QRect& geometry) {
    const QByteArray name = "txt_parameter_" + QByteArray::number(index);
    auto* box = place(new QLineEdit(QStringLiteral("1"), parent), name.constData(),
                      QStringLiteral("Parameter %1").arg(index + 1), geometry);
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QLabel* parameterLabel(QWidget* parent, int index, const QRect& geometry) {
    const QByteArray name = "lbl_parameter_" + QByteArray::number(index);
    const QString caption = QStringLiteral("Parameter %1").arg(index + 1);
    auto* label = place(new QLabel(caption, parent), name.constData(), caption, geometry);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QRadioButton* option(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    return place(new OptionButton(caption, parent), name, caption, geometry);
}

PictureBoxWidget* pictureBox(QWidget* parent, const char* name, const QString& accessibleName, const QRect& geometry) {
    return place(new PictureBoxWidget(parent), name, accessibleName, geometry);
}

} // namespace

MainWindow::MainWindow(Platform platform, std::filesystem::path workingFolder, QWidget* parent)
    : QWidget(parent), platform_(platform), workingFolder_(std::move(workingFolder)) {
    setObjectName(QStringLiteral("cmd_pend_exp"));
    setWindowTitle(QStringLiteral("Form1"));
    resize(clientWidthTwips / twipsPerPixel, clientHeightTwips / twipsPerPixel);
    setFont(dialogFont());

    createControls();
    setTabOrderOfControls();
    createLogic();
    wireEvents();
}

MainWindow::~MainWindow() = default;

Status MainWindow::load() {
    Status started = logic_->load();
    if (started.ok())
        txt_question->setFocus();
    return started;
}

// Created in this order, so that of two overlapping controls the later one lies on top.
void MainWindow::createControls() {
    cmd_clear = button(this, "cmd_clear", QStringLiteral("Clear"), twips(7320, 240, 855, 495));
    tmr_pend_exp = new QTimer(this);
    tmr_pend_exp->setObjectName(QStringLiteral("tmr_pend_exp"));
    tmr_pend_exp->setInterval(pendulumTickMilliseconds);
    cmd_pend_exp = button(this, "cmd_pend_exp", QStringLiteral("pend exp"), twips(8640, 7560, 495, 375));
    cmd_quit = button(this, "cmd_quit", QStringLiteral("quit program"), twips(9720, 240, 735, 495));
    cmd_display_note_file =
        sliverButton(this, "cmd_display_note_file", QStringLiteral("display notes"), twips(2040, 240, 135, 495));
    cmd_displayCumulativeText =
        button(this, "cmd_displayCumulativeText", QStringLiteral("display SEND file"), twips(4440, 240, 855, 495));
    txt_parameter[3] = parameterBox(this, 3, twips(8205, 8160, 300, 285));
    txt_parameter[2] = parameterBox(this, 2, twips(8205, 7680, 300, 285));
    txt_parameter[1] = parameterBox(this, 1, twips(6720, 8160, 300, 285));
    txt_parameter[0] = parameterBox(this, 0, twips(6720, 7680, 300, 285));
    List1 = place(new QListWidget(this), "List1", QStringLiteral("List"), twips(3120, 7680, 1695, 840));
    cmd_timerTrigger = button(this, "cmd_timerTrigger", QStringLiteral("Trigger Timer"), twips(2280, 7800, 735, 495));
    cmd_Make_Paragraph_question =
        sliverButton(this, "cmd_Make_Paragraph_question", QStringLiteral("Make Paragraph"), twips(1920, 240, 135, 495));
    cmd_save_as_notes = button(this, "cmd_save_as_notes", QStringLiteral("Save as Notes"), twips(6480, 240, 855, 495));
    op_stop_at_paragraphs =
        option(this, "op_stop_at_paragraphs", QStringLiteral("Stop at Paragraphs"), twips(240, 8040, 1935, 255));
    opt_stop_at_periods =
        option(this, "opt_stop_at_periods", QStringLiteral("Stop at Sentences"), twips(240, 7800, 1815, 195));
    Picture2 = pictureBox(this, "Picture2", QStringLiteral("Picture 2"), twips(5640, 6000, 5055, 1455));
    Picture1 = pictureBox(this, "Picture1", QStringLiteral("Picture 1"), twips(240, 6000, 5175, 1455));
    cmd_enter_response =
        button(this, "cmd_enter_response", QStringLiteral("Enter Response"), twips(5640, 240, 855, 495));
    cmdNextQuestion =
        button(this, "cmdNextQuestion", QStringLiteral("Next Question / Answer"), twips(240, 0, 975, 735));
    txt_answer = largeBox(this, "txt_answer", QStringLiteral("Answer box"), twips(5640, 720, 5055, 5055));
    txt_question = largeBox(this, "txt_question", QStringLiteral("Question box"), twips(240, 720, 5175, 5055));
    lbl_parameter[3] = parameterLabel(this, 3, twips(7200, 8160, 900, 195));
    lbl_parameter[2] = parameterLabel(this, 2, twips(7200, 7680, 1005, 195));
    lbl_parameter[1] = parameterLabel(this, 1, twips(5640, 8160, 855, 195));
    lbl_parameter[0] = parameterLabel(this, 0, twips(5640, 7680, 900, 195));
    // Screen readers announce each parameter box with the label that names it.
    for (std::size_t i = 0; i < lbl_parameter.size(); ++i)
        lbl_parameter[i]->setBuddy(txt_parameter[i]);
}

void MainWindow::setTabOrderOfControls() {
    const std::array<QWidget*, 21> tabOrder = {
        txt_question,
        txt_answer,
        cmdNextQuestion,
        cmd_enter_response,
        Picture1,
        Picture2,
        opt_stop_at_periods,
        op_stop_at_paragraphs,
        cmd_save_as_notes,
        cmd_Make_Paragraph_question,
        cmd_timerTrigger,
        List1,
        txt_parameter[0],
        txt_parameter[1],
        txt_parameter[2],
        txt_parameter[3],
        cmd_displayCumulativeText,
        cmd_display_note_file,
        cmd_quit,
        cmd_pend_exp,
        cmd_clear,
    };
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

// The logic sees the two large boxes, the picture boxes and the timer only through the platform interfaces. The
// pendulum display draws from the same random generator as the rest of the run.
void MainWindow::createLogic() {
    boxes_ = std::make_unique<QtTextBoxes>(*txt_question, *txt_answer);
    platform_.boxes = boxes_.get();
    platform_.picture1 = Picture1;
    platform_.picture2 = Picture2;
    logic_ = std::make_unique<MainWindowLogic>(platform_, workingFolder_);
    pendulumTimer_ = std::make_unique<QtTimer>(*tmr_pend_exp);
    pendulum_ = std::make_unique<PendulumDisplay>(*pendulumTimer_, platform_.beep, platform_.random, *Picture1);
}

// Trigger Timer, Make Paragraph, the options, the list and the parameter boxes have no handlers. The pendulum
// display receives the ticks of tmr_pend_exp through its timer.
void MainWindow::wireEvents() {
    connect(cmdNextQuestion, &QPushButton::clicked, this, [this] { logic_->nextQuestionClicked(); });
    connect(cmd_enter_response, &QPushButton::clicked, this, [this] { logic_->enterResponseClicked(); });
    connect(cmd_save_as_notes, &QPushButton::clicked, this, [this] { logic_->saveAsNotesClicked(); });
    connect(cmd_clear, &QPushButton::clicked, this, [this] { logic_->clearClicked(); });
    connect(cmd_display_note_file, &QPushButton::clicked, this, [this] { logic_->displayNotesClicked(); });
    connect(cmd_displayCumulativeText, &QPushButton::clicked, this, [this] { logic_->displaySendFileClicked(); });
    connect(cmd_quit, &QPushButton::clicked, this, [this] { logic_->quitClicked(); });
    connect(cmd_pend_exp, &QPushButton::clicked, this, [this] { pendulum_->pendExpClicked(); });
}

} // namespace kelvrast
