// Tool diameter compensation; see compensation.h. The contours enclosing each other come from
// the cut-order search's containment; the regions and their offsets from regions.h.
#include "compensation.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "drawing/order/containment.h"
#include "pathgeometry.h"
#include "regions.h"

namespace vornelle {
namespace {

// Shared areas below this (mm²) are the rounding of two arcs that only touch.
constexpr double kTouching = 1e-6;

struct Contour {
    size_t cut = 0;    // index in the drawing's cuts
    int depth = 0;     // closed contours enclosing it
    long parent = -1;  // the innermost of them (index in the contours), -1 at the top
    CutSide side = CutSide::OnLine;
    Region region;     // bounded by the tool's path
    bool cut_ = true;  // still to be cut on its own
    long group = -1;   // merged with others: the first contour of the group
};

size_t findRoot(std::vector<size_t>& up, size_t i) {
    while (up[i] != i) i = up[i] = up[up[i]];
    return i;
}

// Enclosing counts and innermost parents of the closed contours.
std::vector<Contour> nestContours(const std::vector<DrawingCut>& cuts) {
    std::vector<Contour> cs;
    std::vector<Shape> shapes;
    for (size_t i = 0; i < cuts.size(); ++i)
        if (cuts[i].closed) {
            Contour c;
            c.cut = i;
            cs.push_back(std::move(c));
            Shape s;
            s.closed = true;
            for (const Pt& p : cuts[i].pts) s.pts.push_back({p.x, p.y});
            shapes.push_back(std::move(s));
        }
    const auto inside = containingShapes(shapes);
    for (size_t i = 0; i < cs.size(); ++i) cs[i].depth = static_cast<int>(inside[i].size());
    for (size_t i = 0; i < cs.size(); ++i)
        for (uint32_t c : inside[i])
            if (cs[i].parent < 0 || cs[c].depth > cs[cs[i].parent].depth) cs[i].parent = c;
    return cs;
}

CutSide sideOf(Compensation mode, bool hole) {
    switch (mode) {
        case Compensation::Outside:
            return CutSide::Outside;
        case Compensation::Inside:
            return CutSide::Inside;
        case Compensation::OnLine:
            return CutSide::OnLine;
        default:
            return hole ? CutSide::Inside : CutSide::Outside;
    }
}

// Paths that would cut into each other: a contour whose path leaves the region of the one
// around it is not cut; neighbours cut outside whose regions meet are cut as one.
void settleConflicts(std::vector<Contour>& cs, CompensationReport& report) {
    std::vector<std::vector<size_t>> children(cs.size() + 1);  // the last: the top level
    for (size_t i = 0; i < cs.size(); ++i)
        if (cs[i].cut_)
            children[cs[i].parent < 0 ? cs.size() : static_cast<size_t>(cs[i].parent)].push_back(i);
    std::vector<size_t> up(cs.size());
    std::iota(up.begin(), up.end(), 0);
    for (size_t p = 0; p <= cs.size(); ++p) {
        std::vector<size_t> kept;
        for (size_t c : children[p]) {
            if (p < cs.size() && cs[p].cut_ && areaOutside(cs[c].region, cs[p].region) > kTouching) {
                cs[c].cut_ = false;
                report.crowded.push_back(static_cast<int>(cs[c].cut) + 1);
            } else {
                kept.push_back(c);
            }
        }
        // Neighbours swept from left to right: only boxes that overlap in X are compared.
        std::vector<ClipperLib::IntRect> box(kept.size());
        std::vector<size_t> byLeft(kept.size());
        for (size_t k = 0; k < kept.size(); ++k) box[k] = boxOf(cs[kept[k]].region), byLeft[k] = k;
        std::sort(byLeft.begin(), byLeft.end(),
                  [&](size_t a, size_t b) { return box[a].left < box[b].left; });
        for (size_t a = 0; a < byLeft.size(); ++a)
            for (size_t b = a + 1; b < byLeft.size() && box[byLeft[b]].left <= box[byLeft[a]].right; ++b) {
                const ClipperLib::IntRect &bx = box[byLeft[a]], &by = box[byLeft[b]];
                const size_t i = kept[byLeft[a]], j = kept[byLeft[b]];
                Contour &x = cs[i], &y = cs[j];
                if (!x.cut_ || !y.cut_ || by.top > bx.bottom || bx.top > by.bottom ||
                    sharedArea(x.region, y.region) <= kTouching)
                    continue;
                if (x.side == CutSide::Outside && y.side == CutSide::Outside) {
                    up[findRoot(up, j)] = findRoot(up, i);
                } else {
                    Contour& later = x.cut > y.cut ? x : y;  // the first in the drawing is kept
                    later.cut_ = false;
                    report.crowded.push_back(static_cast<int>(later.cut) + 1);
                }
            }
    }
    for (size_t i = 0; i < cs.size(); ++i)
        if (cs[i].cut_ && findRoot(up, i) != i) cs[i].group = static_cast<long>(findRoot(up, i));
}

ToolPath pathFor(const DrawingCut& c, std::vector<Pt> pts, CutSide side, bool hole) {
    ToolPath t;
    t.pts = std::move(pts);
    t.closed = c.closed;
    t.side = side;
    t.hole = hole;
    t.entry = c.pts.front();
    t.corners = sharpCorners(c.pts, c.closed);
    t.zFlag = c.zFlag;
    return t;
}

// The merged groups: one path around all their members, cut where the first member was.
void cutGroups(const std::vector<DrawingCut>& cuts, std::vector<Contour>& cs, Compensated& out) {
    std::vector<std::vector<size_t>> members(cs.size());
    for (size_t i = 0; i < cs.size(); ++i)
        if (cs[i].group >= 0) members[static_cast<size_t>(cs[i].group)].push_back(i);
    for (size_t root = 0; root < cs.size(); ++root) {
        if (members[root].empty()) continue;
        members[root].insert(members[root].begin(), root);
        std::vector<const Region*> regions;
        std::vector<int> numbers;
        ToolPath proto = pathFor(cuts[cs[root].cut], {}, CutSide::Outside, cs[root].depth % 2 == 1);
        for (size_t m : members[root]) {
            regions.push_back(&cs[m].region);
            numbers.push_back(static_cast<int>(cs[m].cut) + 1);
            cs[m].cut_ = false;
            if (m != root)
                for (const Pt& p : sharpCorners(cuts[cs[m].cut].pts, true)) proto.corners.push_back(p);
        }
        for (const auto& p : unionOf(regions)) {
            ToolPath t = proto;
            t.pts = closedPath(p);
            t.pocket = signedArea(t.pts) < 0;
            out.pathsOf[cs[root].cut].push_back(std::move(t));
        }
        std::sort(numbers.begin(), numbers.end());
        out.report.merged.push_back(numbers);
    }
}

}  // namespace

std::vector<int> CompensationReport::notCut() const {
    std::vector<int> all = tooSmallHoles;
    all.insert(all.end(), tooSmallOthers.begin(), tooSmallOthers.end());
    all.insert(all.end(), crowded.begin(), crowded.end());
    for (const auto& g : merged) all.insert(all.end(), g.begin(), g.end());
    std::sort(all.begin(), all.end());
    return all;
}

std::vector<Pt> sharpCorners(const std::vector<Pt>& c, bool closed) {
    std::vector<Pt> out;
    const size_t n = closed ? c.size() - 1 : c.size();
    if (n < 3) return out;
    auto prevOf = [&](size_t i) -> long {
        for (size_t k = 1; k < n; ++k) {
            const long j =
                closed ? static_cast<long>((i + n - k) % n) : static_cast<long>(i) - static_cast<long>(k);
            if (j < 0) return -1;
            if (c[j].x != c[i].x || c[j].y != c[i].y) return j;
        }
        return -1;
    };
    auto nextOf = [&](size_t i) -> long {
        for (size_t k = 1; k < n; ++k) {
            const size_t j = closed ? (i + k) % n : i + k;
            if (j >= n) return -1;
            if (c[j].x != c[i].x || c[j].y != c[i].y) return static_cast<long>(j);
        }
        return -1;
    };
    for (size_t i = 0; i < n; ++i) {
        const long a = prevOf(i), b = nextOf(i);
        if (a < 0 || b < 0) continue;
        const double ux = c[i].x - c[a].x, uy = c[i].y - c[a].y, vx = c[b].x - c[i].x, vy = c[b].y - c[i].y;
        if (ux * vx + uy * vy < 0) out.push_back(c[i]);  // turns by more than 90°
    }
    return out;
}

std::string compensate(const std::vector<DrawingCut>& cuts, const StrategySettings& s, Compensated& out) {
    out = Compensated{};
    out.pathsOf.resize(cuts.size());
    for (const DrawingCut& c : cuts)
        for (const Pt& p : c.pts)
            if (!(std::fabs(p.x) < kRegionLimit && std::fabs(p.y) < kRegionLimit))
                return "Coupe " + std::to_string(c.number) +
                       " : un point est à plus d'un million de mètres de l'origine. Vérifiez l'échelle.";
    std::vector<Contour> cs = nestContours(cuts);
    const bool compensating = s.diameter > 0 && s.compensation != Compensation::OnLine;
    for (Contour& c : cs) {
        c.side = compensating ? sideOf(s.compensation, c.depth % 2 == 1) : CutSide::OnLine;
        if (c.side == CutSide::OnLine) continue;
        c.region =
            offsetRegion(cuts[c.cut].pts, c.side == CutSide::Outside ? s.diameter / 2 : -s.diameter / 2);
        if (!c.region.empty()) continue;
        c.cut_ = false;
        (c.depth % 2 == 1 ? out.report.tooSmallHoles : out.report.tooSmallOthers)
            .push_back(cuts[c.cut].number);
    }
    if (compensating) {
        settleConflicts(cs, out.report);
        cutGroups(cuts, cs, out);
    }
    for (const Contour& c : cs) {
        if (!c.cut_) continue;
        const DrawingCut& d = cuts[c.cut];
        if (c.side == CutSide::OnLine) {
            out.pathsOf[c.cut].push_back(pathFor(d, d.pts, c.side, c.depth % 2 == 1));
            ++out.report.onLine;
            continue;
        }
        for (const auto& p : c.region) {
            ToolPath t = pathFor(d, closedPath(p), c.side, c.depth % 2 == 1);
            t.pocket = signedArea(t.pts) < 0;  // Clipper runs the holes of a region clockwise
            out.pathsOf[c.cut].push_back(std::move(t));
        }
        ++(c.side == CutSide::Outside ? out.report.outside : out.report.inside);
    }
    for (size_t i = 0; i < cuts.size(); ++i)
        if (!cuts[i].closed) {
            out.pathsOf[i].push_back(pathFor(cuts[i], cuts[i].pts, CutSide::OnLine, false));
            ++out.report.onLine, ++out.report.open;
        }
    std::sort(out.report.crowded.begin(), out.report.crowded.end());
    return {};
}

}  // namespace vornelle
