// The complete DXF import, beside the classic one of dxfimport.h: every entity with a path
// (LINE, ARC, CIRCLE, ELLIPSE, LWPOLYLINE, POLYLINE with bulges, SPLINE, INSERT of blocks)
// read with dxflib, flattened within a tolerance and joined into contours, one cut each,
// with the record layout of the classic import.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "base/message.h"
#include "drawing/drawing.h"

namespace vornelle {

struct CompleteOptions {
    double tolerance = 0.01;  // T: largest distance from a segment to its curve, drawing units
    double join = 0.001;      // J: ends closer than this meet; pieces this short are left out
};

struct CompleteResult {
    bool ok = false;
    Message message;                      // the refusal or failure, when not ok
    std::map<std::string, long> skipped;  // entities without a path, once per placement
    long closed = 0, open = 0;            // contours, one cut each
    std::string units;                    // $INSUNITS as a word: "mm", "inch", ... "unitless"
    // The smallest distance, greater than J, between two free ends of the open contours:
    // what the page proposes for joining again. None when no contour is open.
    std::optional<double> smallestGap;
};

// Imports `path` into `d`, replaced only on success (Text3 the number of cuts, List6 all ".").
CompleteResult importDxfComplete(const std::string& path, const CompleteOptions& options, Drawing& d);

// Of what the classic import skipped, the types the complete import cuts, with their counts.
std::map<std::string, long> handledByComplete(const std::map<std::string, long>& classicSkipped);

// The page's question after a classic import that skipped such types ("Ce fichier contient
// aussi 238 LWPOLYLINE et 72 ARC que l'import standard ignore. Importer le dessin complet ?"),
// the largest counts first; empty when there is nothing the complete import would add.
std::string completeImportQuestion(const std::map<std::string, long>& classicSkipped);

// The word for a $INSUNITS code: 1 "inch", 2 "ft", 4 "mm", 5 "cm", 6 "m"...; 0 or an unknown
// code "unitless".
std::string unitsWord(int insunits);

}  // namespace vornelle
