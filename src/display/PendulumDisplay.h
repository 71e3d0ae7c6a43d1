#pragma once

#include "platform/Beep.h"
#include "platform/PictureBox.h"
#include "platform/RandomSource.h"
#include "platform/Timer.h"

namespace kelvrast {

// The pendulum display: once started by the "pend exp" button, every tick of its timer beeps and adds one circle
// of random size around the centre of Picture1. Nothing stops it but the end of the program.
class PendulumDisplay {
public:
    // Takes over the timer's ticks. The random source is the run's own generator.
    PendulumDisplay(Timer& timer, Beep& beep, RandomSource& random, PictureBox& picture1);
    ~PendulumDisplay();
    PendulumDisplay(const PendulumDisplay&) = delete;
    PendulumDisplay& operator=(const PendulumDisplay&) = delete;

    // Starts the timer; the first circle comes with the first tick.
    void pendExpClicked();
    // One beep and one circle.
    void tick();

    // Picture1's coordinate system is 1000 by 1000: this is its centre, and the largest radius falls just short of
    // half its width.
    static constexpr float centre = 500.0f;
    static constexpr float maxRadius = 500.0f;

private:
    Timer& timer_;
    Beep& beep_;
    RandomSource& random_;
    PictureBox& picture1_;
};

} // namespace kelvrast
