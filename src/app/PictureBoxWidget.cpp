#include "app/PictureBoxWidget.h"

#include <QPalette>

namespace kelvrast {

PictureBoxWidget::PictureBoxWidget(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

} // namespace kelvrast
