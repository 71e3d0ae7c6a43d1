#pragma once

#include "platform/PictureBox.h"

#include <QFrame>

namespace kelvrast {

// A white drawing area with a user coordinate system of its own (1000 by 1000 once start-up has run).
class PictureBoxWidget : public QFrame, public PictureBox {
    Q_OBJECT

public:
    explicit PictureBoxWidget(QWidget* parent = nullptr);

    void setScaleHeight(float height) override { scaleHeight_ = height; }
    void setScaleWidth(float width) override { scaleWidth_ = width; }
    float scaleHeight() const { return scaleHeight_; }
    float scaleWidth() const { return scaleWidth_; }

private:
    float scaleHeight_ = 1000;
    float scaleWidth_ = 1000;
};

} // namespace kelvrast
