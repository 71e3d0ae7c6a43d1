#pragma once

#include "platform/Beep.h"

namespace kelvrast {

// The window system's standard beep.
class QtBeep : public Beep {
public:
    void beep() override;
};

} // namespace kelvrast
