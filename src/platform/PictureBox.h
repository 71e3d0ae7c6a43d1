#pragma once

namespace kelvrast {

// A drawing surface with a user coordinate system: origin top left, x to the right, y downwards.
class PictureBox {
public:
    virtual ~PictureBox() = default;

    virtual void setScaleHeight(float height) = 0;
    virtual void setScaleWidth(float width) = 0;
};

} // namespace kelvrast
