#pragma once

#include "platform/PictureBox.h"

#include <QFrame>
#include <QImage>

namespace kelvrast {

// A white drawing area with a user coordinate system of its own (1000 by 1000 once start-up has run). What is drawn
// goes into an image of the box, which every repaint copies to the screen, so it survives being covered and a repaint
// costs the same however much has been drawn.
class PictureBoxWidget : public QFrame, public PictureBox {
    Q_OBJECT

public:
    explicit PictureBoxWidget(QWidget* parent = nullptr);

    void setScaleHeight(float height) override { scaleHeight_ = height; }
    void setScaleWidth(float width) override { scaleWidth_ = width; }
    float scaleHeight() const { return scaleHeight_; }
    float scaleWidth() const { return scaleWidth_; }

    // A true circle: the radius is taken in horizontal units, however unlike the two units are.
    void circle(float x, float y, float radius) override;

    static constexpr QRgb drawingColour = 0xff000000;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitCanvasToBox();

    float scaleHeight_ = 1000;
    float scaleWidth_ = 1000;
    QImage canvas_;
};

} // namespace kelvrast
