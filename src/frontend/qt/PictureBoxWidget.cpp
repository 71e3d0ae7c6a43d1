#include "frontend/qt/PictureBoxWidget.h"

#include "form/Form.h"
#include "form/Scaling.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>

#include <cmath>
#include <optional>

namespace kelvrast {

PictureBoxWidget::PictureBoxWidget(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    QPalette white = palette();
    white.setColor(QPalette::Window, QColor::fromRgb(form::pictureBoxRgb));
    setPalette(white);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBoxWidget::circle(float x, float y, float radius) {
    const QRectF surface = contentsRect();
    const std::optional<form::PixelCircle> circle =
        form::circleInPixels(x, y, radius, scaleWidth_, scaleHeight_, surface.width(), surface.height());
    if (!circle)
        return;
    fitCanvasToBox();
    const QPointF centre = surface.topLeft() + QPointF(circle->centreX, circle->centreY);
    const qreal radiusPixels = circle->radius;

    QPainter painter(&canvas_);
    painter.setClipRect(surface);
    QPen pen{QColor::fromRgb(drawingColour)};
    pen.setCosmetic(true);
    pen.setWidth(1);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radiusPixels, radiusPixels);
    painter.end();

    const QRectF drawn(centre.x() - radiusPixels, centre.y() - radiusPixels, 2 * radiusPixels, 2 * radiusPixels);
    update(drawn.toAlignedRect().adjusted(-2, -2, 2, 2) & contentsRect());
}

void PictureBoxWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (canvas_.isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(event->rect() & contentsRect());
    painter.drawImage(QPointF(0, 0), canvas_);
}

// The canvas covers the whole box, frame included, so that it lies on the screen's pixels as they are, whatever the
// scale factor. Should the box or the scale factor change, what is drawn so far stays where it was.
void PictureBoxWidget::fitCanvasToBox() {
    const qreal ratio = devicePixelRatio();
    const QSize size = (QSizeF(this->size()) * ratio).toSize();
    if (!canvas_.isNull() && canvas_.size() == size && canvas_.devicePixelRatio() == ratio)
        return;
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::transparent);
    if (!canvas_.isNull()) {
        QPainter painter(&canvas);
        painter.drawImage(QPointF(0, 0), canvas_);
    }
    canvas_ = std::move(canvas);
}

} // namespace kelvrast
