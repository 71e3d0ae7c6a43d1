#pragma once

#include "platform/PictureBox.h"

#include <string>
#include <vector>

namespace kelvrast::testing {

// Records the scale settings in the order they were made, and every circle drawn.
class FakePictureBox : public PictureBox {
public:
    struct Circle {
        float x;
        float y;
        float radius;
        bool operator==(const Circle&) const = default;
    };

    std::vector<std::string> calls;
    std::vector<Circle> circles;

    void setScaleHeight(float height) override { calls.push_back("height " + std::to_string(int(height))); }
    void setScaleWidth(float width) override { calls.push_back("width " + std::to_string(int(width))); }
    void circle(float x, float y, float radius) override { circles.push_back({x, y, radius}); }
};

} // namespace kelvrast::testing
