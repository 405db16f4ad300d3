// The complete DXF import's pieces joined into contours: pieces no longer than J left out,
// pieces whose ends meet within J joined in file order where exactly two ends meet, and a
// contour whose last point comes back within J of its first closed exactly there, however
// many other ends lie at that point.
#pragma once

#include <optional>
#include <vector>

#include "dxfpaths.h"

namespace vornelle {

struct Contour {
    std::vector<Vec3> points;
    bool closed = false;
};

struct Contours {
    std::vector<Contour> list;  // in the file order of their first piece
    long closed = 0, open = 0;
    // The smallest distance, greater than J, between two free ends of open contours: joining
    // again at a little more than it closes the nearest gap. None when no open contour is left.
    std::optional<double> smallestGap;
};

// `join` J in drawing units, >= 0. Distances are measured on X and Y.
Contours joinPieces(std::vector<Piece> pieces, double join);

}  // namespace vornelle
