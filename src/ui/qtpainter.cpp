// Qt painter of the drawing view; see qtpainter.h.
#include "qtpainter.h"

#include <climits>
#include <cmath>

namespace vornelle {

QColor paletteColour(Colour c) {
    switch (c) {
        case Colour::LightGreen:
            return QColor(0, 255, 0);
        case Colour::LightRed:
            return QColor(255, 0, 0);
        case Colour::LightMagenta:
            return QColor(255, 0, 255);
        case Colour::LightGrey:
            return QColor(192, 192, 192);
        default:
            return Qt::black;  // the foreground; the background is white
    }
}

QtPainter::QtPainter(QPainter& p, double left, double top, double pixelsPerMm, QSize device)
    : p_(p), left_(left), top_(top), scale_(pixelsPerMm), bounds_(QPoint(0, 0), device) {
    batch_ = &batches_[static_cast<int>(colour_)];
}

QPoint QtPainter::device(double x, double y) const {
    // Mapped values are bounded by the picture limit, far inside the range of an int.
    return QPoint(static_cast<int>(std::lround((x - left_) * scale_)),
                  static_cast<int>(std::lround((y - top_) * scale_)));
}

void QtPainter::clear() {
    p_.fillRect(bounds_, Qt::white);
    batches_.clear();
    batch_ = &batches_[static_cast<int>(colour_)];
}

void QtPainter::setColour(Colour c) {
    colour_ = c;
    batch_ = &batches_[static_cast<int>(c)];
}

void QtPainter::point(double x, double y) {
    batch_->points.push_back(device(x, y));
}

void QtPainter::line(double x1, double y1, double x2, double y2) {
    QPoint a = device(x1, y1), b = device(x2, y2);
    // Lines wholly on one side of the picture, and lines of one pixel already drawn, are
    // not handed to Qt: a dense drawing has many of both.
    int w = bounds_.width(), h = bounds_.height();
    if ((a.x() < 0 && b.x() < 0) || (a.y() < 0 && b.y() < 0) || (a.x() > w && b.x() > w) ||
        (a.y() > h && b.y() > h))
        return;
    if (a == b && a == last_) return;
    last_ = b;
    batch_->lines.emplace_back(a, b);
}

void QtPainter::circle(double cx, double cy, double radius) {
    QPoint c = device(cx, cy);
    int r = std::max(1, static_cast<int>(std::lround(radius * scale_)));
    if (c.x() < -r || c.y() < -r || c.x() > bounds_.width() + r || c.y() > bounds_.height() + r) return;
    batch_->circles.emplace_back(c, r);
}

void QtPainter::text(double x, double y, std::string_view t) {
    QPoint at = device(x, y);
    if (!bounds_.adjusted(-50, -20, 50, 20).contains(at)) return;
    batch_->texts.emplace_back(at, QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
}

void QtPainter::finish() {
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setBrush(Qt::NoBrush);
    // Lines first, then the marks over them.
    for (auto& [c, b] : batches_) {
        p_.setPen(QPen(paletteColour(static_cast<Colour>(c)), 0));
        if (!b.lines.empty()) p_.drawLines(b.lines.data(), static_cast<int>(b.lines.size()));
        if (!b.points.empty()) p_.drawPoints(b.points.data(), static_cast<int>(b.points.size()));
    }
    for (auto& [c, b] : batches_) {
        p_.setPen(QPen(paletteColour(static_cast<Colour>(c)), 0));
        for (auto& [centre, r] : b.circles) p_.drawEllipse(centre, r, r);
        for (auto& [at, t] : b.texts) p_.drawText(at + QPoint(2, -2), t);
    }
    p_.restore();
    batches_.clear();
    batch_ = &batches_[static_cast<int>(colour_)];
    last_ = QPoint(INT_MIN, INT_MIN);
}

}  // namespace vornelle
