// A label that reports clicks (the joystick page's distance labels).
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace vornelle {

class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) emit clicked();
        QLabel::mousePressEvent(e);
    }
};

}  // namespace vornelle
