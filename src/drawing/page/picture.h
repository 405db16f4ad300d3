// Picture1 of the drawing page: a plain widget that paints the drawing from its data through
// the painter interface (never a widget per record), in millimetres from its two origins,
// and reports the mouse in picture millimetres.
#pragma once

#include <QWidget>
#include <functional>

#include "drawing/view/painter.h"

namespace vornelle {

class DrawingPicture : public QWidget {
    Q_OBJECT
  public:
    explicit DrawingPicture(QWidget* parent = nullptr);
    // Draws the current scene; supplied by the view.
    std::function<void(Painter&)> render;
    // Left and top picture origins (mm).
    void setWindow(double left, double top);
    // Picture size (mm).
    void setSizeMm(double width, double height);
    double left() const { return left_; }
    double top() const { return top_; }
    double widthMm() const { return width_; }
    double heightMm() const { return height_; }
    double pixelsPerMm() const;
    // Picture millimetres of a widget position.
    QPointF toPicture(QPointF pos) const;

  signals:
    void moved(double x, double y);
    // The wheel turned by `steps` notches (positive away from the user) over (x, y) mm.
    void wheeled(double x, double y, int steps);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

  private:
    double left_ = 0, top_ = 0, width_ = 135, height_ = 82;
    int wheelRest_ = 0;  // eighths of a degree not yet turned into a notch
};

}  // namespace vornelle
