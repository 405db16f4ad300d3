// The regions bounded by the tool's paths, through Clipper: a contour offset by half the
// tool's diameter with round joins, and the tests and unions the compensation makes on them.
// Coordinates are held in tenths of a micrometre.
#pragma once

#include <clipper.hpp>
#include <vector>

#include "drawingcuts.h"

namespace vornelle {

using Region = ClipperLib::Paths;

// The contour (closed, mm) grown by `delta` mm (shrunk when negative); empty when it vanishes.
Region offsetRegion(const std::vector<Pt>& closed, double delta);

// Area (mm²) of what a and b share, and of what lies in a outside b.
double sharedArea(const Region& a, const Region& b);
double areaOutside(const Region& a, const Region& b);

// The union of the regions: outer boundaries counter-clockwise, pockets they enclose clockwise.
Region unionOf(const std::vector<const Region*>& regions);

// A region's boundary as a closed path in mm (first point repeated at its end).
std::vector<Pt> closedPath(const ClipperLib::Path& p);

// The box around a region (left and right in X, top and bottom the smallest and largest Y).
ClipperLib::IntRect boxOf(const Region& r);

// Coordinates Clipper can hold at this resolution (mm).
constexpr double kRegionLimit = 1e9;

}  // namespace vornelle
