// The moves of the cut-order search; see ordermoves.h. Candidate moves come from each cut's
// nearest cuts only; a cut whose neighbourhood changed is looked at again. The travel of the
// edges run backwards by a reversal is kept in Fenwick trees when some cuts are open.
#include "ordermoves.h"

#include <algorithm>
#include <chrono>
#include <deque>

#include "ordergeometry.h"
#include "pointgrid.h"

namespace vornelle::order {
namespace {

constexpr size_t kNeighbours = 8;     // nearest cuts tried for each cut
constexpr long kRepairLength = 4000;  // longest segment reversed part by part

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
                const std::vector<std::vector<uint32_t>>& neighbours, long chain)
        : chain_(chain),
          containers_(containers),
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

    // True when no move is left, false when the deadline came first. `start`: the cuts looked
    // at first, or every cut.
    bool run(Deadline deadline, const std::vector<uint32_t>* start) {
        std::deque<uint32_t> queue;
        std::vector<char> queued(n_ + 1, 0);
        if (start) {
            for (uint32_t c : *start)
                if (c < n_ && !queued[c]) queued[c] = 1, queue.push_back(c);
        } else {
            queue.assign(seq_.begin() + 1, seq_.end() - 1);
            std::fill(queued.begin(), queued.end() - 1, 1);
        }
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
            for (long k = 1; k <= chain_; ++k)
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

    const long chain_;  // longest chain of cuts an Or-opt move carries
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

}  // namespace

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

void applyMoves(const std::vector<Shape>& shapes, const std::vector<std::vector<uint32_t>>& containers,
                const std::vector<std::vector<uint32_t>>& contents,
                const std::vector<std::vector<uint32_t>>& neighbours, OrderPlan& plan, Deadline deadline,
                const std::vector<uint32_t>* around, long chain) {
    LocalSearch search(shapes, containers, contents, plan, neighbours, chain);
    search.run(deadline, around);
    plan.order = search.order();
}

}  // namespace vornelle::order
