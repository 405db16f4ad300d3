// The planner's ticks and moves from the cut file, its objet work file and the pacing file
// already beside it; see rampplan.h.
#include <algorithm>
#include <cmath>
#include <limits>

#include "base/files.h"
#include "cutfile/generation/streams.h"
#include "cutfile/pacing/runfeed.h"
#include "port/step.h"
#include "rampplan.h"
#include "run/recordreader.h"

namespace vornelle {
namespace {

struct Segment {
    uint64_t m = 0;
    std::array<double, 3> mm{};  // signed millimetres of X Y Z
};

uint32_t clamp32(uint64_t n) {
    return static_cast<uint32_t>(std::min<uint64_t>(n, std::numeric_limits<uint32_t>::max()));
}

std::string readSegments(const std::string& objet, const RampMachine& m, std::vector<Segment>& out) {
    FieldStream f;
    if (Status s = f.open(objet); !s) return s.message;
    do {
        double v[8];
        for (double& x : v)
            if (!f.next(x)) return "Fichier de travail objet illisible : " + f.error();
        Segment s;
        for (int a = 0; a < 4; ++a) s.m = std::max(s.m, static_cast<uint64_t>(v[2 * a + 1]));
        if (s.m == 0) continue;
        for (int a = 0; a < 3; ++a)
            s.mm[a] = (v[2 * a] == 1 ? -v[2 * a + 1] : v[2 * a + 1]) / m.stepsPerMm[a];
        out.push_back(s);
    } while (!f.atEnd());
    return {};
}

// The path's acceleration: each axis takes its share of the move, the tightest one limits.
RampMove segmentMove(const Segment& s, const RampSettings& set) {
    RampMove mv;
    mv.count = s.m;
    double len = std::hypot(s.mm[0], s.mm[1], s.mm[2]);
    mv.step = len / static_cast<double>(s.m);
    mv.accel = std::numeric_limits<double>::infinity();
    for (int a = 0; a < 3; ++a) {
        mv.u[a] = len > 0 ? s.mm[a] / len : 0;
        if (std::abs(mv.u[a]) > 1e-12) mv.accel = std::min(mv.accel, set.accel[a] / std::abs(mv.u[a]));
    }
    return mv;
}

// Each record's feed, earlier factor and pause point, and whether it raises no clock.
std::string readTicks(const std::string& def, const std::string& rythme, const RampMachine& m,
                      std::vector<RampTick>& ticks, std::vector<bool>& still) {
    std::optional<Pacing> earlier;
    if (fileExists(rythme)) {
        auto p = readPacing(rythme);
        if (p && pacingMismatch(*p, def).empty()) earlier = std::move(*p);
    }
    auto in = pauseCount(std::nearbyint(100 - m.feedIn), m.c);
    auto out = pauseCount(std::nearbyint(100 - m.feedOut), m.c);
    if (!in || !out) return "Coefficient vitesse inutilisable : aucune pause possible.";
    // Sized once: growing a vector of millions of ticks would hold two copies at a time.
    if (auto stamp = cutStampOf(def)) {
        ticks.reserve(stamp->records);
        still.reserve(stamp->records);
    }
    RecordReader file;
    if (Status s = file.open(def); !s) return s.message;
    RunFeedTracker tracker(m.zDir, m.zClock, m.invZ);
    size_t run = 0;
    uint64_t used = 0;
    uint8_t r = 0;
    for (;;) {
        auto res = file.next(r);
        if (res == RecordReader::Result::End) break;
        if (res == RecordReader::Result::Bad) return file.error();
        RampTick t;
        t.feed = tracker.next(r);
        if (earlier && run < earlier->runs.size()) {
            const PacingRun& p = earlier->runs[run];
            t.feed = p.feed;
            t.factor = p.factor;
            if (++used == p.count) t.pauseAfter = p.pauseAfter, ++run, used = 0;
        }
        t.base = clamp32(t.feed == PacingFeed::In ? *in : *out);
        t.nominal = clamp32(t.factor == 1 ? t.base : lengthened(t.base, t.factor));
        ticks.push_back(t);
        still.push_back((r & m.clockMask) == 0);
    }
    return {};
}

}  // namespace

std::string readRampTicks(const std::string& def, const std::string& objet, const std::string& rythme,
                          const RampMachine& m, const RampSettings& s, std::vector<RampTick>& ticks,
                          std::vector<RampMove>& moves) {
    for (double spmm : m.stepsPerMm)
        if (!(spmm > 0)) return "Rampes impossibles : le nombre de pas par mm de chaque axe doit être connu.";
    std::vector<bool> still;
    if (std::string why = readTicks(def, rythme, m, ticks, still); !why.empty()) return why;
    std::vector<Segment> segments;
    if (std::string why = readSegments(objet, m, segments); !why.empty()) return why;
    uint64_t planned = 0;
    for (const Segment& g : segments) planned += g.m;
    // Ticks beyond the segments' are a dwell's idle ticks: no clock, the machine stands still.
    const bool idleTicks = planned != ticks.size();
    uint64_t k = 0;
    auto idle = [&] {
        RampMove mv;
        mv.first = k;
        mv.idle = true;
        while (idleTicks && k < ticks.size() && still[k]) ++k, ++mv.count;
        if (mv.count > 0) moves.push_back(mv);
    };
    for (const Segment& g : segments) {
        idle();
        if (k + g.m > ticks.size()) break;
        RampMove mv = segmentMove(g, s);
        // A pause point inside a segment stops the machine there: two moves.
        uint64_t end = k + g.m;
        for (uint64_t t = k; t < end; ++t)
            if (ticks[t].pauseAfter || t + 1 == end) {
                mv.first = k;
                mv.count = t + 1 - k;
                moves.push_back(mv);
                k = t + 1;
            }
    }
    idle();
    if (k != ticks.size())
        return "Le fichier de travail objet ne correspond pas au fichier découpe " + def +
               " : rampes impossibles.";
    return {};
}

}  // namespace vornelle
