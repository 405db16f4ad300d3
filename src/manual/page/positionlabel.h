// The joystick page's line that says where the program has moved the machine: X, Y, Z in mm
// from the steps the port took, counted from the end of the last homing or, before any, from
// the program's start. Read again four times a second, so it follows a move under way.
#pragma once

#include <QLabel>
#include <QTimer>
#include <array>
#include <atomic>
#include <functional>

#include "port/machine.h"

namespace vornelle {

class PositionLabel : public QLabel {
  public:
    // `stepsPerMm` gives X, Y, Z steps per mm as the page holds them now (0: shown in steps).
    PositionLabel(Machine& machine, std::function<std::array<double, 3>()> stepsPerMm,
                  QWidget* parent = nullptr);

    // A homing has ended on its switches (any thread): the origin is where it left the machine.
    void homed() { homed_ = true; }
    void refresh();

  private:
    Machine& machine_;
    std::function<std::array<double, 3>()> stepsPerMm_;
    std::atomic<bool> homed_{false};
    QTimer timer_;
};

}  // namespace vornelle
