// The record layout every DXF import gives a cut: the tool above the material at the start
// point (marker "D"), the plunge there with the cut number, the points in the material, and
// the lift at the last point (marker "F"). Cut numbers run from 1 in the order of the cuts.
#pragma once

#include <string>
#include <string_view>

#include "drawing/drawing.h"

namespace vornelle {

class CutRecords {
  public:
    explicit CutRecords(Drawing& d) : d_(d) {}
    // The approach record and the plunge record carrying the next cut number.
    void start(std::string_view x, std::string_view y);
    // A point in the material.
    void point(std::string_view x, std::string_view y) { d_.appendFull(x, y, "1", "0", ".", "."); }
    // The lift record at (x, y), the cut's last point.
    void end(std::string_view x, std::string_view y) { d_.appendFull(x, y, "0", "F", ".", "."); }
    long cuts() const { return next_ - 1; }
    // Text3: the number of cuts.
    void finish() { d_.Text3 = std::to_string(cuts()); }

  private:
    Drawing& d_;
    long next_ = 1;
};

}  // namespace vornelle
