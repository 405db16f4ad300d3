// The generation from a G-code program; see gcodegeneration.h.
#include "gcodegeneration.h"

#include <cmath>
#include <memory>
#include <optional>

#include "base/files.h"
#include "base/numbers.h"
#include "cutfile/details.h"
#include "cutfile/generation/stages.h"
#include "gcodeticks.h"
#include "port/step.h"

namespace vornelle {
namespace {

const char* kTitle = "Découpe";

// The first pass: counts what actually moves.
struct Survey : GcodeSink {
    bool moves = false;
    void move(const GcodeMove& m) override {
        moves = moves || m.to.x != m.from.x || m.to.y != m.from.y || m.to.z != m.from.z || m.fullCircle;
    }
    void dwell(double, long) override {}
};

// Seconds of one tick at the in-material pace: the run's two counted pauses of 10 ns an
// iteration; 0 when the feed or coefficient gives none.
double tickSeconds(const GenerationInput& in, const GcodeOptions& o) {
    auto feed = decimalValue(in.Text10);
    auto c = coefficient(o.Text2);
    if (!feed || !c) return 0;
    auto count = pauseCount(100 - *feed, *c);
    return count ? 2.0 * static_cast<double>(*count) * 10e-9 : 0;
}

GcodeResult refused(GcodeResult r, const std::string& why) {
    r.generation.ok = false;
    r.generation.message = {why, kTitle, style::kStopOk};
    return r;
}

// After the cut file: the idle ticks, then the pacing file when the run's own choice of feed
// differs anywhere from the ticks' needs, or the program has pause points. The failure,
// empty when done.
std::string finish(const GcodePoints& points, const MachineFields& m, const std::string& def,
                   const std::string& rythme, GcodeResult& r) {
    int dirMask = 0, firstIdle = 0;
    for (int a = 0; a < 3; ++a) {
        dirMask |= m.weight[2 * a];
        if (m.invert[a]) firstIdle |= m.weight[2 * a];  // a still DIR line, inverted
    }
    if (auto why = insertIdleTicks(def, points.idle(), dirMask, firstIdle, r.generation.ticks); !why.empty())
        return why;
    Pacing pacing;
    pacing.runs = withIdle(points.needs(), points.idle());
    bool differs = false;
    RunFeedTracker run(m.weight[4], m.weight[5], m.invert[2]);
    if (auto why = compareFeeds(def, pacing.runs, run, pacing.cut, differs); !why.empty()) return why;
    // M0 / M1: the run pauses after the record the moves before it reached (with the dwells
    // met so far).
    std::vector<uint64_t> pauses;
    for (uint64_t t : points.pauses()) {
        uint64_t at = t;
        for (const IdleTicks& i : points.idle())
            if (i.afterTick <= t) at += i.count;
        pauses.push_back(at);
    }
    markPauses(pacing.runs, pauses);
    if (!differs && pauses.empty()) return {};
    if (Status s = writePacing(rythme, pacing); !s) return s.message;
    r.pacingPath = rythme;
    return {};
}

}  // namespace

std::optional<double> arcTolerance(const std::string& text) {
    std::string t = text;
    for (char& c : t)
        if (c == '.') c = ',';
    auto v = decimalValue(t);
    if (!v || !(*v >= 0.001 && *v <= 100)) return std::nullopt;
    return v;
}

GcodeResult generateGcode(const GenerationInput& in, const GcodeOptions& o, const std::string& work,
                          BusyPointer& busy) {
    GcodeResult r;
    Survey survey;
    if (std::string why = readGcodeFile(in.text1, survey, r.summary); !why.empty()) return refused(r, why);
    if (!survey.moves)
        return refused(r, "Le programme " + in.text1 + " ne déplace pas la machine : rien à découper.");

    MachineFields machine;
    std::vector<PacingRun> needs;
    std::unique_ptr<GcodePoints> points;
    const double tick = tickSeconds(in, o);
    auto stage = [&](const MachineFields& m, const std::string& premPath) -> std::string {
        machine = m;
        auto prem = FieldWriter::append(premPath);
        if (!prem) return prem.error();
        points = std::make_unique<GcodePoints>(*prem, m, o.tolerance, tick);
        GcodeSummary again;
        std::string why = readGcodeFile(in.text1, *points, again);
        if (why.empty()) why = points->error();
        if (!why.empty()) return why;
        Status s = prem->close();
        return s.message;
    };
    r.generation = generateFrom(in, detailsRecord(detailsOf(in)), stage, work, busy);
    if (!r.generation.ok) return r;
    const double unit = r.summary.inch ? 25.4 : 1;
    for (double f : r.summary.feeds) {
        auto peak = points->peakRates().find(f * unit);
        r.feeds.push_back({f, peak == points->peakRates().end() ? 0 : peak->second});
    }
    if (std::string why = finish(*points, machine, r.generation.defPath, in.Text9 + ".rythme", r);
        !why.empty()) {
        removeFile(r.generation.defPath);
        removeFile(r.generation.detPath);
        return refused(r, why + "\nAucun fichier découpe n'a été créé.");
    }
    return r;
}

}  // namespace vornelle
