// The entities of a DXF file as the complete import needs them, read with dxflib: model space
// and the block definitions, each entity in its own coordinates with its extrusion, plus the
// types of the entities that have no path, counted where they stand.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dxfgeometry.h"

namespace vornelle {

struct DxfVertex {
    Vec3 p;
    double bulge = 0;
};

struct DxfEntity {
    enum class Kind { Line, Arc, Circle, Ellipse, Polyline, Spline, Insert };
    Kind kind = Kind::Line;
    std::string type;  // as the file names it: LWPOLYLINE and POLYLINE are both Polyline
    long line = 0;     // the line of its group code 0 in the file, for messages
    Vec3 extrusion{0, 0, 1};
    // Line: a, b (world). Arc and circle: centre a (OCS), radius r, angles a0, a1 (degrees).
    // Ellipse: centre a, major axis end b relative to it (world), ratio r, parameters a0, a1
    // (radians). Insert: insertion point a (OCS), scale b, rotation a0 (degrees).
    Vec3 a, b;
    double r = 0, a0 = 0, a1 = 0;
    // Polyline: vertices (OCS for 2D, world for 3D), flags (1 closed, 8 3D, 16 mesh, 64
    // polyface), elevation of a 2D polyline. Spline: control points with weights in `weights`.
    std::vector<DxfVertex> vertices;
    int flags = 0;
    double elevation = 0;
    // Spline: degree, knots, weights (one per control point), fit points, end tangents.
    int degree = 0;
    std::vector<double> knots, weights;
    std::vector<Vec3> fit;
    Vec3 startTangent, endTangent;
    // Insert: block name, columns and rows with their spacing.
    std::string block;
    int columns = 1, rows = 1;
    double columnSpacing = 0, rowSpacing = 0;
};

struct DxfBlock {
    Vec3 base;
    std::vector<DxfEntity> entities;
    std::map<std::string, long> skipped;  // entities of the block without a path, by type
};

struct DxfModel {
    std::vector<DxfEntity> entities;      // model space, in file order
    std::map<std::string, long> skipped;  // model-space entities without a path, by type
    std::map<std::string, DxfBlock> blocks;
    int insunits = 0;  // $INSUNITS, 0 when absent
};

// Reads `path`. The file is first checked as a stream of code/value pairs (dxflib itself
// reports nothing on a damaged file); no value and the reason when it cannot be read.
struct DxfRead {
    std::optional<DxfModel> model;
    std::string error;
};
DxfRead readDxfModel(const std::string& path);

}  // namespace vornelle
