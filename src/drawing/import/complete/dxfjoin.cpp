// Joining pieces into contours; see dxfjoin.h. Piece ends are found through a grid of cells
// of side J, so that joining stays O(n log n) in the number of pieces.
#include "dxfjoin.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <set>
#include <utility>

namespace vornelle {
namespace {

double distanceXY(Vec3 a, Vec3 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

double lengthXY(const std::vector<Vec3>& p) {
    double l = 0;
    for (size_t i = 1; i < p.size(); ++i) l += distanceXY(p[i - 1], p[i]);
    return l;
}

// The ends of the open pieces: end 2i is the start of piece i, 2i + 1 its last point. They
// are sorted by grid cell (of side J) in one array, 16 bytes an end: a million pieces take
// 32 MB, where a hash map of cells took several times that.
class EndGrid {
  public:
    EndGrid(const std::vector<Piece>& pieces, double join) : pieces_(pieces), join_(join) {
        cell_ = std::max(join, 1e-9);
        for (size_t i = 0; i < pieces.size(); ++i)
            if (!pieces[i].closed)
                for (int k = 0; k < 2; ++k) cells_.push_back({key(point(2 * i + k)), 2 * i + k});
        std::sort(cells_.begin(), cells_.end());
    }
    Vec3 point(size_t end) const {
        const auto& p = pieces_[end / 2].points;
        return end % 2 ? p.back() : p.front();
    }
    // The one other end within J of `end`, or none when there are zero or several.
    std::optional<size_t> only(size_t end) const {
        Vec3 p = point(end);
        std::optional<size_t> found;
        int64_t cx = coord(p.x), cy = coord(p.y);
        for (int64_t dx = -1; dx <= 1; ++dx)
            for (int64_t dy = -1; dy <= 1; ++dy) {
                const uint64_t k = pack(cx + dx, cy + dy);
                auto it = std::lower_bound(cells_.begin(), cells_.end(), std::pair<uint64_t, size_t>{k, 0});
                for (; it != cells_.end() && it->first == k; ++it) {
                    size_t other = it->second;
                    if (other == end || distanceXY(point(other), p) > join_) continue;
                    if (found) return std::nullopt;
                    found = other;
                }
            }
        return found;
    }

  private:
    int64_t coord(double v) const {
        return static_cast<int64_t>(std::clamp(std::floor(v / cell_), -1e15, 1e15));
    }
    static uint64_t pack(int64_t x, int64_t y) {
        return static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(y);
    }
    uint64_t key(Vec3 p) const { return pack(coord(p.x), coord(p.y)); }
    const std::vector<Piece>& pieces_;
    double join_, cell_;
    std::vector<std::pair<uint64_t, size_t>> cells_;  // (cell, end), sorted
};

// The smallest distance above J between two open ends, by a sweep in x that keeps the ends
// within the best distance so far in a set ordered by y: each end is compared only with the
// ends in a box of that size around it, so a dense column of ends stays O(n log n).
std::optional<double> smallestGap(const std::vector<Contour>& contours, double join) {
    std::vector<Vec3> ends;
    for (const Contour& c : contours)
        if (!c.closed) ends.push_back(c.points.front()), ends.push_back(c.points.back());
    if (ends.empty()) return std::nullopt;
    std::sort(ends.begin(), ends.end(), [](Vec3 a, Vec3 b) { return a.x < b.x; });
    double best = INFINITY;
    std::set<std::pair<double, size_t>> active;  // (y, index) of the ends within best in x
    size_t left = 0;
    for (size_t i = 0; i < ends.size(); ++i) {
        while (left < i && ends[i].x - ends[left].x >= best) active.erase({ends[left].y, left}), ++left;
        for (auto it = active.lower_bound({ends[i].y - best, 0});
             it != active.end() && it->first <= ends[i].y + best; ++it) {
            double d = distanceXY(ends[i], ends[it->second]);
            if (d > join && d < best) best = d;
        }
        active.insert({ends[i].y, i});
    }
    if (std::isinf(best)) return std::nullopt;
    return best;
}

}  // namespace

Contours joinPieces(std::vector<Piece> pieces, double join) {
    // Repeated points out; pieces no longer than J out.
    std::vector<Piece> kept;
    for (Piece& p : pieces) {
        auto end = std::unique(p.points.begin(), p.points.end(),
                               [](Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y; });
        p.points.erase(end, p.points.end());
        if (p.points.size() < 2 || lengthXY(p.points) <= join) continue;
        if (p.closed) p.points.back() = p.points.front();
        kept.push_back(std::move(p));
    }
    const size_t n = kept.size();
    // Two ends are linked when each is the other's only end within J.
    EndGrid grid(kept, join);
    std::vector<std::optional<size_t>> link(2 * n);
    for (size_t e = 0; e < 2 * n; ++e) {
        if (kept[e / 2].closed) continue;
        auto o = grid.only(e);
        if (o && grid.only(*o) == e) link[e] = o;
    }

    Contours out;
    std::vector<bool> used(n, false);
    for (size_t i = 0; i < n; ++i) {
        if (used[i]) continue;
        Contour c;
        if (kept[i].closed) {
            used[i] = true;
            c.points = std::move(kept[i].points);
            c.closed = true;
            out.list.push_back(std::move(c));
            continue;
        }
        // Back from the start of piece i to the free end of its chain, or round a loop.
        size_t first = 2 * i;  // the end the contour starts from
        bool loop = false;
        for (size_t e = 2 * i, steps = 0; steps <= n; ++steps) {
            if (!link[e]) {
                first = e;
                break;
            }
            size_t other = *link[e] ^ 1;
            if (*link[e] / 2 == i) {
                loop = true;
                break;
            }
            e = other;
        }
        // Forward from `first`: each piece entered at one end and left by the other.
        for (size_t e = first;;) {
            size_t p = e / 2;
            used[p] = true;
            std::vector<Vec3>& pts = kept[p].points;
            if (e % 2) std::reverse(pts.begin(), pts.end());
            c.points.insert(c.points.end(), pts.begin() + (c.points.empty() ? 0 : 1), pts.end());
            size_t leave = e ^ 1;
            if (!link[leave] || used[*link[leave] / 2]) break;
            e = *link[leave];
        }
        // Closing is not joining: a chain back at its first point within J is closed there,
        // whatever other piece ends touch that point (they stay pieces of their own).
        if (loop || (c.points.size() > 2 && distanceXY(c.points.front(), c.points.back()) <= join)) {
            c.points.back() = c.points.front();
            c.closed = true;
        }
        out.list.push_back(std::move(c));
    }
    for (const Contour& c : out.list) (c.closed ? out.closed : out.open)++;
    out.smallestGap = smallestGap(out.list, join);
    return out;
}

}  // namespace vornelle
