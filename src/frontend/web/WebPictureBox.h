#pragma once

#include "platform/PictureBox.h"

#include <cstddef>

namespace kelvrast {

// A picture box of the page, a canvas: circles go to the page in CSS pixels of the canvas's drawing area, which the
// page draws at the screen's own resolution.
class WebPictureBox : public PictureBox {
public:
    // The box in this row of the form's table.
    explicit WebPictureBox(std::size_t row);

    void setScaleHeight(float height) override { scaleHeight_ = height; }
    void setScaleWidth(float width) override { scaleWidth_ = width; }
    void circle(float x, float y, float radius) override;

    // The canvas's border, inside the box's place, as the desktop windows' sunken frame.
    static constexpr int borderPixels = 2;

private:
    std::size_t row_;
    double surfaceWidth_;
    double surfaceHeight_;
    float scaleHeight_ = 0;
    float scaleWidth_ = 0;
};

} // namespace kelvrast
