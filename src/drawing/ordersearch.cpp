// The cut-order search; see ordersearch.h. Cuts are nodes whose start and end points are
// fixed while 2-opt and Or-opt moves run (a closed cut starts and ends at its entry point, an
// open one at its ends); candidate moves come from each cut's nearest cuts only, and a move
// is applied when it shortens the travel and keeps every contained cut before its container.
// Between rounds the entry points are chosen again for the whole order by dynamic
// programming over the cuts, so that a row of concentric contours is entered along one line.
#include "ordersearch.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "pointgrid.h"

namespace vornelle {
namespace {

constexpr Point2 kOrigin{0, 0};
constexpr size_t kNeighbours = 8;     // nearest cuts tried for each cut
constexpr size_t kDpEntries = 48;     // entry points per cut in the whole-order choice
constexpr long kRepairLength = 4000;  // longest segment reversed part by part

Point2 startOf(const Shape& s, uint32_t e) {
    return s.closed ? s.pts[e] : s.pts.front();
}
Point2 endOf(const Shape& s, uint32_t e) {
    return s.closed ? s.pts[e] : s.pts.back();
}
// The points a closed cut may be entered at: all but the last, which is the first again.
uint32_t entryCount(const Shape& s) {
    return s.closed && s.pts.size() > 1 ? static_cast<uint32_t>(s.pts.size() - 1) : 1;
}

struct Extent {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the origin always inside
};
Extent extentOf(const std::vector<Shape>& shapes) {
    Extent e;
    for (const Shape& s : shapes)
        for (Point2 p : s.pts) {
            e.x0 = std::min(e.x0, p.x), e.y0 = std::min(e.y0, p.y);
            e.x1 = std::max(e.x1, p.x), e.y1 = std::max(e.y1, p.y);
        }
    return e;
}

// Improvements smaller than this are rounding noise: without it two moves could undo each
// other for ever.
double noiseOf(const Extent& e) {
    return 1e-10 * std::max({1.0, e.x1 - e.x0, e.y1 - e.y0});
}

// Sums over a range of positions that change one at a time, each in O(log n).
class Fenwick {
  public:
    explicit Fenwick(size_t n = 0) : tree_(n + 1, 0) {}
    void add(size_t i, double v) {
        for (++i; i < tree_.size(); i += i & (~i + 1)) tree_[i] += v;
    }
    double prefix(size_t i) const {  // the sum over 0..i-1
        double sum = 0;
        for (; i > 0; i -= i & (~i + 1)) sum += tree_[i];
        return sum;
    }

  private:
    std::vector<double> tree_;
};

// The 2-opt and Or-opt moves on one order with fixed entry points. Positions 0 and n + 1 of
// seq_ hold the origin, as a node n whose start and end are 0,0.
class LocalSearch {
  public:
    LocalSearch(const std::vector<Shape>& shapes, const std::vector<std::vector<uint32_t>>& containers,
                const std::vector<std::vector<uint32_t>>& contents, const OrderPlan& plan,
                const std::vector<std::vector<uint32_t>>& neighbours)
        : containers_(containers),
          contents_(contents),
          nb_(neighbours),
          n_(static_cast<uint32_t>(shapes.size())) {
        s_.resize(n_ + 1, kOrigin);
        t_.resize(n_ + 1, kOrigin);
        span_.resize(n_ + 1, 0);
        for (uint32_t c = 0; c < n_; ++c) {
            s_[c] = startOf(shapes[c], plan.entry[c]);
            t_[c] = endOf(shapes[c], plan.entry[c]);
            span_[c] = travel(s_[c], t_[c]);
        }
        seq_.push_back(n_);
        seq_.insert(seq_.end(), plan.order.begin(), plan.order.end());
        seq_.push_back(n_);
        pos_.resize(n_ + 1);
        pending_.assign(n_ + 1, 0);
        waiting_.assign(n_ + 1, 0);
        spanPre_.resize(n_ + 2, 0);
        nested_ = std::any_of(containers.begin(), containers.end(), [](const auto& c) { return !c.empty(); });
        open_ = std::any_of(span_.begin(), span_.end(), [](double v) { return v > 0; });
        if (open_) {
            forward_ = backward_ = Fenwick(n_ + 1);
            edgeF_.assign(n_ + 1, 0);
            edgeB_.assign(n_ + 1, 0);
        }
        refresh(1, n_);
        noise_ = noiseOf(extentOf(shapes));
    }

    std::vector<uint32_t> order() const { return {seq_.begin() + 1, seq_.end() - 1}; }

    // True when no move is left, false when the deadline came first.
    bool run(Deadline deadline) {
        std::deque<uint32_t> queue(seq_.begin() + 1, seq_.end() - 1);
        std::vector<char> queued(n_ + 1, 1);
        queued[n_] = 0;
        for (size_t round = 0; !queue.empty(); ++round) {
            if (round % 64 == 0 && std::chrono::steady_clock::now() >= deadline) return false;
            uint32_t a = queue.front();
            queue.pop_front();
            queued[a] = 0;
            touched_.clear();
            if (!tryMoves(a)) continue;
            for (uint32_t c : touched_)
                if (c != n_ && !queued[c]) queued[c] = 1, queue.push_back(c);
        }
        return true;
    }

  private:
    double D(uint32_t u, uint32_t v) const { return travel(t_[u], s_[v]); }

    // After seq_[lo..hi] changed: positions, span sums and, with open cuts, the travel of the
    // edges from lo - 1 to hi.
    void refresh(size_t lo, size_t hi) {
        for (size_t p = lo; p <= hi; ++p) {
            pos_[seq_[p]] = static_cast<uint32_t>(p);
            spanPre_[p] = spanPre_[p - 1] + span_[seq_[p]];
        }
        if (!open_) return;
        for (size_t k = lo - 1; k <= hi; ++k) {
            double f = D(seq_[k], seq_[k + 1]), b = D(seq_[k + 1], seq_[k]);
            forward_.add(k, f - edgeF_[k]);
            backward_.add(k, b - edgeB_[k]);
            edgeF_[k] = f, edgeB_[k] = b;
        }
    }

    bool tryMoves(uint32_t a) {
        for (uint32_t b : nb_[a]) {
            const long p = pos_[a], q = pos_[b];
            if (q > p ? (twoOpt(p + 1, q) || twoOpt(p, q - 1)) : (twoOpt(q + 1, p) || twoOpt(q, p - 1)))
                return true;
            for (long k = 1; k <= 3; ++k)
                for (long i : {p, p - k + 1})
                    if (orOpt(i, k, q) || orOpt(i, k, q - 1)) return true;
        }
        return false;
    }

    // Reverses seq_[l..r] when that shortens the travel and keeps the containment.
    bool twoOpt(long l, long r) {
        if (l < 1 || r > static_cast<long>(n_) || l >= r) return false;
        const uint32_t u = seq_[l - 1], x = seq_[l], y = seq_[r], v = seq_[r + 1];
        double delta = D(u, y) + D(x, v) - D(u, x) - D(y, v);
        // An open cut run backwards in the segment changes the travel between its ends by at
        // most its own length, twice.
        const double spans = spanPre_[r] - spanPre_[l - 1];
        if (delta - 2 * spans >= -noise_) return false;
        if (spans > 0) {
            // The edges inside the segment run backwards: their travel as it stands is kept
            // forwards and backwards.
            delta += (backward_.prefix(r) - backward_.prefix(l)) - (forward_.prefix(r) - forward_.prefix(l));
            if (delta >= -noise_) return false;
        }
        for (long k = l; k <= r && nested_; ++k)
            for (uint32_t c : containers_[seq_[k]])
                if (pos_[c] <= r) return r - l < kRepairLength && reverseParts(l, r);
        std::reverse(seq_.begin() + l, seq_.begin() + r + 1);
        refresh(static_cast<size_t>(l), static_cast<size_t>(r));
        touched_ = {u, x, y, v};
        return true;
    }

    // The segment seq_[l..r] reversed, but each cut kept after the cuts inside it: a part's
    // holes then its outline, the parts in reverse order. Applied when that is shorter.
    bool reverseParts(long l, long r) {
        auto inside = [&](uint32_t c) {
            return static_cast<long>(pos_[c]) >= l && static_cast<long>(pos_[c]) <= r;
        };
        for (long k = l; k <= r; ++k)
            for (uint32_t c : containers_[seq_[k]])
                if (inside(c)) ++pending_[c];
        buffer_.clear();
        std::vector<uint32_t>& ready = ready_;
        for (long k = r; k >= l; --k) {
            const uint32_t z = seq_[k];
            if (pending_[z] > 0) {
                waiting_[z] = 1;
                continue;
            }
            ready.assign(1, z);
            while (!ready.empty()) {
                const uint32_t x = ready.back();
                ready.pop_back();
                buffer_.push_back(x);
                for (uint32_t c : containers_[x])
                    if (inside(c) && --pending_[c] == 0 && waiting_[c]) waiting_[c] = 0, ready.push_back(c);
            }
        }
        double was = 0, now = D(seq_[l - 1], buffer_.front()) + D(buffer_.back(), seq_[r + 1]);
        for (long k = l - 1; k <= r; ++k) was += D(seq_[k], seq_[k + 1]);
        for (size_t k = 0; k + 1 < buffer_.size(); ++k) now += D(buffer_[k], buffer_[k + 1]);
        if (now >= was - noise_) return false;
        touched_ = {seq_[l - 1], seq_[l], seq_[r], seq_[r + 1], buffer_.front(), buffer_.back()};
        std::copy(buffer_.begin(), buffer_.end(), seq_.begin() + l);
        refresh(static_cast<size_t>(l), static_cast<size_t>(r));
        return true;
    }

    // Moves the chain seq_[i..i+k-1] between seq_[j] and seq_[j + 1].
    bool orOpt(long i, long k, long j) {
        const long last = i + k - 1;
        if (i < 1 || last > static_cast<long>(n_) || j < 0 || j > static_cast<long>(n_) ||
            (j >= i - 1 && j <= last))
            return false;
        const uint32_t prev = seq_[i - 1], first = seq_[i], end = seq_[last], next = seq_[last + 1];
        const uint32_t u = seq_[j], v = seq_[j + 1];
        double delta = D(u, first) + D(end, v) - D(u, v) - (D(prev, first) + D(end, next) - D(prev, next));
        if (delta >= -noise_) return false;
        if (j > last) {
            // Later: a container of the chain between its place and j would come before it.
            for (long m = i; m <= last; ++m)
                for (uint32_t c : containers_[seq_[m]])
                    if (static_cast<long>(pos_[c]) > last && static_cast<long>(pos_[c]) <= j) return false;
        } else if (!earlierKeepsContents(i, last, j)) {
            return false;
        }
        if (j > last) {
            std::rotate(seq_.begin() + i, seq_.begin() + last + 1, seq_.begin() + j + 1);
            refresh(static_cast<size_t>(i), static_cast<size_t>(j));
        } else {
            std::rotate(seq_.begin() + j + 1, seq_.begin() + i, seq_.begin() + last + 1);
            refresh(static_cast<size_t>(j + 1), static_cast<size_t>(last));
        }
        touched_ = {prev, first, end, next, u, v};
        return true;
    }

    // Earlier: the cuts between j + 1 and i - 1 come after the chain, so none may lie inside
    // a cut of the chain. Checked from whichever side is shorter.
    bool earlierKeepsContents(long i, long last, long j) const {
        size_t contents = 0;
        for (long m = i; m <= last; ++m) contents += contents_[seq_[m]].size();
        if (contents <= static_cast<size_t>(i - 1 - j)) {
            for (long m = i; m <= last; ++m)
                for (uint32_t z : contents_[seq_[m]])
                    if (static_cast<long>(pos_[z]) > j && static_cast<long>(pos_[z]) < i) return false;
            return true;
        }
        for (long m = j + 1; m <= i - 1; ++m)
            for (uint32_t c : containers_[seq_[m]])
                if (static_cast<long>(pos_[c]) >= i && static_cast<long>(pos_[c]) <= last) return false;
        return true;
    }

    const std::vector<std::vector<uint32_t>>& containers_;
    const std::vector<std::vector<uint32_t>>& contents_;
    const std::vector<std::vector<uint32_t>>& nb_;
    const uint32_t n_;
    std::vector<Point2> s_, t_;
    std::vector<double> span_, spanPre_;
    std::vector<uint32_t> seq_, pos_;
    std::vector<uint32_t> touched_;
    bool open_ = false;    // some cut has different start and end points
    bool nested_ = false;  // some cut lies inside another
    Fenwick forward_, backward_;
    std::vector<double> edgeF_, edgeB_;        // by position k: travel from seq_[k] to seq_[k + 1], and back
    std::vector<uint32_t> pending_, waiting_;  // by cut, zero between two reverseParts
    std::vector<uint32_t> buffer_, ready_;
    double noise_ = 0;
};

// For each cut, the cuts whose start or end is nearest its end, and for an open cut also
// nearest its start: where the moves look for a better neighbour.
std::vector<std::vector<uint32_t>> neighboursOf(const std::vector<Shape>& shapes, const OrderPlan& plan) {
    const uint32_t n = static_cast<uint32_t>(shapes.size());
    Extent e = extentOf(shapes);
    PointGrid grid(e.x0, e.y0, e.x1, e.y1, 2 * n);
    std::vector<Point2> s(n), t(n);
    for (uint32_t c = 0; c < n; ++c) {
        s[c] = startOf(shapes[c], plan.entry[c]);
        t[c] = endOf(shapes[c], plan.entry[c]);
        grid.insert({s[c], c, 0});
        if (!shapes[c].closed) grid.insert({t[c], c, 1});
    }
    std::vector<std::vector<uint32_t>> nb(n);
    for (uint32_t c = 0; c < n; ++c) {
        for (auto& it : grid.nearestCuts(t[c], kNeighbours, c)) nb[c].push_back(it.cut);
        if (!shapes[c].closed)
            for (auto& it : grid.nearestCuts(s[c], kNeighbours, c))
                if (std::find(nb[c].begin(), nb[c].end(), it.cut) == nb[c].end()) nb[c].push_back(it.cut);
    }
    return nb;
}

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
                  OrderPlan plan, Deadline deadline) {
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
        LocalSearch search(shapes, containers, contents, next, neighbours);
        search.run(deadline);
        next.order = search.order();
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
