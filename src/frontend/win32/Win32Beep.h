#pragma once

#include "platform/Beep.h"

namespace kelvrast {

// The system's default sound.
class Win32Beep : public Beep {
public:
    void beep() override;
};

} // namespace kelvrast
