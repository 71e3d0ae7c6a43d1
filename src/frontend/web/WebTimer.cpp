#include "frontend/web/WebTimer.h"

#include "frontend/web/Page.h"

namespace kelvrast {

void WebTimer::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return; // a running timer keeps its pace
    enabled_ = enabled;
    kelvrast_page_set_timer(id_, milliseconds_, enabled ? 1 : 0);
}

// A tick that was on its way when the timer stopped is not one.
void WebTimer::tick() {
    if (enabled_ && handler_)
        handler_();
}

} // namespace kelvrast
