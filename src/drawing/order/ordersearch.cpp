// The cut-order search; see ordersearch.h. Cuts are nodes whose start and end points are
// fixed while 2-opt and Or-opt moves run (a closed cut starts and ends at its entry point, an
// open one at its ends); candidate moves come from each cut's nearest cuts only, and a move
// is applied when it shortens the travel and keeps every contained cut before its container.
// Between rounds the entry points are chosen again for the whole order by dynamic
// programming over the cuts, so that a row of concentric contours is entered along one line.
#include "ordersearch.h"

#include <algorithm>
#include <cmath>

#include "ordergeometry.h"
#include "ordermoves.h"
#include "pointgrid.h"

namespace vornelle {
namespace {
using namespace order;
constexpr size_t kDpEntries = 48;  // entry points per cut in the whole-order choice
}  // namespace

double planTravel(const std::vector<Shape>& shapes, const OrderPlan& plan) {
    double sum = 0;
    Point2 at = kOrigin;
    for (uint32_t c : plan.order) {
        sum += travel(at, startOf(shapes[c], plan.entry[c]));
        at = endOf(shapes[c], plan.entry[c]);
    }
    return sum + travel(at, kOrigin);
}

bool keepsContainment(const std::vector<uint32_t>& order,
                      const std::vector<std::vector<uint32_t>>& containers) {
    std::vector<size_t> pos(containers.size());
    for (size_t k = 0; k < order.size(); ++k) pos[order[k]] = k;
    for (uint32_t c : order)
        for (uint32_t y : containers[c])
            if (pos[y] < pos[c]) return false;
    return true;
}

OrderPlan nearestNeighbour(const std::vector<Shape>& shapes,
                           const std::vector<std::vector<uint32_t>>& containers) {
    const size_t n = shapes.size();
    OrderPlan plan;
    plan.entry.assign(n, 0);
    std::vector<uint32_t> waiting(n, 0);  // contained cuts not made yet
    size_t points = 0;
    for (size_t c = 0; c < n; ++c) {
        for (uint32_t y : containers[c]) ++waiting[y];
        points += entryCount(shapes[c]);
    }
    Extent e = extentOf(shapes);
    PointGrid grid(e.x0, e.y0, e.x1, e.y1, points);
    auto offer = [&](uint32_t c) {
        for (uint32_t k = 0; k < entryCount(shapes[c]); ++k) grid.insert({startOf(shapes[c], k), c, k});
    };
    for (uint32_t c = 0; c < n; ++c)
        if (waiting[c] == 0) offer(c);
    std::vector<char> done(n, 0);
    Point2 at = kOrigin;
    for (size_t step = 0; step < n; ++step) {
        auto it = grid.nearest(at, [&](const PointGrid::Item& i) { return done[i.cut] != 0; });
        if (!it) break;  // cannot happen: the containment never loops
        const uint32_t c = it->cut;
        plan.order.push_back(c);
        plan.entry[c] = it->index;
        done[c] = 1;
        at = endOf(shapes[c], it->index);
        for (uint32_t y : containers[c])
            if (--waiting[y] == 0) offer(y);
    }
    return plan;
}

void chooseEntries(const std::vector<Shape>& shapes, OrderPlan& plan) {
    const size_t n = plan.order.size();
    if (n == 0) return;
    // The candidates of each cut: every entry point, or an even spread of them and the
    // current one; the sweep below then tries every point.
    std::vector<std::vector<uint32_t>> cand(n);
    for (size_t k = 0; k < n; ++k) {
        const uint32_t c = plan.order[k], count = entryCount(shapes[c]);
        if (count <= kDpEntries) {
            for (uint32_t e = 0; e < count; ++e) cand[k].push_back(e);
        } else {
            for (size_t m = 0; m < kDpEntries; ++m)
                cand[k].push_back(static_cast<uint32_t>(m * count / kDpEntries));
            if (std::find(cand[k].begin(), cand[k].end(), plan.entry[c]) == cand[k].end())
                cand[k].push_back(plan.entry[c]);
        }
    }
    std::vector<std::vector<uint32_t>> from(n);
    std::vector<double> cost, next;
    std::vector<Point2> ends;
    for (uint32_t e : cand[0]) cost.push_back(travel(kOrigin, startOf(shapes[plan.order[0]], e)));
    for (size_t k = 1; k < n; ++k) {
        const Shape &was = shapes[plan.order[k - 1]], &is = shapes[plan.order[k]];
        ends.clear();
        for (uint32_t e : cand[k - 1]) ends.push_back(endOf(was, e));
        next.assign(cand[k].size(), INFINITY);
        from[k].assign(cand[k].size(), 0);
        for (size_t j = 0; j < cand[k].size(); ++j) {
            const Point2 q = startOf(is, cand[k][j]);
            for (size_t i = 0; i < ends.size(); ++i) {
                double v = cost[i] + travel(ends[i], q);
                if (v < next[j]) next[j] = v, from[k][j] = static_cast<uint32_t>(i);
            }
        }
        cost.swap(next);
    }
    size_t best = 0;
    double bestCost = INFINITY;
    for (size_t i = 0; i < cost.size(); ++i) {
        double v = cost[i] + travel(endOf(shapes[plan.order[n - 1]], cand[n - 1][i]), kOrigin);
        if (v < bestCost) bestCost = v, best = i;
    }
    for (size_t k = n; k-- > 0;) {
        plan.entry[plan.order[k]] = cand[k][best];
        if (k > 0) best = from[k][best];
    }

    // Each closed cut then takes the best of all its points between its neighbours.
    for (int sweep = 0; sweep < 3; ++sweep) {
        bool changed = false;
        for (size_t k = 0; k < n; ++k) {
            const uint32_t c = plan.order[k];
            const Shape& s = shapes[c];
            if (entryCount(s) <= kDpEntries) continue;
            Point2 before = k > 0 ? endOf(shapes[plan.order[k - 1]], plan.entry[plan.order[k - 1]]) : kOrigin;
            Point2 after =
                k + 1 < n ? startOf(shapes[plan.order[k + 1]], plan.entry[plan.order[k + 1]]) : kOrigin;
            uint32_t pick = plan.entry[c];
            double v = travel(before, s.pts[pick]) + travel(s.pts[pick], after);
            for (uint32_t e = 0; e < entryCount(s); ++e) {
                double w = travel(before, s.pts[e]) + travel(s.pts[e], after);
                if (w < v) v = w, pick = e;
            }
            changed = changed || pick != plan.entry[c];
            plan.entry[c] = pick;
        }
        if (!changed) break;
    }
}

OrderPlan improve(const std::vector<Shape>& shapes, const std::vector<std::vector<uint32_t>>& containers,
                  OrderPlan plan, Deadline deadline, const std::vector<uint32_t>* around, long chain) {
    std::vector<std::vector<uint32_t>> contents(shapes.size());
    for (uint32_t c = 0; c < shapes.size(); ++c)
        for (uint32_t y : containers[c]) contents[y].push_back(c);
    const double noise = noiseOf(extentOf(shapes));
    double now = planTravel(shapes, plan);
    std::vector<std::vector<uint32_t>> neighbours;
    std::vector<uint32_t> neighbourEntries;
    for (int round = 0; round < 50; ++round) {
        OrderPlan next = plan;
        // Found again only when the entry points moved.
        if (round == 0 || neighbourEntries != plan.entry) {
            neighbours = neighboursOf(shapes, plan);
            neighbourEntries = plan.entry;
        }
        applyMoves(shapes, containers, contents, neighbours, next, deadline, around, chain);
        chooseEntries(shapes, next);
        double travelled = planTravel(shapes, next);
        if (travelled > now - noise) break;
        plan = std::move(next);
        now = travelled;
        if (std::chrono::steady_clock::now() >= deadline) break;
    }
    return plan;
}

}  // namespace vornelle