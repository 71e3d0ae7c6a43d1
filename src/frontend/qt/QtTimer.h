#pragma once

#include "platform/Timer.h"

#include <QMetaObject>

class QTimer;

namespace kelvrast {

// One of the window's QTimers seen as a Timer. The window owns the QTimer and sets its interval; this must not
// outlive it.
class QtTimer : public Timer {
public:
    explicit QtTimer(QTimer& timer);
    ~QtTimer() override;
    QtTimer(const QtTimer&) = delete;
    QtTimer& operator=(const QtTimer&) = delete;

    void setEnabled(bool enabled) override;
    bool isEnabled() const override;
    void setTickHandler(std::function<void()> handler) override;

private:
    QTimer& timer_;
    std::function<void()> handler_;
    QMetaObject::Connection timeout_;
};

} // namespace kelvrast
