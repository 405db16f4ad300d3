// Drawing picture; see picture.h.
#include "picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "ui/qtpainter.h"

namespace vornelle {

DrawingPicture::DrawingPicture(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setSizeMm(width_, height_);
}

double DrawingPicture::pixelsPerMm() const {
    int dpi = logicalDpiX();
    return (dpi > 0 ? dpi : 96) / 25.4;
}

void DrawingPicture::setWindow(double left, double top) {
    left_ = left;
    top_ = top;
}

void DrawingPicture::setSizeMm(double width, double height) {
    width_ = width;
    height_ = height;
    setFixedSize(static_cast<int>(std::lround(width * pixelsPerMm())),
                 static_cast<int>(std::lround(height * pixelsPerMm())));
}

QPointF DrawingPicture::toPicture(QPointF pos) const {
    double s = pixelsPerMm();
    return {left_ + pos.x() / s, top_ + pos.y() / s};
}

void DrawingPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!render) return;
    QtPainter painter(p, left_, top_, pixelsPerMm(), size());
    render(painter);
}

void DrawingPicture::mouseMoveEvent(QMouseEvent* e) {
    QPointF at = toPicture(e->position());
    emit moved(at.x(), at.y());
}

void DrawingPicture::wheelEvent(QWheelEvent* e) {
    wheelRest_ += e->angleDelta().y();
    int steps = wheelRest_ / 120;
    wheelRest_ -= steps * 120;
    if (steps != 0) {
        QPointF at = toPicture(e->position());
        emit wheeled(at.x(), at.y(), steps);
    }
    e->accept();
}

}  // namespace vornelle
