#pragma once

#include "platform/PictureBox.h"

#include <string>
#include <vector>

namespace kelvrast::testing {

// Records the scale settings in the order they were made.
class FakePictureBox : public PictureBox {
public:
    std::vector<std::string> calls;

    void setScaleHeight(float height) override { calls.push_back("height " + std::to_string(int(height))); }
    void setScaleWidth(float width) override { calls.push_back("width " + std::to_string(int(width))); }
};

} // namespace kelvrast::testing
