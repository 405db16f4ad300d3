// What a G-code program asks of the machine, move by move, once its modal state is applied:
// straight moves and XY arcs in millimetres of the program (Z up), dwells and pauses.
#pragma once

#include <cstdint>

namespace vornelle {

struct Point3 {
    double x = 0, y = 0, z = 0;  // mm
};

enum class MoveKind : uint8_t { Rapid, Linear, Arc };

struct GcodeMove {
    MoveKind kind = MoveKind::Rapid;
    Point3 from, to;          // mm, the program's coordinates, Z up
    double cx = 0, cy = 0;    // arcs: the centre, mm
    bool clockwise = false;   // arcs: G2
    bool fullCircle = false;  // arcs: ends where it starts, one whole turn
    double feed = 0;          // mm per minute in force (0 for a rapid or before any F)
    long line = 0;            // physical line, from 1
};

// Receives a program's moves in order.
class GcodeSink {
  public:
    virtual ~GcodeSink() = default;
    virtual void move(const GcodeMove& m) = 0;
    // G4: the machine stands still `seconds`.
    virtual void dwell(double seconds, long line) = 0;
    // M0 / M1: the operator's pause point.
    virtual void pause(long /*line*/) {}
};

}  // namespace vornelle
