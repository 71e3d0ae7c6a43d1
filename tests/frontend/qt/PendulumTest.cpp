#include "WindowUnderTest.h"
#include "flow/MainWindowLogic.h"
#include "frontend/qt/PictureBoxWidget.h"
#include "frontend/qt/QtTimer.h"
#include "support/FakeBeep.h"

#include <QImage>
#include <QPlainTextEdit>
#include <QPropertyNotifier>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <numbers>

namespace kelvrast::testing {
namespace {

bool isDark(QRgb pixel) {
    return qGray(pixel) < 128;
}

// A grabbed picture has the screen's own pixels; these helpers take places in device-independent pixels.
QRect devicePixels(const QImage& image, const QRect& area) {
    const qreal ratio = image.devicePixelRatio();
    return QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio).toAlignedRect() & image.rect();
}

int darkPixels(const QImage& image, const QRect& area) {
    const QRect pixels = devicePixels(image, area);
    int dark = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            dark += isDark(image.pixel(x, y));
    return dark;
}

int darkPixels(QWidget* picture) {
    return darkPixels(picture->grab().toImage(), picture->rect());
}

bool darkNear(const QImage& image, QPointF point) {
    const QPointF pixel = point * image.devicePixelRatio();
    const QPoint centre(static_cast<int>(std::floor(pixel.x())), static_cast<int>(std::floor(pixel.y())));
    const QRect around = QRect(centre - QPoint(1, 1), QSize(3, 3)) & image.rect();
    for (int y = around.top(); y <= around.bottom(); ++y)
        for (int x = around.left(); x <= around.right(); ++x)
            if (isDark(image.pixel(x, y)))
                return true;
    return false;
}

// Every dark pixel of the drawing surface lies on the circle's outline, and the outline shows wherever it crosses
// the surface.
void expectOnlyTheCircle(const QImage& image, const QRect& surface, QPointF centre, qreal radius) {
    const qreal ratio = image.devicePixelRatio();
    const QRect pixels = devicePixels(image, surface);
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (isDark(image.pixel(x, y))) {
                const qreal distance = std::hypot(x + 0.5 - centre.x() * ratio, y + 0.5 - centre.y() * ratio);
                ASSERT_NEAR(distance, radius * ratio, 1.5) << "a dark pixel off the outline at " << x << "," << y;
            }
    const QRectF inside = QRectF(surface).adjusted(1, 1, -1, -1);
    int shown = 0;
    for (int degrees = 0; degrees < 360; ++degrees) {
        const double angle = degrees * std::numbers::pi / 180;
        const QPointF point = centre + radius * QPointF(std::cos(angle), std::sin(angle));
        if (!inside.contains(point))
            continue;
        ++shown;
        ASSERT_TRUE(darkNear(image, point)) << "no outline at " << degrees << " degrees";
    }
    EXPECT_GT(shown, 0);
}

TEST(PictureBoxWidget, DrawsATrueCircleMeasuredInHorizontalUnits) {
    struct Case {
        QSize size;
        float scaleWidth, scaleHeight, x, y, radius;
    };
    const Case cases[] = {
        {{345, 97}, 1000, 1000, 500, 500, 100}, // fits the height
        {{345, 97}, 1000, 1000, 500, 500, 300}, // reaches beyond top and bottom
        {{345, 97}, 2000, 500, 1000, 250, 200}, // another coordinate system, the same centre
        {{200, 300}, 1000, 1000, 250, 750, 150}, {{345, 97}, 1000, 1000, 500, 500, 0}, // at most a dot
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(::testing::Message() << row.size.width() << "x" << row.size.height() << " radius " << row.radius);
        PictureBoxWidget picture;
        picture.resize(row.size);
        picture.setScaleWidth(row.scaleWidth);
        picture.setScaleHeight(row.scaleHeight);
        picture.circle(row.x, row.y, row.radius);

        const QRect surface = picture.contentsRect();
        const qreal pixelsPerUnit = surface.width() / row.scaleWidth;
        const QPointF centre(surface.left() + row.x * pixelsPerUnit,
                             surface.top() + row.y * surface.height() / row.scaleHeight);
        const QImage image = picture.grab().toImage();
        if (row.radius > 0)
            expectOnlyTheCircle(image, surface, centre, row.radius * pixelsPerUnit);
        EXPECT_LE(darkPixels(image, surface),
                  1 + static_cast<int>(8 * row.radius * pixelsPerUnit * image.devicePixelRatio()));
    }
}

TEST(QtTimer, TicksReachTheHandlerAndEnablingARunningTimerKeepsItsPace) {
    QTimer timer;
    timer.setInterval(15);
    QtTimer wrapped(timer);
    int ticks = 0;
    wrapped.setTickHandler([&] { ++ticks; });
    int startsAndStops = 0;
    QPropertyNotifier watch = timer.bindableActive().addNotifier([&] { ++startsAndStops; });

    wrapped.setEnabled(true);
    wrapped.setEnabled(true);
    EXPECT_TRUE(wrapped.isEnabled());
    EXPECT_EQ(startsAndStops, 1);
    ASSERT_TRUE(QMetaObject::invokeMethod(&timer, "timeout"));
    EXPECT_EQ(ticks, 1);
    wrapped.setEnabled(false);
    EXPECT_FALSE(timer.isActive());
}

struct PendulumWindow : WindowUnderTest {
    QTimer* timer = control<QTimer>("tmr_pend_exp");
    PictureBoxWidget* picture1 = control<PictureBoxWidget>("Picture1");
    PictureBoxWidget* picture2 = control<PictureBoxWidget>("Picture2");

    // One interval of the pendulum's timer passes, without waiting for it.
    void tick() { ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout")); }
    void click(const char* name) {
        auto* button = control<QPushButton>(name);
        ASSERT_TRUE(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Where a circle drawn for the random number r crosses the horizontal line through Picture1's centre.
    QPointF rightEdgeOfCircle(float r) const {
        const QRectF surface = picture1->contentsRect();
        return surface.center() + QPointF(r * 500 * surface.width() / 1000, 0);
    }
};

TEST(Pendulum, IsIdleUntilThePendExpButtonIsClicked) {
    PendulumWindow run;
    run.dialogs.inputs = {u"Ann Lee"};
    ASSERT_TRUE(run.window.load().ok());
    run.showActive();
    for (const char* name : {"cmdNextQuestion", "cmd_timerTrigger", "cmd_Make_Paragraph_question", "cmd_clear"})
        run.click(name);

    EXPECT_EQ(run.timer->interval(), 15);
    EXPECT_FALSE(run.timer->isActive());
    EXPECT_EQ(run.beep.beeps, 0);
    EXPECT_EQ(darkPixels(run.picture1), 0);
}

TEST(Pendulum, TheClickStartsTheTimerAndEachTickDrawsOnPicture1Only) {
    PendulumWindow run;
    run.showActive();
    run.click("cmd_pend_exp");
    EXPECT_TRUE(run.timer->isActive());
    EXPECT_EQ(run.beep.beeps, 0);
    EXPECT_EQ(darkPixels(run.picture1), 0);

    run.random.numbers = {0.1f, 0.3f};
    run.random.drawn = 0;
    run.tick();
    run.tick();
    EXPECT_EQ(run.beep.beeps, 2);
    const QImage image = run.picture1->grab().toImage();
    EXPECT_TRUE(darkNear(image, run.rightEdgeOfCircle(0.1f)));
    EXPECT_TRUE(darkNear(image, run.rightEdgeOfCircle(0.3f)));
    EXPECT_EQ(darkPixels(run.picture2), 0);
}

TEST(Pendulum, ASecondClickChangesNothing) {
    PendulumWindow run;
    run.showActive();
    int startsAndStops = 0;
    QPropertyNotifier watch = run.timer->bindableActive().addNotifier([&] { ++startsAndStops; });
    run.click("cmd_pend_exp");
    run.click("cmd_pend_exp");
    EXPECT_EQ(startsAndStops, 1);
    EXPECT_TRUE(run.timer->isActive());
    EXPECT_EQ(run.beep.beeps, 0);
    EXPECT_EQ(darkPixels(run.picture1), 0);
}

TEST(Pendulum, TriggerTimerDoesNotStartIt) {
    PendulumWindow run;
    run.showActive();
    run.click("cmd_timerTrigger");
    EXPECT_FALSE(run.timer->isActive());
    EXPECT_EQ(run.beep.beeps, 0);
    EXPECT_EQ(darkPixels(run.picture1), 0);
}

TEST(Pendulum, CirclesSurviveTheWindowBeingHiddenAndShownAgain) {
    PendulumWindow run;
    run.showActive();
    run.random.numbers = {0.1f, 0.2f};
    run.random.drawn = 0;
    run.click("cmd_pend_exp");
    run.tick();
    run.tick();
    const QImage before = run.picture1->grab().toImage();

    run.window.hide();
    run.showActive();
    run.picture1->repaint();
    const QImage after = run.picture1->grab().toImage();
    EXPECT_TRUE(darkNear(after, run.rightEdgeOfCircle(0.1f)));
    EXPECT_TRUE(darkNear(after, run.rightEdgeOfCircle(0.2f)));
    EXPECT_EQ(after, before);
}

// With the display running, Next Question shows the same entry and the master file holds the same lines as in a
// run without it.
TEST(Pendulum, LeavesTheQuestionFlowAlone) {
    PendulumWindow quiet;
    PendulumWindow running;
    for (PendulumWindow* run : {&quiet, &running}) {
        run->dialogs.inputs = {u"Ann Lee"};
        ASSERT_TRUE(run->window.load().ok());
        run->showActive();
    }
    running.click("cmd_pend_exp");
    running.tick();
    for (PendulumWindow* run : {&quiet, &running})
        run->click("cmdNextQuestion");
    running.tick();

    const MainWindowState& expected = quiet.window.logic().state();
    const MainWindowState& actual = running.window.logic().state();
    EXPECT_EQ(actual.bankIndex, expected.bankIndex);
    EXPECT_EQ(actual.currentLine, expected.currentLine);
    EXPECT_EQ(actual.textBuffer, expected.textBuffer);
    for (const char* box : {"txt_question", "txt_answer"})
        EXPECT_EQ(running.control<QPlainTextEdit>(box)->toPlainText(),
                  quiet.control<QPlainTextEdit>(box)->toPlainText());
    EXPECT_EQ(readBytes(actual.masterFilePath), readBytes(expected.masterFilePath));
    EXPECT_GE(running.beep.beeps, 2);
}

} // namespace
} // namespace kelvrast::testing
