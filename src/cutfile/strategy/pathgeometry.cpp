// Plane geometry of the tool's paths; see pathgeometry.h.
#include "pathgeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vornelle {

double signedArea(const std::vector<Pt>& c) {
    double a = 0;
    for (size_t i = 1; i < c.size(); ++i) a += c[i - 1].x * c[i].y - c[i].x * c[i - 1].y;
    return a / 2;
}

double pathLength(const std::vector<Pt>& p) {
    double l = 0;
    for (size_t i = 1; i < p.size(); ++i) l += std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
    return l;
}

double distanceToSegment(Pt p, Pt a, Pt b, double& t) {
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

namespace {

// The edge (index of its end point) and fraction of the point of `path` nearest p.
void nearestOn(const std::vector<Pt>& path, Pt p, size_t& edge, double& t) {
    double best = std::numeric_limits<double>::infinity();
    edge = 1, t = 0;
    for (size_t i = 1; i < path.size(); ++i) {
        double f = 0;
        const double d = distanceToSegment(p, path[i - 1], path[i], f);
        if (d < best) best = d, edge = i, t = f;
    }
}

}  // namespace

std::vector<Pt> startNearest(const std::vector<Pt>& c, Pt p) {
    if (c.size() < 2) return c;
    size_t edge = 1;
    double t = 0;
    nearestOn(c, p, edge, t);
    const Pt a = c[edge - 1], b = c[edge];
    const Pt s{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
    // The ring without its closing point, from the edge's end on, then back to the start.
    const size_t n = c.size() - 1;
    std::vector<Pt> out;
    out.reserve(c.size() + 2);
    out.push_back(s);
    for (size_t k = 0; k < n; ++k) {
        const Pt q = c[(edge + k) % n];
        if (k == 0 && t >= 1) continue;  // the start is that vertex itself
        out.push_back(q);
    }
    if (t <= 0) out.pop_back();  // the start is the edge's first vertex, already last
    out.push_back(s);
    return out;
}

std::vector<Pt> reversedClosed(const std::vector<Pt>& c) {
    return std::vector<Pt>(c.rbegin(), c.rend());
}

double positionNearest(const std::vector<Pt>& path, Pt p) {
    size_t edge = 1;
    double t = 0;
    nearestOn(path, p, edge, t);
    double s = 0;
    for (size_t i = 1; i < edge; ++i) s += std::hypot(path[i].x - path[i - 1].x, path[i].y - path[i - 1].y);
    return s + t * std::hypot(path[edge].x - path[edge - 1].x, path[edge].y - path[edge - 1].y);
}

}  // namespace vornelle
