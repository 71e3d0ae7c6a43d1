#pragma once

#include "form/Form.h"
#include "frontend/qt/PictureBoxWidget.h"
#include "platform/Platform.h"
#include "platform/Status.h"

#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

class QCloseEvent;
class QPlainTextEdit;
class QTimer;

namespace kelvrast {

class MainWindowLogic;
class QtTextBoxes;
class QtTimer;

// The program's one window, "Form1", built from the form's table. It places the controls and hands their events to
// the logic: a click or a change of text by the row of the control, and the frame's close.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // The window adds its own controls to the platform's services and hands them on to the logic.
    MainWindow(Platform platform, std::filesystem::path workingFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: runs once, before the window is shown. On success the focus waits in the Question box.
    Status load();

    MainWindowLogic& logic() { return *logic_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void setTabOrderOfControls();
    void findControls();
    void createLogic();
    // The child with this object name and kind; throws std::logic_error when the window has none.
    template <typename Child> Child* child(const std::string& objectName) const;
    template <typename Child> Child* child(form::ControlHandle handle) const {
        return child<Child>(form::control(handle).objectName());
    }

    // The controls the logic reads, writes and draws on, through the platform's interfaces.
    QTimer* tmr_pend_exp = nullptr;
    QTimer* draftTimer_ = nullptr;
    PictureBoxWidget* Picture2 = nullptr;
    PictureBoxWidget* Picture1 = nullptr;
    QPlainTextEdit* txt_answer = nullptr;
    QPlainTextEdit* txt_question = nullptr;

    Platform platform_;
    std::filesystem::path workingFolder_;
    std::unique_ptr<QtTextBoxes> boxes_;
    std::unique_ptr<QtTimer> pendulumTimer_;
    std::unique_ptr<QtTimer> draftQtTimer_;
    std::unique_ptr<MainWindowLogic> logic_;
};

} // namespace kelvrast
