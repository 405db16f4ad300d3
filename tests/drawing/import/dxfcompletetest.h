// The complete DXF import's test helpers: DXF text built from group pairs (lines, arcs,
// polylines, blocks), a rig that imports it, and distances to check the flattening.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "drawing/import/complete/dxfcomplete.h"
#include "drawing/import/dxfimport.h"
#include "testsupport.h"

namespace vornelle::dxftest {
using V = std::vector<std::string>;
using P = std::vector<std::pair<int, std::string>>;

inline P operator+(P a, const P& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
inline std::string pairs(const P& p) {
    std::string s;
    for (auto& [c, v] : p) s += std::to_string(c) + "\r\n" + v + "\r\n";
    return s;
}
// A file with a header, the given blocks and entities.
inline std::string dxf(const P& entities, const P& blocks = {}, const P& header = {}) {
    P f = P{{0, "SECTION"}, {2, "HEADER"}} + header + P{{0, "ENDSEC"}};
    if (!blocks.empty()) f = f + P{{0, "SECTION"}, {2, "BLOCKS"}} + blocks + P{{0, "ENDSEC"}};
    f = f + P{{0, "SECTION"}, {2, "ENTITIES"}} + entities + P{{0, "ENDSEC"}, {0, "EOF"}};
    return pairs(f);
}
inline std::string num(double v) {
    std::ostringstream o;
    o.precision(17);
    o << v;
    return o.str();
}
inline P line(double x1, double y1, double x2, double y2) {
    return {{0, "LINE"}, {8, "0"},      {10, num(x1)}, {20, num(y1)},
            {30, "0"},   {11, num(x2)}, {21, num(y2)}, {31, "0"}};
}
inline P arc(double cx, double cy, double r, double a0, double a1, bool mirrored = false) {
    P p = {{0, "ARC"}, {8, "0"}, {10, num(cx)}, {20, num(cy)}, {30, "0"}, {40, num(r)}};
    if (mirrored) p = p + P{{210, "0"}, {220, "0"}, {230, "-1"}};
    return p + P{{50, num(a0)}, {51, num(a1)}};
}
// LWPOLYLINE of (x, y, bulge) vertices.
inline P lwpolyline(const std::vector<std::array<double, 3>>& v, bool closed) {
    P p = {{0, "LWPOLYLINE"}, {8, "0"}, {90, std::to_string(v.size())}, {70, closed ? "1" : "0"}};
    for (auto& [x, y, b] : v) {
        p = p + P{{10, num(x)}, {20, num(y)}};
        if (b != 0) p.push_back({42, num(b)});
    }
    return p;
}
inline P block(const std::string& name, double bx, double by, const P& entities) {
    return P{{0, "BLOCK"},  {8, "0"},      {2, name}, {70, "0"},
             {10, num(bx)}, {20, num(by)}, {30, "0"}, {3, name}} +
           entities + P{{0, "ENDBLK"}, {8, "0"}};
}
inline P insert(const std::string& name, double x, double y, double scale, double angle, int cols = 1,
         double colSpacing = 0) {
    return {{0, "INSERT"},
            {8, "0"},
            {2, name},
            {10, num(x)},
            {20, num(y)},
            {30, "0"},
            {41, num(scale)},
            {42, num(scale)},
            {50, num(angle)},
            {70, std::to_string(cols)},
            {44, num(colSpacing)}};
}

struct Rig {
    test::TempDir dir;
    Drawing d;
    CompleteResult load(const std::string& text, CompleteOptions o = {}) {
        test::spit(dir.file("f.dxf"), text);
        return importDxfComplete(dir.file("f.dxf"), o, d);
    }
    double x(size_t i) const { return *coordinateValue(d.List1[i]); }
    double y(size_t i) const { return *coordinateValue(d.List2[i]); }
    // The cuts' in-material records (the plunge at the first point, then the others) as
    // points, cut by cut.
    std::vector<std::vector<std::pair<double, double>>> cuts() const {
        std::vector<std::vector<std::pair<double, double>>> out;
        for (size_t i = 0; i < d.size(); ++i) {
            if (d.List4[i] == "D") out.emplace_back();
            if (d.List3[i] == "1") out.back().push_back({x(i), y(i)});
        }
        return out;
    }
};

// Largest distance from the chords of `pts` to the curve, sampled through `onCurve` at the
// chord midpoints' nearest curve points (given by `project`).
template <class F>
double worstChord(const std::vector<std::pair<double, double>>& pts, F project) {
    double worst = 0;
    for (size_t i = 1; i < pts.size(); ++i) {
        double mx = (pts[i - 1].first + pts[i].first) / 2, my = (pts[i - 1].second + pts[i].second) / 2;
        auto [px, py] = project(mx, my);
        worst = std::max(worst, std::hypot(px - mx, py - my));
    }
    return worst;
}

inline double distanceToPolyline(const std::vector<std::pair<double, double>>& pts, double x, double y) {
    double best = INFINITY;
    for (size_t i = 1; i < pts.size(); ++i) {
        auto [ax, ay] = pts[i - 1];
        auto [bx, by] = pts[i];
        double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
        double t = l2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / l2, 0.0, 1.0) : 0;
        best = std::min(best, std::hypot(ax + t * dx - x, ay + t * dy - y));
    }
    return best;
}
}  // namespace vornelle::dxftest
