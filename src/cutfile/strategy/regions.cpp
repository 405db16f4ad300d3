// Regions of the tool's paths through Clipper; see regions.h.
#include "regions.h"

#include <algorithm>
#include <cmath>

namespace vornelle {
namespace {

using namespace ClipperLib;

constexpr double kUnits = 10000;  // per mm: 0,1 µm
// The arcs of round joins stray at most this far inside the true circle (mm), well within the
// 0,01 mm a part is measured to.
constexpr double kArcTolerance = 0.001;

Path toPath(const std::vector<Pt>& pts) {
    Path p;
    p.reserve(pts.size());
    for (const Pt& q : pts) p.emplace_back(std::llround(q.x * kUnits), std::llround(q.y * kUnits));
    if (p.size() > 1 && p.front() == p.back()) p.pop_back();
    return p;
}

double areaOf(const Paths& ps) {
    double a = 0;
    for (const Path& p : ps) a += Area(p);
    return a / (kUnits * kUnits);
}

Paths clip(ClipType type, const Region& a, const Region& b) {
    Clipper c;
    c.AddPaths(a, ptSubject, true);
    c.AddPaths(b, ptClip, true);
    Paths out;
    c.Execute(type, out, pftNonZero, pftNonZero);
    return out;
}

}  // namespace

Region offsetRegion(const std::vector<Pt>& closed, double delta) {
    ClipperOffset co(2.0, kArcTolerance * kUnits);
    co.AddPath(toPath(closed), jtRound, etClosedPolygon);
    Paths out;
    co.Execute(out, delta * kUnits);
    return out;
}

double sharedArea(const Region& a, const Region& b) {
    return areaOf(clip(ctIntersection, a, b));
}

double areaOutside(const Region& a, const Region& b) {
    return areaOf(clip(ctDifference, a, b));
}

Region unionOf(const std::vector<const Region*>& regions) {
    Clipper c;
    for (const Region* r : regions) c.AddPaths(*r, ptSubject, true);
    Paths all;
    c.Execute(ctUnion, all, pftNonZero, pftNonZero);
    return all;
}

std::vector<Pt> closedPath(const Path& p) {
    std::vector<Pt> out;
    out.reserve(p.size() + 1);
    for (const IntPoint& q : p)
        out.push_back({static_cast<double>(q.X) / kUnits, static_cast<double>(q.Y) / kUnits});
    if (!out.empty()) out.push_back(out.front());
    return out;
}

IntRect boxOf(const Region& r) {
    IntRect b{hiRange, hiRange, -hiRange, -hiRange};
    for (const Path& p : r)
        for (const IntPoint& q : p) {
            b.left = std::min(b.left, q.X), b.right = std::max(b.right, q.X);
            b.top = std::min(b.top, q.Y), b.bottom = std::max(b.bottom, q.Y);
        }
    return b;
}

}  // namespace vornelle
