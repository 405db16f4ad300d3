// A label that reports clicks (the joystick page's distance labels). Assistive technology sees
// it as a button named by its text, which it can press as a mouse click would.
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace vornelle {

class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr);
  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) emit clicked();
        QLabel::mousePressEvent(e);
    }
};

}  // namespace vornelle
