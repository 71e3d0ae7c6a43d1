#pragma once

namespace kelvrast {

// A drawing surface with a user coordinate system: origin top left, x to the right, y downwards.
class PictureBox {
public:
    virtual ~PictureBox() = default;

    virtual void setScaleHeight(float height) = 0;
    virtual void setScaleWidth(float width) = 0;
    // An unfilled circle outline in the drawing colour, centred at (x, y); the radius is in horizontal units.
    virtual void circle(float x, float y, float radius) = 0;
};

} // namespace kelvrast
