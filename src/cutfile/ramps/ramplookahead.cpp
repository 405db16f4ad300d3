// The sliding window of the ramps' passes; see ramplookahead.h. Speeds are planned in whole
// iterations: a tick lasts 2 × N × 10 ns and each bound rounds N up, so the rounding only
// ever slows a tick and never steepens a ramp.
#include "ramplookahead.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vornelle {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr uint32_t kStill = std::numeric_limits<uint32_t>::max();  // the slowest count: standing still
constexpr size_t kWindow = 1 << 16;  // ticks read at a time before settling what they can

// The ticks are held in blocks of up to ten (see Planner::hold), which steepens the speed of
// ten records next to a block's step a little; the ramps are planned that much under the
// setting. A block holds at most 20 % between its slowest and fastest pace.
constexpr uint64_t kHoldTicks = 10;
constexpr double kHoldSpread = 1.2;
constexpr double kPlannedShare = 0.95;

double speedOf(uint32_t n, double step) {
    return step / (n * kTickPerCount);
}

// The fewest iterations that keep a tick of `step` mm at or below `v` mm/s.
uint32_t countFor(double v, double step) {
    if (!(v < kInf)) return 0;
    double n = std::ceil(step / (v * kTickPerCount) * (1 + 1e-12));
    return n >= 4294967295.0 ? kStill : static_cast<uint32_t>(n);
}

// Speed reachable over `dist` mm from `v` at `a` mm/s², planned a little under it.
double reach(double v, double a, double dist) {
    return std::sqrt(v * v + 2 * kPlannedShare * a * dist);
}

// Speed through the corner between two moves: √(A·D·s/(1−s)), s = sin(θ/2), θ between the
// reversed incoming direction and the outgoing one; never below the start-stop speed.
double junction(const RampMove& a, const RampMove& b, const RampSettings& s) {
    double cosTheta = -(a.u[0] * b.u[0] + a.u[1] * b.u[1] + a.u[2] * b.u[2]);
    double sinHalf = std::sqrt(std::clamp((1 - cosTheta) / 2, 0.0, 1.0));
    if (sinHalf > 1 - 1e-9) return kInf;  // straight on
    double j = std::sqrt(std::min(a.accel, b.accel) * s.corner * sinHalf / (1 - sinHalf));
    return std::max(j, s.startSpeed);
}

class Planner {
  public:
    Planner(RampTickSource& source, const RampSettings& s, const PlannedTick& planned, size_t window)
        : source_(source), s_(s), planned_(planned), least_(window > 0 ? window : kWindow) {}
    std::string run();

  private:
    struct Slot {
        RampTick t;
        size_t move = 0;
        uint64_t k = 0;     // the tick's index in the cut
        uint32_t back = 0;  // the backward pass, nothing further on slowing it
        uint32_t worst = 0; // the same as if the tick after the window stood still
    };
    const RampMove& move(size_t i) const { return source_.moves()[i]; }
    // Move i flows into the next one without stopping (both read).
    bool linked(size_t i) const {
        return i + 1 < source_.moves().size() && !move(i).idle && !move(i + 1).idle && !move(i).lastPauses;
    }
    double capIn(size_t i) const { return i > 0 && linked(i - 1) ? junction(move(i - 1), move(i), s_) : s_.startSpeed; }
    double capOut(size_t i) const { return linked(i) ? junction(move(i), move(i + 1), s_) : s_.startSpeed; }
    uint32_t backward(const Slot& s, const Slot* next, uint32_t after, bool last) const;
    void settle(bool atEnd);
    uint32_t forward(const Slot& s, bool last);
    void hold(const Slot& s, uint32_t n);
    void flush();

    RampTickSource& source_;
    const RampSettings& s_;
    const PlannedTick& planned_;
    const size_t least_;  // ticks read at a time at least
    std::vector<Slot> window_;
    bool started_ = false;  // a tick has been planned forward
    uint32_t previous_ = 0; // its count
    std::vector<Slot> block_;
    uint32_t fastest_ = 0, slowest_ = 0;
};

// The backward pass at `s`: its own pace and caps, and what the tick after it (`next`, of
// count `after`) lets it reach; `last`: it ends its move (known when `next` is null only at
// the end of the cut).
uint32_t Planner::backward(const Slot& s, const Slot* next, uint32_t after, bool last) const {
    const RampMove& mv = move(s.move);
    if (mv.idle || s.t.nominal == 0) return s.t.nominal;
    uint32_t need = s.t.nominal;
    if (next && !last && after > 0) {
        need = std::max(need, countFor(reach(speedOf(after, mv.step), mv.accel, mv.step), mv.step));
    } else if (next && last && linked(s.move) && after > 0) {
        const RampMove& o = move(next->move);
        need = std::max(need, countFor(reach(speedOf(after, o.step), std::min(mv.accel, o.accel),
                                             (mv.step + o.step) / 2),
                                       mv.step));
    }
    if (s.k == mv.first) need = std::max(need, countFor(capIn(s.move), mv.step));
    if (last) need = std::max(need, countFor(capOut(s.move), mv.step));
    return need;
}

// Runs the backward pass over the window from its end, once as if nothing followed it and
// once as if the machine stood still right after it: where the two agree, nothing further on
// can change the ticks before, which are planned forward and leave the window.
void Planner::settle(bool atEnd) {
    const size_t size = window_.size();
    if (size == 0) return;
    size_t agreed = size;  // the last slot where both passes agree
    for (size_t j = size; j-- > 0;) {
        Slot& s = window_[j];
        if (j + 1 == size) {
            s.back = backward(s, nullptr, 0, atEnd);
            s.worst = atEnd || move(s.move).idle || s.t.nominal == 0 ? s.back : kStill;
        } else {
            const Slot& n = window_[j + 1];
            const bool last = n.move != s.move;
            s.back = backward(s, &n, n.back, last);
            s.worst = agreed < size ? s.back : backward(s, &n, n.worst, last);
        }
        if (agreed == size && s.worst == s.back) agreed = j;
    }
    // The window's last tick is not planned until the next one tells whether it ends its move.
    size_t settled = agreed == size ? 0 : agreed + 1;
    if (!atEnd) settled = std::min(settled, size - 1);
    for (size_t j = 0; j < settled; ++j) {
        const bool last = j + 1 < size ? window_[j + 1].move != window_[j].move : true;
        hold(window_[j], forward(window_[j], last));
    }
    window_.erase(window_.begin(), window_.begin() + static_cast<long>(settled));
}

// The forward pass at `s`, the tick before it planned already.
uint32_t Planner::forward(const Slot& s, bool last) {
    const RampMove& mv = move(s.move);
    uint32_t n = s.t.nominal;
    if (!mv.idle && s.t.nominal != 0) {
        n = std::max(s.back, s.t.nominal);
        const bool first = s.k == mv.first;
        if (started_ && !first && previous_ > 0) {
            n = std::max(n, countFor(reach(speedOf(previous_, mv.step), mv.accel, mv.step), mv.step));
        } else if (started_ && first && s.move > 0 && linked(s.move - 1) && previous_ > 0) {
            const RampMove& o = move(s.move - 1);
            n = std::max(n, countFor(reach(speedOf(previous_, o.step), std::min(mv.accel, o.accel),
                                           (mv.step + o.step) / 2),
                                     mv.step));
        }
        if (first) n = std::max(n, countFor(capIn(s.move), mv.step));
        if (last) n = std::max(n, countFor(capOut(s.move), mv.step));
    }
    started_ = true;
    previous_ = n;
    return n;
}

// Each move's ticks are held in blocks of up to ten at the slowest pace of the block, so
// that the pacing file holds a ramp in a run every ten ticks or so rather than one a tick.
// A block never crosses a change of the run's own pace (feed or earlier factor), so each
// block is one factor. Holding only slows a tick, and the speed over ten records (the
// window the acceleration is judged over) still follows the ramp.
void Planner::hold(const Slot& s, uint32_t n) {
    const bool idle = move(s.move).idle;
    if (!block_.empty()) {
        const uint32_t lo = std::min(fastest_, n), hi = std::max(slowest_, n);
        if (idle || s.move != block_.front().move || block_.size() >= kHoldTicks ||
            !s.t.samePace(block_.front().t) || hi > lo * kHoldSpread)
            flush();
        else
            fastest_ = lo, slowest_ = hi;
    }
    if (idle) {
        planned_(s.t, move(s.move), n);
        return;
    }
    if (block_.empty()) fastest_ = slowest_ = n;
    block_.push_back(s);
}

void Planner::flush() {
    for (const Slot& s : block_) planned_(s.t, move(s.move), slowest_);
    block_.clear();
}

std::string Planner::run() {
    size_t chunk = least_;
    for (bool end = false; !end;) {
        Slot s;
        for (size_t read = 0; read < chunk; ++read) {
            if (!source_.next(s.t, s.move)) {
                end = true;
                break;
            }
            const RampMove& mv = source_.moves()[s.move];
            s.k = mv.first + mv.count - 1;
            window_.push_back(s);
        }
        if (end && !source_.error().empty()) return source_.error();
        settle(end);
        // A window that settles nothing grows, so a long ramp is planned in time linear in it.
        chunk = std::max(least_, window_.size());
    }
    flush();
    return {};
}

}  // namespace

std::string planTicks(RampTickSource& source, const RampSettings& s, const PlannedTick& planned,
                      size_t window) {
    return Planner(source, s, planned, window).run();
}

}  // namespace vornelle
