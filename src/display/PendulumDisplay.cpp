#include "display/PendulumDisplay.h"

namespace kelvrast {

PendulumDisplay::PendulumDisplay(Timer& timer, Beep& beep, RandomSource& random, PictureBox& picture1)
    : timer_(timer), beep_(beep), random_(random), picture1_(picture1) {
    timer_.setTickHandler([this] { tick(); });
}

// The timer may outlive the display; a late tick must not reach it.
PendulumDisplay::~PendulumDisplay() {
    timer_.setTickHandler({});
}

void PendulumDisplay::pendExpClicked() {
    timer_.setEnabled(true);
}

void PendulumDisplay::tick() {
    beep_.beep();
    const float r = random_.next();
    const float radius = r * maxRadius;
    picture1_.circle(centre, centre, radius);
}

} // namespace kelvrast
