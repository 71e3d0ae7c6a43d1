#include "frontend/qt/QtFrontEnd.h"

#include "frontend/qt/MainWindow.h"

#include <QApplication>

namespace kelvrast {

namespace {

class QtProgramWindow : public ProgramWindow {
public:
    QtProgramWindow(Platform machine, std::filesystem::path workingFolder, QtDialogs& dialogs)
        : window_(machine, std::move(workingFolder)), dialogs_(dialogs) {}
    ~QtProgramWindow() override { dialogs_.setParentWidget(nullptr); }
    QtProgramWindow(const QtProgramWindow&) = delete;
    QtProgramWindow& operator=(const QtProgramWindow&) = delete;

    Status load() override { return window_.load(); }

    void show() override {
        dialogs_.setParentWidget(&window_);
        window_.show();
    }

    int runEventLoop() override { return QApplication::exec(); }

private:
    MainWindow window_;
    QtDialogs& dialogs_;
};

} // namespace

std::unique_ptr<ProgramWindow> QtFrontEnd::makeWindow(Platform machine, std::filesystem::path workingFolder) {
    return std::make_unique<QtProgramWindow>(machine, std::move(workingFolder), dialogs_);
}

} // namespace kelvrast
