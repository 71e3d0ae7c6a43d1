#include "flow/MainWindowLogic.h"
#include "frontend/qt/MainWindow.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/QtText.h"
#include "frontend/qt/QtTextBoxes.h"
#include "support/FakeBeep.h"
#include "support/FakeClock.h"
#include "support/FakeProgramEnd.h"
#include "support/MemoryDraftStore.h"
#include "support/RandomStudentRun.h"
#include "support/ScriptedRandom.h"
#include "support/TempFolder.h"
#include "system/posix/PosixFiles.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>

namespace kelvrast::testing {
namespace {

// Half as many under the sanitizers, which make every action several times slower: 20,000 actions took 102 s there.
#ifdef __SANITIZE_ADDRESS__
constexpr std::size_t actionsPerSeed = 250;
#else
constexpr std::size_t actionsPerSeed = 500;
#endif
// Forty students of 500 actions each: the answer files of a shorter run stay small, and every action that shows one
// of them stays quick.
// Seed 119: "Clear" dropped the draft of the text typed in the Question box.
const std::vector<std::uint64_t> fixedSeeds = [] {
    std::vector<std::uint64_t> seeds = seedsFrom(1, 40);
    seeds.push_back(119);
    return seeds;
}();

struct QtKey {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

// In the order of testing::Key.
constexpr std::array<QtKey, 15> qtKeys{{
    {Qt::Key_Escape, Qt::NoModifier},
    {Qt::Key_Return, Qt::NoModifier},
    {Qt::Key_F1, Qt::NoModifier},
    {Qt::Key_F10, Qt::NoModifier},
    {Qt::Key_Alt, Qt::AltModifier},
    {Qt::Key_W, Qt::ControlModifier},
    {Qt::Key_Q, Qt::ControlModifier},
    {Qt::Key_F4, Qt::ControlModifier},
    {Qt::Key_Tab, Qt::NoModifier},
    {Qt::Key_Backtab, Qt::ShiftModifier},
    {Qt::Key_A, Qt::ControlModifier},
    {Qt::Key_C, Qt::ControlModifier},
    {Qt::Key_V, Qt::ControlModifier},
    {Qt::Key_X, Qt::ControlModifier},
    {Qt::Key_Z, Qt::ControlModifier},
}};

// The Qt window on real files, its dialogs Qt's own, answered from inside their modal loops by a zero-delay timer
// that runs while the student acts.
class QtStudentsWindow : public StudentsWindow {
public:
    QtStudentsWindow() {
        random_.repeatLast = true;
        answering_.setInterval(0);
        QObject::connect(&answering_, &QTimer::timeout, [this] { answerOpenDialog(); });
    }
    ~QtStudentsWindow() override { abandon(); }
    QtStudentsWindow(const QtStudentsWindow&) = delete;
    QtStudentsWindow& operator=(const QtStudentsWindow&) = delete;

    void start() override {
        Platform platform{clock_, random_, files_, dialogs_, programEnd_, beep_};
        platform.drafts = &drafts_;
        window_ = std::make_unique<MainWindow>(platform, folder_.path() / "kelvrast");
        boxes_ = std::make_unique<QtTextBoxes>(*window_->findChild<QPlainTextEdit*>("txt_question"),
                                               *window_->findChild<QPlainTextEdit*>("txt_answer"));
        answering_.start();
        started_ = window_->load().ok() && !programEnd_.exitStatus;
        answering_.stop();
        if (!started_)
            return;
        // As the program does: its dialogs open over the window once it shows.
        dialogs_.setParentWidget(window_.get());
        window_->show();
        QApplication::setActiveWindow(window_.get());
        started_ = QTest::qWaitForWindowActive(window_.get());
    }

    void act(const Action& action) override {
        answering_.start();
        switch (action.kind) {
        case Action::Kind::click: {
            auto* control = window_->findChild<QWidget*>(toQString(form::controls()[action.row].objectName()));
            QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
            break;
        }
        case Action::Kind::type:
            type(action.text);
            break;
        case Action::Kind::key:
            press(qtKeys[static_cast<std::size_t>(action.key)]);
            break;
        case Action::Kind::paste: {
            auto* data = new QMimeData;
            if (!action.text.empty())
                data->setText(toQString(action.text));
            QGuiApplication::clipboard()->setMimeData(data);
            press({Qt::Key_V, Qt::ControlModifier});
            break;
        }
        case Action::Kind::closeFrame:
            window_->close();
            break;
        case Action::Kind::kill:
            break;
        }
        QCoreApplication::processEvents();
        answering_.stop();
    }

    // Deleted as it is, with no close event: nothing of the program's own ending runs.
    void abandon() override {
        dialogs_.setParentWidget(nullptr);
        boxes_.reset();
        window_.reset();
        programEnd_.exitStatus.reset();
        started_ = false;
    }

    bool running() const override { return started_ && !programEnd_.exitStatus && window_->isVisible(); }
    std::u16string questionText() const override { return boxes_->questionText(); }
    std::u16string answerText() const override { return boxes_->answerText(); }
    StudentFiles files() const override {
        const MainWindowState& state = window_->logic().state();
        return {state.masterFilePath, state.sendFilePath, state.notesFilePath};
    }
    std::u16string studentName() const override { return window_->logic().state().studentName; }
    void keepDraftNow() override { window_->logic().keepDraftNow(); }

private:
    QWidget* focused() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : window_.get();
    }

    void press(QtKey key) { QTest::keyClick(focused(), key.key, key.modifiers); }

    // Line by line, each line as one key event's text, as an input method hands over what it composed; Return
    // between the lines.
    void type(const std::u16string& text) {
        const QStringList lines = toQString(text).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                press({Qt::Key_Return, Qt::NoModifier});
            if (lines[i].isEmpty())
                continue;
            QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, lines[i]);
            QApplication::sendEvent(focused(), &down);
            QKeyEvent up(QEvent::KeyRelease, 0, Qt::NoModifier, lines[i]);
            QApplication::sendEvent(focused(), &up);
        }
    }

    void answerOpenDialog() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || !answerDialog)
            return;
        if (auto* input = qobject_cast<QInputDialog*>(dialog)) {
            const DialogAnswer answer = answerDialog(DialogKind::input, input->labelText().toStdU16String());
            input->findChild<QLineEdit*>()->setText(toQString(answer.typed));
            auto* buttons = input->findChild<QDialogButtonBox*>();
            press(dialog, answer.button == 0   ? buttons->button(QDialogButtonBox::Ok)
                          : answer.button == 1 ? buttons->button(QDialogButtonBox::Cancel)
                                               : nullptr);
        } else if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            const bool choice = box->buttons().size() > 1;
            const DialogAnswer answer =
                answerDialog(choice ? DialogKind::choice : DialogKind::message, box->text().toStdU16String());
            QAbstractButton* first = box->defaultButton() ? box->defaultButton() : box->buttons().front();
            QAbstractButton* second = nullptr;
            for (QAbstractButton* each : box->buttons())
                if (each != first)
                    second = each;
            press(dialog, answer.button == 0 ? first : answer.button == 1 ? second : nullptr);
        }
    }

    // A button of the dialog, or its close box.
    static void press(QDialog* dialog, QAbstractButton* button) {
        if (button)
            QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
        else
            dialog->close();
    }

    TempFolder folder_;
    FakeClock clock_;
    ScriptedRandom random_{{0.25f}};
    PosixFiles files_;
    QtDialogs dialogs_{nullptr};
    FakeProgramEnd programEnd_;
    FakeBeep beep_;
    // The drafts outlive each program of the run, as the drafts' folder outlives a killed process.
    MemoryDraftStore drafts_;
    QTimer answering_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<QtTextBoxes> boxes_;
    bool started_ = false;
};

// A careless student: every control clicked, text of every kind typed and pasted, every key, every dialog answered
// every way, the frame closed and the program killed. The program ends only in its three ways, every answer file
// stays whole blocks, and every text the program said it recorded is in its files.
TEST(RandomStudent, KeepsTheProgramRunningAndEveryAcknowledgedTextRecorded) {
    playRandomStudents([] { return std::make_unique<QtStudentsWindow>(); }, fixedSeeds, actionsPerSeed);
}

} // namespace
} // namespace kelvrast::testing
