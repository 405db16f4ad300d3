// The complete DXF import's entities as pieces of path in world coordinates: curves flattened
// within the tolerance, blocks placed by their INSERTs (nested, scaled, rotated, in arrays),
// and what has no path counted by type once per placement.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dxfentities.h"

namespace vornelle {

struct Piece {
    std::vector<Vec3> points;  // world coordinates; the cut uses X and Y
    bool closed = false;       // a closed entity: its last point is exactly its first
};

struct Paths {
    std::vector<Piece> pieces;  // in file order, INSERTs expanded where they stand
    std::map<std::string, long> skipped;
    // Not empty when the drawing would pass the bounds of importlimits.h: why, naming the
    // entity and its line; the pieces are then incomplete.
    std::string refusal;
};

// `tolerance` in drawing units, > 0.
Paths entityPaths(const DxfModel& model, double tolerance);

}  // namespace vornelle
