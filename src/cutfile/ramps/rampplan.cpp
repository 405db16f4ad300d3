// The pacing file the ramps give; see rampplan.h. The ticks are planned one window at a time
// (ramplookahead.h) and written as runs while they come, so only the window, the moves and
// the runs are kept.
#include "rampplan.h"

#include <cmath>
#include <cstdlib>

#include "base/numbers.h"
#include "port/step.h"
#include "ramplookahead.h"

namespace vornelle {

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
                       const RampMachine& m, const RampSettings& s, RampReport& report, size_t window) {
    RampTickSource source;
    if (std::string why = source.open(def, objet, rythme, m, s); !why.empty()) return why;
    Pacing p;
    p.cut = source.stamp();
    auto add = [&](const RampTick& t, const RampMove& mv, uint32_t n) {
        report.unpaced += !mv.idle && t.nominal == 0;
        report.slowed += n > t.nominal;
        report.seconds += n * kTickPerCount;
        PacingRun r{1, n > t.nominal ? factorFor(t.base, n) : t.factor, t.feed, t.pauseAfter};
        if (!p.runs.empty()) {
            PacingRun& last = p.runs.back();
            if (!last.pauseAfter && last.factor == r.factor && last.feed == r.feed) {
                ++last.count;
                last.pauseAfter = r.pauseAfter;
                return;
            }
        }
        p.runs.push_back(r);
    };
    if (std::string why = planTicks(source, s, add, window); !why.empty()) return why;
    for (const RampMove& mv : source.moves()) report.moves += !mv.idle;
    if (Status w = writePacing(rythme, p); !w) return w.message;
    report.pacingPath = rythme;
    return {};
}

}  // namespace vornelle
