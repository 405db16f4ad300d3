// Preview; see preview.h. One drawing unit of the picture is 1/1440 inch, shown at 96
// pixels per inch; the picture's origin line (y = 0 of the drawing) sits near its bottom so
// that drawings above the X axis are visible.
#include "preview.h"

#include <QPainter>
#include <cmath>

#include "base/fields.h"
#include "drawing/drawing.h"
#include "run/decode/pathpicture.h"

namespace vornelle {
namespace {
constexpr double kPixelsPerUnit = 96.0 / 1440.0;
// Lines beyond this many units from the origin cannot be drawn.
constexpr double kRange = 2.0e9;
}  // namespace

PreviewResult previewLines(const std::string& path, double facteur, double c) {
    PreviewResult r;
    if (!path.empty() && path.back() == '/') return r;
    auto in = FieldReader::open(path);
    if (!in) {
        r.error = in.error();
        return r;
    }
    std::string fx, fy, fz;
    bool havePrev = false;
    double px = 0, py = 0;
    do {
        if (!in->next(fx) || !in->next(fy) || !in->next(fz)) {
            r.error = in->error();
            return r;
        }
        auto X = coordinateValue(fx), Y = coordinateValue(fy);
        if (!X || !Y) {
            r.error = "coordonnée illisible";
            return r;
        }
        double x = facteur * *X, y = facteur * *Y;
        if (havePrev) {
            PreviewLine l{50 * px + 5, c - 50 * py, 50 * x + 5, c - 50 * y};
            for (double v : {l.x1, l.y1, l.x2, l.y2}) {
                if (!std::isfinite(v) || std::fabs(v) > kRange) {
                    r.overflow = true;
                    r.error = "dépassement";
                    return r;
                }
            }
            r.lines.push_back(l);
        }
        px = x, py = y;
        havePrev = true;
    } while (!in->atEnd());
    return r;
}

PreviewPicture::PreviewPicture(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setMinimumSize(300, 220);
}

void PreviewPicture::setLines(std::vector<PreviewLine> lines) {
    lines_ = std::move(lines);
    update();
}

void PreviewPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double k = kPixelsPerUnit;
    const double baseY = height() - 12;  // where the picture's y = 40..55 line lands
    p.setPen(QPen(QColor(200, 200, 200), 1, Qt::DashLine));
    p.drawLine(QPointF(0, baseY), QPointF(width(), baseY));
    p.setPen(QPen(QColor(20, 20, 120), 1));
    for (const PreviewLine& l : lines_)
        p.drawLine(QPointF(l.x1 * k, baseY + (l.y1 - 55) * k), QPointF(l.x2 * k, baseY + (l.y2 - 55) * k));
    if (!overlay_ || !overlay_->path) return;
    // The decoded path over the drawing, cuts dark and travels red, half transparent so the
    // drawing shows through where they agree.
    const auto& pts = overlay_->path->points();
    double mx = mmPerStep(overlay_->setup, 0), my = mmPerStep(overlay_->setup, 1);
    auto at = [&](const PathPoint& q) {
        return QPointF((5 + unitsPerMm_ * q.x * mx) * k, baseY + (c_ - unitsPerMm_ * q.y * my - 55) * k);
    };
    QPen cut(QColor(0, 0, 0, 150), 2), travel(QColor(255, 0, 0, 170), 1, Qt::DashLine);
    for (size_t i = 1; i < pts.size(); ++i) {
        p.setPen(pts[i].inMaterial ? cut : travel);
        p.drawLine(at(pts[i - 1]), at(pts[i]));
    }
}

void PreviewPicture::setOverlay(std::shared_ptr<const DecodeResult> decoded) {
    overlay_ = std::move(decoded);
    update();
}

void PreviewPicture::setOverlayScale(double unitsPerMm, double c) {
    unitsPerMm_ = unitsPerMm, c_ = c;
    update();
}

}  // namespace vornelle
