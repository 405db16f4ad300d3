// "Ordre automatique": an entry point and an order number for every cut of a freshly
// imported drawing, chosen so that holes and details come before the outlines around them
// and the travel out of the material is least; then "Réorganisation coupes" rebuilds the
// drawing in that order.
#pragma once

#include <chrono>
#include <string>

#include "drawing/drawing.h"

namespace vornelle {

struct AutoOrderOptions {
    // For the whole search; the order found when it runs out is used.
    std::chrono::steady_clock::duration budget = std::chrono::seconds(1);
};

struct AutoOrderResult {
    // Travel out of the material from the origin through every cut and back, in drawing
    // units of max(|dx|, |dy|) per move, before and after.
    double travelBefore = 0, travelAfter = 0;
    double travelNearest = 0;  // the greedy order alone, for comparison (0 when not ordered)
    bool reordered = false;    // false: the drawing was left as it was
    size_t cuts = 0;
};

// Leaves the drawing as it was (travelAfter = travelBefore) when it has no cut, when its one
// cut is best entered where the file starts it, when its records are not approach, plunge, in-material
// records, lift cut after cut as an import leaves them, or when a coordinate is not a number.
AutoOrderResult autoOrder(Drawing& d, const AutoOrderOptions& options = {});

// The travel of the drawing's records as they stand: every move from the origin, between
// two records both out of the material, and back to the origin.
double drawingTravel(const Drawing& d);

// "Déplacements hors matière : 1234,5 → 456,7 (−63 %)".
std::string travelLine(double before, double after);

}  // namespace vornelle
