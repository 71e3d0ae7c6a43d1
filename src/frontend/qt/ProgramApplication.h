#pragma once

#include <QApplication>

#include <exception>
#include <functional>

namespace kelvrast {

// Qt's application object, with one guard: Qt supports no exception thrown from an event handler, so one that
// reaches Qt's event delivery goes to the handler given instead (which tells the student and ends the program, as
// the Win32 window does).
class ProgramApplication : public QApplication {
public:
    ProgramApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    void whenFailed(std::function<void(std::exception_ptr)> handler) { failed_ = std::move(handler); }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<void(std::exception_ptr)> failed_;
};

} // namespace kelvrast
