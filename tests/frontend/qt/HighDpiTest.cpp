#include "WindowUnderTest.h"
#include "frontend/qt/PictureBoxWidget.h"

#include <QFontInfo>
#include <QImage>
#include <QPlainTextEdit>

#include <vector>

// These hold at any scale factor; the test list runs them once more under QT_SCALE_FACTOR=2, together with the
// layout tests, which then check every control's place in device-independent pixels.
namespace kelvrast::testing {
namespace {

qreal configuredScale() {
    bool ok = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? factor : 1.0;
}

struct StartedWindow : WindowUnderTest {
    StartedWindow() {
        dialogs.inputs = {u"Ann Lee"};
        EXPECT_TRUE(window.load().ok());
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

// Where the dark pixels of one row of an image begin and end, as [first, last] pairs.
std::vector<std::pair<int, int>> darkRuns(const QImage& image, int row) {
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, row)) >= 160)
            continue;
        if (!runs.empty() && runs.back().second == x - 1)
            runs.back().second = x;
        else
            runs.push_back({x, x});
    }
    return runs;
}

TEST(HighDpi, WindowIsDrawnAtTheScreensFullResolution) {
    StartedWindow run;
    const qreal scale = configuredScale();
    EXPECT_DOUBLE_EQ(run.window.devicePixelRatioF(), scale);
    EXPECT_EQ(run.window.size(), clientSize());

    const QPixmap shot = run.window.grab();
    EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), scale);
    EXPECT_EQ(shot.size(), (QSizeF(clientSize()) * scale).toSize());
}

// Fonts are sized in device-independent pixels like the controls, so captions and text keep their proportions.
TEST(HighDpi, TextKeepsItsSizeInDeviceIndependentPixels) {
    StartedWindow run;
    EXPECT_EQ(run.window.logicalDpiY(), 96);
    EXPECT_EQ(QFontInfo(run.control("txt_question")->font()).pixelSize(), 13);
}

TEST(HighDpi, PictureBoxesKeepTheir1000By1000Units) {
    StartedWindow run;
    for (const char* name : {"Picture1", "Picture2"}) {
        SCOPED_TRACE(name);
        auto* picture = run.control<PictureBoxWidget>(name);
        ASSERT_TRUE(picture);
        EXPECT_FLOAT_EQ(picture->scaleWidth(), 1000);
        EXPECT_FLOAT_EQ(picture->scaleHeight(), 1000);
    }
}

// Two circles one device-independent pixel apart stay two lines with a gap between them: the drawing has the
// screen's own resolution, not a smaller one stretched to fit.
TEST(HighDpi, CirclesAreDrawnWithTheScreensOwnPixels) {
    StartedWindow run;
    const qreal scale = run.window.devicePixelRatioF();
    if (scale < 2)
        GTEST_SKIP() << "needs a scale factor of 2 or more";
    auto* picture = run.control<PictureBoxWidget>("Picture1");
    ASSERT_TRUE(picture);
    const QRect surface = picture->contentsRect();
    const float onePixel = picture->scaleWidth() / static_cast<float>(surface.width());
    picture->circle(500, 500, 150);
    picture->circle(500, 500, 150 + onePixel);

    const QImage shot = picture->grab().toImage();
    ASSERT_EQ(shot.size(), (QSizeF(picture->size()) * scale).toSize());
    const int centreRow = qRound((surface.top() + surface.height() / 2.0) * scale);
    const std::vector<std::pair<int, int>> runs = darkRuns(shot, centreRow);
    ASSERT_EQ(runs.size(), 4u) << "the two circles are not told apart";
    const int expectedLeft = qRound((surface.left() + surface.width() * 0.35) * scale);
    EXPECT_NEAR(runs[1].first, expectedLeft, 2);
    for (const auto& [first, last] : runs)
        EXPECT_EQ(first, last) << "a line wider than one pixel of the screen at " << first;
}

} // namespace
} // namespace kelvrast::testing
