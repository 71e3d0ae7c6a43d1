#pragma once

#include "frontend/qt/PictureBoxWidget.h"
#include "platform/Platform.h"
#include "platform/Status.h"

#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kelvrast {

class MainWindowLogic;
class PendulumDisplay;
class QtTextBoxes;
class QtTimer;

// The program's one window, "Form1". It places the controls and hands their events to the logic.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // The window adds its own controls to the platform's services and hands them on to the logic.
    MainWindow(Platform platform, std::filesystem::path workingFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: runs once, before the window is shown. On success the focus waits in the Question box.
    Status load();

    MainWindowLogic& logic() { return *logic_; }

private:
    void createControls();
    void setTabOrderOfControls();
    void createLogic();
    void wireEvents();

    QPushButton* cmd_clear = nullptr;
    QTimer* tmr_pend_exp = nullptr;
    QPushButton* cmd_pend_exp = nullptr;
    QPushButton* cmd_quit = nullptr;
    QPushButton* cmd_display_note_file = nullptr;
    QPushButton* cmd_displayCumulativeText = nullptr;
    std::array<QLineEdit*, 4> txt_parameter{};
    QListWidget* List1 = nullptr;
    QPushButton* cmd_timerTrigger = nullptr;
    QPushButton* cmd_Make_Paragraph_question = nullptr;
    QPushButton* cmd_save_as_notes = nullptr;
    QRadioButton* op_stop_at_paragraphs = nullptr;
    QRadioButton* opt_stop_at_periods = nullptr;
    PictureBoxWidget* Picture2 = nullptr;
    PictureBoxWidget* Picture1 = nullptr;
    QPushButton* cmd_enter_response = nullptr;
    QPushButton* cmdNextQuestion = nullptr;
    QPlainTextEdit* txt_answer = nullptr;
    QPlainTextEdit* txt_question = nullptr;
    std::array<QLabel*, 4> lbl_parameter{};

    Platform platform_;
    std::filesystem::path workingFolder_;
    std::unique_ptr<QtTextBoxes> boxes_;
    std::unique_ptr<MainWindowLogic> logic_;
    std::unique_ptr<QtTimer> pendulumTimer_;
    std::unique_ptr<PendulumDisplay> pendulum_;
};

} // namespace kelvrast
