// The ramps planner on small cut files written by hand: a long move ramps up, cruises and
// ramps down within its acceleration (pauses rounded to whole iterations included), starts
// and ends at the start-stop speed, and slows through a corner only to its junction speed.
#include "cutfile/ramps/rampplan.h"

#include <gtest/gtest.h>

#include <cmath>

#include "port/step.h"
#include "testsupport.h"

namespace vornelle {
namespace {

// X on weights 1 (DIR) and 2 (CLOCK), Y 4 and 8, Z 16 and 32; 100 steps per mm; feeds 20
// and 10 (7900 and 8900 iterations a pause at c = 0,01).
RampMachine machine() {
    RampMachine m;
    m.stepsPerMm = {100, 100, 100};
    m.zDir = 16, m.zClock = 32, m.clockMask = 2 | 8 | 32;
    m.feedIn = 20, m.feedOut = 10, m.c = 0.01;
    return m;
}

RampSettings settings(double corner) {
    RampSettings s;
    s.accel = {500, 500, 250};
    s.startSpeed = 5;
    s.corner = corner;
    return s;
}

struct Leg {
    int dx, dy;  // steps, one of them the longest
};

// The cut file and objet of these legs (each axis stepping on every tick it can), then the
// plan; the duration of every tick as the run makes it, and its move's step in mm.
struct Planned {
    std::vector<double> seconds, step;
    std::vector<size_t> moveStart;
    size_t runs = 0, rampTicks = 0;  // the pacing file's lines, and ticks slower than the feed
};

Planned plan(const test::TempDir& dir, const std::vector<Leg>& legs, const RampSettings& s) {
    std::string def, objet;
    Planned p;
    for (const Leg& l : legs) {
        int m = std::max(std::abs(l.dx), std::abs(l.dy));
        objet += std::to_string(l.dx < 0) + "," + std::to_string(std::abs(l.dx)) + "," +
                 std::to_string(l.dy < 0) + "," + std::to_string(std::abs(l.dy)) + ",0,0,0,0\r\n";
        p.moveStart.push_back(p.step.size());
        for (int k = 0; k < m; ++k) {
            // Diagonal legs here step both axes on every tick.
            int r = (l.dx ? 2 : 0) | (l.dx < 0 ? 1 : 0) | (l.dy ? 8 : 0) | (l.dy < 0 ? 4 : 0);
            def += std::to_string(r) + "\r\n";
            p.step.push_back(std::hypot(l.dx ? 0.01 : 0, l.dy ? 0.01 : 0));
        }
    }
    test::spit(dir.file("p.def"), def);
    test::spit(dir.file("objet"), objet);
    RampReport report;
    std::string why =
        writeRamps(dir.file("p.def"), dir.file("objet"), dir.file("p.rythme"), machine(), s, report);
    EXPECT_EQ(why, "");
    auto pacing = readPacing(dir.file("p.rythme"));
    EXPECT_TRUE(pacing) << pacing.error();
    if (!pacing) return p;
    EXPECT_EQ(pacingMismatch(*pacing, dir.file("p.def")), "");
    p.runs = pacing->runs.size();
    p.rampTicks = report.slowed;
    for (const PacingRun& r : pacing->runs)
        for (uint64_t i = 0; i < r.count; ++i)
            p.seconds.push_back(
                2e-8 * static_cast<double>(lengthened(r.feed == PacingFeed::In ? 7900 : 8900, r.factor)));
    double total = 0;
    for (double t : p.seconds) total += t;
    EXPECT_NEAR(report.seconds, total, 1e-9);
    return p;
}

// The speed over any ten records of a move never changes faster than `accel` from those ten
// to the ten after them, time taken between the windows' middles.
void expectWithinAcceleration(const Planned& p, size_t from, size_t to, double accel) {
    std::vector<double> speed, middle;
    std::vector<double> start(to - from + 1);
    for (size_t k = from; k < to; ++k) start[k - from + 1] = start[k - from] + p.seconds[k];
    for (size_t k = from; k + 10 <= to; ++k) {
        double span = start[k + 10 - from] - start[k - from];
        speed.push_back(10 * p.step[k] / span);
        middle.push_back(start[k - from] + span / 2);
    }
    for (size_t w = 10; w < speed.size(); ++w)
        ASSERT_LE(std::abs(speed[w] - speed[w - 10]) / (middle[w] - middle[w - 10]), accel * (1 + 1e-9))
            << "window " << w << " of the move from record " << from;
}

double speedAt(const Planned& p, size_t k) {
    return p.step[k] / p.seconds[k];
}

TEST(RampPlan, ALongMoveRampsUpCruisesAndRampsDownWithinItsSetting) {
    test::TempDir dir;
    Planned p = plan(dir, {{3000, 0}}, settings(0.05));
    ASSERT_EQ(p.seconds.size(), 3000u);
    EXPECT_LE(speedAt(p, 0), 5.0);
    EXPECT_LE(speedAt(p, 2999), 5.0);
    EXPECT_GT(speedAt(p, 0), 4.5);  // no slower than the rounding needs
    // Cruise at the feed's own pace in the middle: 0,01 mm in 2 × 7900 × 10 ns.
    EXPECT_DOUBLE_EQ(p.seconds[1500], 2 * 7900 * 10e-9);
    expectWithinAcceleration(p, 0, 3000, 500);
    // Compact: the ramps' ticks are held in runs of several ticks, not one line each.
    EXPECT_GT(p.rampTicks, 500u);
    EXPECT_LT(p.runs * 5, p.rampTicks);
}

TEST(RampPlan, ACornerSlowsToItsJunctionSpeedAndAStraightJoinNotAtAll) {
    struct Case {
        std::vector<Leg> legs;
        double corner, lowest, highest;  // bounds of the speed through the join
    };
    // 90°: s = sin 45°, √(500 × 0,05 × s / (1 − s)) = 7,77 mm/s.
    const Case cases[] = {
        {{{1000, 0}, {0, 1000}}, 0.05, 7.0, 7.77},
        {{{1000, 0}, {0, 1000}}, 0, 4.5, 5.0},      // no deviation: the start-stop speed
        {{{1000, 0}, {-1000, 0}}, 0.05, 4.5, 5.0},  // back the way it came
        {{{1000, 0}, {1000, 0}}, 0.05, 60, 64},     // straight on: the feed's pace
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        Planned p = plan(dir, c.legs, settings(c.corner));
        size_t join = p.moveStart[1];
        for (size_t k : {join - 1, join}) {
            EXPECT_LE(speedAt(p, k), c.highest) << c.corner << " record " << k;
            EXPECT_GE(speedAt(p, k), c.lowest) << c.corner << " record " << k;
        }
        expectWithinAcceleration(p, 0, join, 500);
        expectWithinAcceleration(p, join, p.seconds.size(), 500);
        EXPECT_LE(speedAt(p, 0), 5.0);
        EXPECT_LE(speedAt(p, p.seconds.size() - 1), 5.0);
    }
}

TEST(RampPlan, TheFactorWrittenGivesExactlyThePlannedIterations) {
    for (uint32_t base : {1u, 101u, 7900u, 99999u})
        for (uint32_t count : {base, base + 1, base * 3 + 7, base * 1000 + 1}) {
            double f = factorFor(base, count);
            EXPECT_GE(f, 1);
            EXPECT_EQ(lengthened(base, f), count) << base << " " << count;
        }
}

TEST(RampPlan, AnyWindowGivesThePlanOfTheWholeCut) {
    test::TempDir dir;
    std::string def, objet;
    auto leg = [&](int dx, int dy) {
        objet += std::to_string(dx < 0) + "," + std::to_string(std::abs(dx)) + "," + std::to_string(dy < 0) + "," +
                 std::to_string(std::abs(dy)) + ",0,0,0,0\r\n";
        const int r = (dx ? 2 : 0) | (dx < 0 ? 1 : 0) | (dy ? 8 : 0) | (dy < 0 ? 4 : 0);
        for (int k = 0; k < std::max(std::abs(dx), std::abs(dy)); ++k) def += std::to_string(r) + "\r\n";
    };
    // A corner, a reversal, a dwell (still ticks beyond the segments), a straight join, a
    // diagonal and the way back.
    leg(300, 0), leg(0, 200), leg(0, -200);
    for (int k = 0; k < 25; ++k) def += "0\r\n";
    leg(100, 0), leg(400, 0), leg(150, 150), leg(-950, -150);
    test::spit(dir.file("p.def"), def);
    test::spit(dir.file("objet"), objet);
    // A G-code job's own pacing: its second half out of the material and slower, and a pause
    // point in the middle of the straight join.
    Pacing early;
    early.cut = *cutStampOf(dir.file("p.def"));
    early.runs = {{900, 1, PacingFeed::In}, {early.cut.records - 900, 1.5, PacingFeed::Out}};
    markPauses(early.runs, {800});
    std::string whole;
    for (size_t window : {0, 1, 2, 7, 64}) {
        ASSERT_TRUE(writePacing(dir.file("p.rythme"), early));
        RampReport report;
        ASSERT_EQ(writeRamps(dir.file("p.def"), dir.file("objet"), dir.file("p.rythme"), machine(), settings(0.05),
                             report, window),
                  "");
        const std::string text = test::slurp(dir.file("p.rythme"));
        if (window == 0)
            whole = text;
        else
            EXPECT_EQ(text, whole) << "window " << window;
    }
    EXPECT_NE(whole.find(" P\r\n"), std::string::npos);
    EXPECT_GT(std::count(whole.begin(), whole.end(), '\n'), 100);  // ramps at every stop and corner
}

}  // namespace
}  // namespace vornelle
