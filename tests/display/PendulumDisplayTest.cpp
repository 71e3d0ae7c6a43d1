#include "display/PendulumDisplay.h"

#include "support/FakeBeep.h"
#include "support/FakePictureBox.h"
#include "support/FakeTimer.h"
#include "support/ScriptedRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kelvrast::testing {
namespace {

using Circle = FakePictureBox::Circle;

struct Pendulum {
    FakeTimer timer;
    FakeBeep beep;
    ScriptedRandom random;
    FakePictureBox picture1;
    PendulumDisplay display{timer, beep, random, picture1};

    explicit Pendulum(std::vector<float> numbers) : random(std::move(numbers)) {}
};

TEST(PendulumDisplay, StaysIdleUntilTheButtonIsClicked) {
    Pendulum run({0.5f});
    run.timer.elapse();
    run.timer.elapse();
    EXPECT_FALSE(run.timer.isEnabled());
    EXPECT_EQ(run.beep.beeps, 0);
    EXPECT_TRUE(run.picture1.circles.empty());
    EXPECT_EQ(run.random.drawn, 0u);
    EXPECT_TRUE(run.picture1.calls.empty());
}

TEST(PendulumDisplay, TheClickStartsTheTimerAndDrawsNothingAtOnce) {
    Pendulum run({0.5f});
    run.display.pendExpClicked();
    EXPECT_TRUE(run.timer.isEnabled());
    EXPECT_EQ(run.beep.beeps, 0);
    EXPECT_TRUE(run.picture1.circles.empty());
    EXPECT_EQ(run.random.drawn, 0u);
}

// The radius is the drawn number times 500 in single precision, so it stays below 500 for every r below 1.
TEST(PendulumDisplay, EachTickBeepsAndDrawsOneCircleAroundTheCentre) {
    const float largestBelowOne = std::nextafter(1.0f, 0.0f);
    struct Case {
        float r;
        float radius;
    };
    const Case cases[] = {{0.0f, 0.0f}, {0.25f, 125.0f}, {0.1f, 50.0f}, {largestBelowOne, 499.99996948242188f}};
    std::vector<float> numbers;
    for (const Case& row : cases)
        numbers.push_back(row.r);
    Pendulum run(numbers);
    run.display.pendExpClicked();

    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].r);
        run.timer.elapse();
        EXPECT_EQ(run.beep.beeps, static_cast<int>(i + 1));
        ASSERT_EQ(run.picture1.circles.size(), i + 1);
        EXPECT_EQ(run.picture1.circles.back(), (Circle{500.0f, 500.0f, cases[i].radius}));
        EXPECT_LT(run.picture1.circles.back().radius, 500.0f);
    }
    EXPECT_EQ(run.random.drawn, std::size(cases));
}

// Notes how many beeps had sounded when each circle was drawn.
struct BeepWatchingPicture : FakePictureBox {
    explicit BeepWatchingPicture(const FakeBeep& beep) : beep(beep) {}
    const FakeBeep& beep;
    std::vector<int> beepsBeforeCircle;
    void circle(float x, float y, float radius) override {
        beepsBeforeCircle.push_back(beep.beeps);
        FakePictureBox::circle(x, y, radius);
    }
};

TEST(PendulumDisplay, TheBeepComesBeforeTheCircle) {
    FakeTimer timer;
    FakeBeep beep;
    ScriptedRandom random({0.5f, 0.5f});
    BeepWatchingPicture picture1(beep);
    PendulumDisplay display{timer, beep, random, picture1};
    display.pendExpClicked();
    timer.elapse();
    timer.elapse();
    EXPECT_EQ(picture1.beepsBeforeCircle, (std::vector<int>{1, 2}));
}

TEST(PendulumDisplay, ASecondClickChangesNothing) {
    Pendulum run({0.5f});
    run.display.pendExpClicked();
    run.timer.elapse();
    run.display.pendExpClicked();
    EXPECT_EQ(run.timer.starts, 1);
    EXPECT_TRUE(run.timer.isEnabled());
    EXPECT_EQ(run.beep.beeps, 1);
    EXPECT_EQ(run.picture1.circles.size(), 1u);
}

TEST(PendulumDisplay, LetsGoOfTheTimerWhenItEnds) {
    FakeTimer timer;
    FakeBeep beep;
    ScriptedRandom random({0.5f});
    FakePictureBox picture1;
    {
        PendulumDisplay display{timer, beep, random, picture1};
        display.pendExpClicked();
        EXPECT_TRUE(timer.hasTickHandler());
    }
    EXPECT_FALSE(timer.hasTickHandler());
    timer.elapse();
    EXPECT_EQ(beep.beeps, 0);
}

} // namespace
} // namespace kelvrast::testing
