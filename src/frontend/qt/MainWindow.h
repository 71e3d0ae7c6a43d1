#pragma once

#include "frontend/qt/PictureBoxWidget.h"
#include "platform/Platform.h"
#include "platform/Status.h"

#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace kelvrast {

class MainWindowLogic;
class PendulumDisplay;
class QtTextBoxes;
class QtTimer;

// The program's one window, "Form1", built from the form's table. It places the controls and hands their events to
// the logic.
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
    void findControls();
    void createLogic();
    void wireEvents();
    // The child with this object name and kind; throws std::logic_error when the window has none.
    template <typename Child> Child* child(const std::string& objectName) const;

    // The controls the logic and the handlers use; the window holds the others only as its children.
    QTimer* tmr_pend_exp = nullptr;
    QPushButton* cmd_clear = nullptr;
    QPushButton* cmd_pend_exp = nullptr;
    QPushButton* cmd_quit = nullptr;
    QPushButton* cmd_display_note_file = nullptr;
    QPushButton* cmd_displayCumulativeText = nullptr;
    QPushButton* cmd_save_as_notes = nullptr;
    QPushButton* cmd_enter_response = nullptr;
    QPushButton* cmdNextQuestion = nullptr;
    PictureBoxWidget* Picture2 = nullptr;
    PictureBoxWidget* Picture1 = nullptr;
    QPlainTextEdit* txt_answer = nullptr;
    QPlainTextEdit* txt_question = nullptr;

    Platform platform_;
    std::filesystem::path workingFolder_;
    std::unique_ptr<QtTextBoxes> boxes_;
    std::unique_ptr<MainWindowLogic> logic_;
    std::unique_ptr<QtTimer> pendulumTimer_;
    std::unique_ptr<PendulumDisplay> pendulum_;
};

} // namespace kelvrast
