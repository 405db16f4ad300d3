// A uniform grid of points for nearest-point searches in the travel metric of the machine,
// max(|dx|, |dy|): the cut order asks it for the nearest entry point still to cut and for the
// few cuts near each cut.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "containment.h"

namespace vornelle {

// Ticks of travel between two points for equal steps per millimetre on X and Y: each tick
// steps every axis at once.
inline double travel(Point2 a, Point2 b) {
    return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
}

class PointGrid {
  public:
    struct Item {
        Point2 p;
        uint32_t cut = 0, index = 0;
    };

    // Square cells over [x0, x1] x [y0, y1], about two items a cell for `expected` items.
    PointGrid(double x0, double y0, double x1, double y1, size_t expected) : x0_(x0), y0_(y0) {
        double w = std::max(x1 - x0, 0.0), h = std::max(y1 - y0, 0.0);
        double cells = std::clamp(static_cast<double>(expected) / 2, 1.0, 4e6);
        size_ = std::sqrt(std::max(w * h, 0.0) / cells);
        if (!(size_ > 0) || !std::isfinite(size_)) size_ = std::max({w, h, 1.0}) / std::sqrt(cells);
        if (!(size_ > 0) || !std::isfinite(size_)) size_ = 1;
        gx_ = static_cast<long>(std::min(w / size_, 4e6)) + 1;
        gy_ = static_cast<long>(std::min(h / size_, 4e6)) + 1;
        while (static_cast<double>(gx_) * static_cast<double>(gy_) > 8e6) {
            size_ *= 2;
            gx_ = gx_ / 2 + 1;
            gy_ = gy_ / 2 + 1;
        }
        cells_.resize(static_cast<size_t>(gx_ * gy_));
    }

    void insert(const Item& it) { cells_[cellOf(it.p)].push_back(it); }

    // The nearest item that is not `gone`; gone items met on the way are dropped for good.
    template <class Gone>
    std::optional<Item> nearest(Point2 q, Gone gone) {
        std::optional<Item> best;
        double bestD = INFINITY;
        rings(
            q,
            [&](std::vector<Item>& cell) {
                for (size_t k = 0; k < cell.size();) {
                    if (gone(cell[k])) {
                        cell[k] = cell.back();
                        cell.pop_back();
                        continue;
                    }
                    double d = travel(q, cell[k].p);
                    if (d < bestD || (d == bestD && before(cell[k], *best))) bestD = d, best = cell[k];
                    ++k;
                }
            },
            [&](double reach) { return bestD <= reach; });
        return best;
    }

    // Up to k items of distinct cuts nearest to q, nearest first, none of cut `self`.
    std::vector<Item> nearestCuts(Point2 q, size_t k, uint32_t self) {
        std::vector<std::pair<double, Item>> found;  // sorted, at most k
        rings(
            q,
            [&](std::vector<Item>& cell) {
                for (const Item& it : cell) {
                    if (it.cut == self) continue;
                    const double d = travel(q, it.p);
                    if (found.size() == k && d >= found.back().first) continue;
                    auto same = std::find_if(found.begin(), found.end(),
                                             [&](const auto& f) { return f.second.cut == it.cut; });
                    if (same != found.end()) {
                        if (d >= same->first) continue;
                        found.erase(same);
                    } else if (found.size() == k) {
                        found.pop_back();
                    }
                    auto at = std::upper_bound(found.begin(), found.end(), d,
                                               [](double v, const auto& f) { return v < f.first; });
                    found.insert(at, {d, it});
                }
            },
            [&](double reach) { return found.size() == k && found.back().first <= reach; });
        std::vector<Item> out;
        for (auto& f : found) out.push_back(f.second);
        return out;
    }

  private:
    static bool before(const Item& a, const Item& b) {
        return a.cut < b.cut || (a.cut == b.cut && a.index < b.index);
    }

    size_t cellOf(Point2 p) const { return static_cast<size_t>(cy(p.y) * gx_ + cx(p.x)); }
    long cx(double x) const {
        return static_cast<long>(
            std::clamp(std::floor((x - x0_) / size_), 0.0, static_cast<double>(gx_ - 1)));
    }
    long cy(double y) const {
        return static_cast<long>(
            std::clamp(std::floor((y - y0_) / size_), 0.0, static_cast<double>(gy_ - 1)));
    }

    // Visits the cells ring by ring around q's cell. After ring r every item not yet seen is
    // at least r cells away, so `enough(r * size)` ends the search.
    template <class Visit, class Enough>
    void rings(Point2 q, Visit visit, Enough enough) {
        const long x = cx(q.x), y = cy(q.y);
        const long last = std::max({x, gx_ - 1 - x, y, gy_ - 1 - y});
        for (long r = 0; r <= last; ++r) {
            for (long j = std::max(0L, y - r); j <= std::min(gy_ - 1, y + r); ++j) {
                auto at = [&](long i) { visit(cells_[static_cast<size_t>(j * gx_ + i)]); };
                if (j == y - r || j == y + r) {
                    for (long i = std::max(0L, x - r); i <= std::min(gx_ - 1, x + r); ++i) at(i);
                } else {
                    if (x - r >= 0) at(x - r);
                    if (x + r <= gx_ - 1) at(x + r);
                }
            }
            if (enough(static_cast<double>(r) * size_)) return;
        }
    }

    double x0_, y0_, size_ = 1;
    long gx_ = 1, gy_ = 1;
    std::vector<std::vector<Item>> cells_;
};

}  // namespace vornelle
