// The tool's moves along one path; see toolmoves.h.
#include "toolmoves.h"

#include <algorithm>
#include <cmath>

#include "pathgeometry.h"

namespace vornelle {
namespace {

// Depths and positions closer than this (mm) are the same.
constexpr double kSame = 1e-9;

// The parts of [0, length) at least `margin` away (around the closed path) from every
// forbidden position.
std::vector<Tab> roomLeft(double length, double margin, std::vector<double> forbidden) {
    std::vector<Tab> cuts;  // forbidden intervals, possibly wrapping
    for (double f : forbidden) {
        const double a = f - margin, b = f + margin;
        cuts.push_back({a, b});
        cuts.push_back({a - length, b - length});
        cuts.push_back({a + length, b + length});
    }
    std::sort(cuts.begin(), cuts.end(), [](const Tab& x, const Tab& y) { return x.from < y.from; });
    std::vector<Tab> room;
    double at = 0;
    for (const Tab& c : cuts) {
        if (c.from > at) room.push_back({at, std::min(c.from, length)});
        at = std::max(at, c.to);
        if (at >= length) break;
    }
    if (at < length) room.push_back({at, length});
    return room;
}

Pt pointAt(const std::vector<Pt>& p, const std::vector<double>& along, double s) {
    const size_t i = std::clamp<size_t>(
        static_cast<size_t>(std::upper_bound(along.begin(), along.end(), s) - along.begin()), 1,
        p.size() - 1);
    const double len = along[i] - along[i - 1], t = len > 0 ? (s - along[i - 1]) / len : 0;
    return {p[i - 1].x + t * (p[i].x - p[i - 1].x), p[i - 1].y + t * (p[i].y - p[i - 1].y)};
}

// One pass along `p` at depth d, rising to `top` over the tabs.
void onePass(const std::vector<Pt>& p, double d, const std::vector<Tab>& tabs, double top,
             std::vector<Pt3>& out) {
    out.push_back({p.front().x, p.front().y, d});
    if (tabs.empty()) {
        for (size_t i = 1; i < p.size(); ++i) out.push_back({p[i].x, p[i].y, d});
        return;
    }
    std::vector<double> along(p.size(), 0);
    for (size_t i = 1; i < p.size(); ++i)
        along[i] = along[i - 1] + std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
    size_t next = 0;  // the next tab edge: tab next / 2, its start when even
    double z = d;
    for (size_t i = 1; i < p.size(); ++i) {
        for (; next < 2 * tabs.size(); ++next) {
            const double e = next % 2 == 0 ? tabs[next / 2].from : tabs[next / 2].to;
            if (e > along[i]) break;
            const Pt q = pointAt(p, along, e);
            const double to = next % 2 == 0 ? top : d;
            out.push_back({q.x, q.y, z});
            out.push_back({q.x, q.y, to});
            z = to;
        }
        out.push_back({p[i].x, p[i].y, z});
    }
}

}  // namespace

std::vector<double> passDepths(double depth, double step, double tabTop) {
    std::vector<double> ds;
    if (step > 0)
        for (int k = 1; k * step < depth - kSame; ++k) ds.push_back(k * step);
    ds.push_back(depth);
    if (tabTop > kSame && tabTop < depth - kSame &&
        std::none_of(ds.begin(), ds.end(), [&](double v) { return std::fabs(v - tabTop) <= kSame; })) {
        ds.push_back(tabTop);
        std::sort(ds.begin(), ds.end());
    }
    return ds;
}

std::vector<Tab> placeTabs(const std::vector<Pt>& path, int count, double width,
                           const std::vector<double>& avoid) {
    std::vector<Tab> tabs;
    const double length = pathLength(path);
    if (count <= 0 || length <= 0) return tabs;
    std::vector<double> forbidden = avoid;
    forbidden.push_back(0);
    const std::vector<Tab> room = roomLeft(length, width, forbidden);
    for (int k = 0; k < count; ++k) {
        const double ideal = length * (k + 0.5) / count;
        double best = -1, gap = length;
        for (const Tab& r : room) {
            const double c = std::clamp(ideal, r.from, r.to);
            if (std::fabs(c - ideal) < gap) gap = std::fabs(c - ideal), best = c;
        }
        if (best < 0) continue;
        const Tab t{best - width / 2, best + width / 2};
        if (!tabs.empty() && t.from < tabs.back().to + kSame) continue;
        tabs.push_back(t);
    }
    return tabs;
}

void appendPasses(const ToolPath& path, const std::vector<double>& depths, const std::vector<Tab>& tabs,
                  double tabTop, std::vector<Pt3>& out) {
    std::vector<Pt> backwards(path.pts.rbegin(), path.pts.rend());
    static const std::vector<Tab> none;
    for (size_t j = 0; j < depths.size(); ++j) {
        const bool back = !path.closed && j % 2 == 1;
        const bool rise = depths[j] > tabTop + kSame;
        onePass(back ? backwards : path.pts, depths[j], rise ? tabs : none, tabTop, out);
    }
}

}  // namespace vornelle
