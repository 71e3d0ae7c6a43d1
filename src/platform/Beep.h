#pragma once

namespace kelvrast {

// The platform's standard beep.
class Beep {
public:
    virtual ~Beep() = default;

    virtual void beep() = 0;
};

} // namespace kelvrast
