// The decoded path against the program's moves; see gcodepath.h. The ticks of each chord are
// those of the segment stage (every point rounded to the nearest step, the longest axis's
// steps), so each decoded tick is compared with the move it belongs to.
#include "gcodepath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "cutfile/gcode/gcodearc.h"
#include "cutfile/gcode/gcodeinterpreter.h"
#include "run/decode/decoder.h"

namespace vornelle::test {
namespace {

struct Ticks : GcodeSink {
    const PathCheck& c;
    std::vector<GcodeMove> moves;
    std::vector<std::pair<uint64_t, long>> owners;  // end tick, move index (-1: idle)
    long at[3] = {0, 0, 0};
    uint64_t ticks = 0;
    explicit Ticks(const PathCheck& check) : c(check) {}

    void add(const Point3& p, long owner) {
        const double v[3] = {c.scale * p.x * c.stepsPerMm, c.scale * p.y * c.stepsPerMm, -p.z * c.stepsPerMm};
        long longest = 0;
        for (int a = 0; a < 3; ++a) {
            long s = static_cast<long>(std::nearbyint(v[a]));
            longest = std::max(longest, std::labs(s - at[a]));
            at[a] = s;
        }
        ticks += longest;
        if (longest) owners.push_back({ticks, owner});
    }
    void move(const GcodeMove& m) override {
        moves.push_back(m);
        const long k = static_cast<long>(moves.size()) - 1;
        if (m.kind != MoveKind::Arc) return add(m.to, k);
        const uint32_t n = arcChordCount(m, c.tolerance / c.scale);
        for (uint32_t i = 1; i <= n; ++i) add(arcPoint(m, i, n), k);
    }
    void dwell(double s, long) override {
        const auto idle = static_cast<uint64_t>(std::round(s / c.tickSeconds));
        if (idle == 0) return;
        ticks += idle;
        owners.push_back({ticks, -1});
    }
};

double clampGap(double v, double lo, double hi) {
    return v < lo ? lo - v : v > hi ? v - hi : 0;
}

// Distance (mm of the machine) from p to move m scaled.
double distance(const double p[3], const GcodeMove& m, double s) {
    const double ax = m.from.x * s, ay = m.from.y * s, bx = m.to.x * s, by = m.to.y * s;
    if (m.kind == MoveKind::Arc) {
        const double cx = m.cx * s, cy = m.cy * s;
        const double r0 = std::hypot(ax - cx, ay - cy), r1 = std::hypot(bx - cx, by - cy);
        const double r = std::hypot(p[0] - cx, p[1] - cy);
        return std::hypot(clampGap(r, std::min(r0, r1), std::max(r0, r1)),
                          clampGap(p[2], std::min(m.from.z, m.to.z), std::max(m.from.z, m.to.z)));
    }
    const double d[3] = {bx - ax, by - ay, m.to.z - m.from.z};
    const double q[3] = {p[0] - ax, p[1] - ay, p[2] - m.from.z};
    const double len2 = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    double t = len2 > 0 ? (q[0] * d[0] + q[1] * d[1] + q[2] * d[2]) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(q[0] - t * d[0], q[1] - t * d[1], q[2] - t * d[2]);
}

struct Positions : DecodeObserver {
    std::vector<std::array<long, 3>> at;
    void record(uint64_t, const std::array<long, 3>& p, bool) override { at.push_back(p); }
};

}  // namespace

::testing::AssertionResult followsProgram(const std::string& def, const std::string& program,
                                          const PathCheck& c) {
    Ticks t(c);
    GcodeSummary s;
    if (std::string why = readGcodeFile(program, t, s); !why.empty())
        return ::testing::AssertionFailure() << why;
    DecoderSetup setup;
    setup.weights = {1, 2, 4, 8, 16, 32, 64, 128};
    setup.stepsPerMm = {c.stepsPerMm, c.stepsPerMm, c.stepsPerMm};
    setup.feedIn = 20;
    setup.feedOut = 10;
    Positions seen;
    Decoded d = decodeCutFile(def, setup, &seen);
    if (!d.ok()) return ::testing::AssertionFailure() << d.error;
    if (seen.at.size() != t.ticks)
        return ::testing::AssertionFailure()
               << seen.at.size() << " tops décodés pour " << t.ticks << " attendus";
    const double bound = c.tolerance + 1.5 * std::sqrt(3.0) / c.stepsPerMm + 1e-9;
    size_t k = 0;
    std::array<long, 3> before = {0, 0, 0};
    for (uint64_t i = 0; i < seen.at.size(); ++i) {
        while (t.owners[k].first <= i) ++k;
        const auto& q = seen.at[i];
        const long owner = t.owners[k].second;
        if (owner < 0) {
            if (q != before) return ::testing::AssertionFailure() << "le top d'attente " << i << " bouge";
            continue;
        }
        const double p[3] = {q[0] / c.stepsPerMm, q[1] / c.stepsPerMm, -q[2] / c.stepsPerMm};
        const GcodeMove& m = t.moves[owner];
        if (double e = distance(p, m, c.scale); e > bound)
            return ::testing::AssertionFailure()
                   << "top " << i << " à " << e << " mm du déplacement de la ligne " << m.line;
        before = q;
    }
    const std::array<long, 3> end = {t.at[0], t.at[1], t.at[2]};
    if (seen.at.back() != end)
        return ::testing::AssertionFailure() << "la découpe ne finit pas où finit le programme";
    return ::testing::AssertionSuccess() << seen.at.size() << " tops";
}

}  // namespace vornelle::test
