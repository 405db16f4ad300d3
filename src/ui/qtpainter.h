// The drawing view's painter on a QPainter: picture millimetres to device pixels through the
// picture's origins, batched by colour so a million lines are drawn in a few calls.
#pragma once

#include <QColor>
#include <QLine>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <climits>
#include <map>
#include <vector>

#include "drawing/view/painter.h"

namespace vornelle {

QColor paletteColour(Colour c);

class QtPainter : public Painter {
  public:
    // `left` and `top` are the picture origins (mm); `pixelsPerMm` the device scale.
    QtPainter(QPainter& p, double left, double top, double pixelsPerMm, QSize device);

    void clear() override;
    void setColour(Colour c) override;
    void point(double x, double y) override;
    void line(double x1, double y1, double x2, double y2) override;
    void circle(double cx, double cy, double radius) override;
    void text(double x, double y, std::string_view t) override;
    void finish() override;

  private:
    struct Batch {
        std::vector<QLine> lines;
        std::vector<QPoint> points;
        std::vector<std::pair<QPoint, int>> circles;  // centre, radius in pixels
        std::vector<std::pair<QPoint, QString>> texts;
    };
    QPoint device(double x, double y) const;

    QPainter& p_;
    double left_, top_, scale_;
    QRect bounds_;
    Colour colour_ = Colour::Foreground;
    Batch* batch_;
    std::map<int, Batch> batches_;
    QPoint last_{INT_MIN, INT_MIN};  // end of the last line kept, to drop repeats
};

}  // namespace vornelle
