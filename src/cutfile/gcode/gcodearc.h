// Arcs of the XY plane (G2 / G3): the centre from I J or from R, the checks a controller
// makes before cutting one, and the arc followed by chords within a tolerance in mm.
#pragma once

#include <cstdint>
#include <string>

#include "gcodemove.h"

namespace vornelle {

// `m.cx`, `m.cy` hold the centre (from I J): the arc is refused when its end radius differs
// from its start radius by more than 0,01 mm and 0,1 % of the start radius, or when its
// start radius is 0. An end on the start is a full circle. The reason, empty when accepted.
std::string arcByCentre(GcodeMove& m);

// The centre from the radius `r` (mm; negative for the arc longer than half a turn). Refused:
// an arc that ends where it starts, an |r| shorter than half the chord (beyond the same
// 0,01 mm and 0,1 % as above). The reason, empty when accepted.
std::string arcByRadius(GcodeMove& m, double r);

// The sweep in radians, positive counter-clockwise (G3), negative clockwise (G2).
double arcSweep(const GcodeMove& m);

// The chords of the arc: `count` points after the start, the last one exactly m.to; radius
// and Z change evenly along the arc (a helix, or an end radius slightly off). Every chord
// stays within `tolerance` mm of the arc. At most 2^20 chords.
uint32_t arcChordCount(const GcodeMove& m, double tolerance);
Point3 arcPoint(const GcodeMove& m, uint32_t k, uint32_t count);

}  // namespace vornelle
