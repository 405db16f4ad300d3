// The ramps' backward and forward passes over every tick, and the pacing file they give; see
// rampplan.h. Speeds are planned in whole iterations: a tick lasts 2 × N × 10 ns and each
// bound rounds N up, so the rounding only ever slows a tick and never steepens a ramp.
#include "rampplan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "base/numbers.h"
#include "port/step.h"

namespace vornelle {
namespace {

constexpr double kTickPerCount = 2 * 10e-9;  // seconds of a tick per iteration of its pauses
constexpr double kInf = std::numeric_limits<double>::infinity();

double speedOf(uint32_t n, double step) {
    return step / (n * kTickPerCount);
}

// The fewest iterations that keep a tick of `step` mm at or below `v` mm/s.
uint32_t countFor(double v, double step) {
    if (!(v < kInf)) return 0;
    double n = std::ceil(step / (v * kTickPerCount) * (1 + 1e-12));
    return n >= 4294967295.0 ? 4294967295u : static_cast<uint32_t>(n);
}

// The ticks are held in blocks afterwards (see holdInBlocks), which steepens the speed of
// ten records next to a block's step a little; the ramps are planned that much under the
// setting. A block holds at most 20 % between its slowest and fastest pace.
constexpr double kHoldSpread = 1.2;
constexpr double kPlannedShare = 0.95;

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

struct Caps {
    std::vector<double> in, out;     // speed limits of each move's first and last tick
    std::vector<bool> linkedToNext;  // the move flows into the next without stopping
};

Caps capsOf(const std::vector<RampTick>& ticks, const std::vector<RampMove>& moves, const RampSettings& s) {
    Caps c;
    c.in.assign(moves.size(), s.startSpeed);
    c.out.assign(moves.size(), s.startSpeed);
    c.linkedToNext.assign(moves.size(), false);
    for (size_t i = 0; i + 1 < moves.size(); ++i) {
        const RampMove &a = moves[i], &b = moves[i + 1];
        if (a.idle || b.idle || ticks[a.first + a.count - 1].pauseAfter) continue;
        c.out[i] = c.in[i + 1] = junction(a, b, s);
        c.linkedToNext[i] = true;
    }
    return c;
}

// One pass: `dirn` −1 from the end (backward), +1 from the start (forward). Each tick keeps
// the speed its neighbour on the side already passed lets it reach.
void pass(const std::vector<RampTick>& ticks, const std::vector<RampMove>& moves, const Caps& caps, int dirn,
          std::vector<uint32_t>& n) {
    const long count = static_cast<long>(moves.size());
    for (long j = 0; j < count; ++j) {
        const long i = dirn < 0 ? count - 1 - j : j;
        const RampMove& mv = moves[i];
        const uint64_t first = mv.first, last = mv.first + mv.count - 1;
        for (uint64_t q = 0; q < mv.count; ++q) {
            const uint64_t k = dirn < 0 ? last - q : first + q;
            if (mv.idle || ticks[k].nominal == 0) {
                n[k] = ticks[k].nominal;
                continue;
            }
            uint32_t need = std::max(n[k], ticks[k].nominal);
            const bool atBoundary = dirn < 0 ? k == last : k == first;  // next to the passed move
            const long other = i - dirn;                                // move on the passed side
            if (!atBoundary) {
                uint64_t prev = k - dirn;
                if (n[prev] > 0)
                    need = std::max(need,
                                    countFor(reach(speedOf(n[prev], mv.step), mv.accel, mv.step), mv.step));
            } else if (other >= 0 && other < count && caps.linkedToNext[std::min(i, other)]) {
                const RampMove& o = moves[other];
                uint64_t prev = k - dirn;
                if (n[prev] > 0)
                    need = std::max(need, countFor(reach(speedOf(n[prev], o.step),
                                                         std::min(mv.accel, o.accel), (mv.step + o.step) / 2),
                                                   mv.step));
            }
            if (k == first) need = std::max(need, countFor(caps.in[i], mv.step));
            if (k == last) need = std::max(need, countFor(caps.out[i], mv.step));
            n[k] = need;
        }
    }
}

// Each move's ticks held in blocks of up to ten ticks at the slowest pace of the block, so
// that the pacing file holds a ramp in a run every ten ticks or so rather than one a tick.
// A block never crosses a change of the run's own pace (feed or earlier factor), so each
// block is one factor. Holding only slows a tick, and the speed over ten records (the
// window the acceleration is judged over) still follows the ramp.
constexpr uint64_t kHoldTicks = 10;

void holdInBlocks(const std::vector<RampTick>& ticks, const std::vector<RampMove>& moves,
                  std::vector<uint32_t>& n) {
    for (const RampMove& mv : moves) {
        if (mv.idle) continue;
        const uint64_t end = mv.first + mv.count;
        for (uint64_t b = mv.first; b < end;) {
            uint64_t e = b + 1;
            uint32_t slowest = n[b], fastest = n[b];
            while (e < end && e - b < kHoldTicks && ticks[e].nominal == ticks[b].nominal &&
                   ticks[e].base == ticks[b].base && ticks[e].feed == ticks[b].feed) {
                const uint32_t lo = std::min(fastest, n[e]), hi = std::max(slowest, n[e]);
                if (hi > lo * kHoldSpread) break;
                fastest = lo, slowest = hi;
                ++e;
            }
            std::fill(n.begin() + b, n.begin() + e, slowest);
            b = e;
        }
    }
}

}  // namespace

std::vector<uint32_t> planPauses(const std::vector<RampTick>& ticks, const std::vector<RampMove>& moves,
                                 const RampSettings& s) {
    std::vector<uint32_t> n(ticks.size(), 0);
    Caps caps = capsOf(ticks, moves, s);
    pass(ticks, moves, caps, -1, n);
    pass(ticks, moves, caps, +1, n);
    holdInBlocks(ticks, moves, n);
    return n;
}

double factorFor(uint32_t base, uint32_t count) {
    if (base == 0 || count <= base) return 1;
    const double lo = (count - 1.0) / base, hi = static_cast<double>(count) / base;
    double scale = 1;
    for (int digits = 0; digits <= 15; ++digits, scale *= 10) {
        double candidate = std::floor(hi * scale) / scale;
        if (candidate <= lo) continue;
        double f = std::strtod(numberText(candidate, '.').c_str(), nullptr);
        if (f >= 1 && lengthened(base, f) == count) return f;
    }
    return hi;
}

std::string writeRamps(const std::string& def, const std::string& objet, const std::string& rythme,
                       const RampMachine& m, const RampSettings& s, RampReport& report) {
    std::vector<RampTick> ticks;
    std::vector<RampMove> moves;
    if (std::string why = readRampTicks(def, objet, rythme, m, s, ticks, moves); !why.empty()) return why;
    std::vector<uint32_t> n = planPauses(ticks, moves, s);
    Pacing p;
    auto stamp = cutStampOf(def);
    if (!stamp) return stamp.error();
    p.cut = *stamp;
    for (const RampMove& mv : moves) {
        report.moves += !mv.idle;
        for (uint64_t k = mv.first; k < mv.first + mv.count; ++k) {
            const RampTick& t = ticks[k];
            report.unpaced += !mv.idle && t.nominal == 0;
            report.slowed += n[k] > t.nominal;
        }
    }
    for (size_t k = 0; k < ticks.size(); ++k) {
        const RampTick& t = ticks[k];
        report.seconds += n[k] * kTickPerCount;
        PacingRun r{1, n[k] > t.nominal ? factorFor(t.base, n[k]) : t.factor, t.feed, t.pauseAfter};
        if (!p.runs.empty()) {
            PacingRun& last = p.runs.back();
            if (!last.pauseAfter && last.factor == r.factor && last.feed == r.feed) {
                ++last.count;
                last.pauseAfter = r.pauseAfter;
                continue;
            }
        }
        p.runs.push_back(r);
    }
    if (Status w = writePacing(rythme, p); !w) return w.message;
    report.pacingPath = rythme;
    return {};
}

}  // namespace vornelle
