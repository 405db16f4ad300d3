// The decoded path kept small but true to the steps, the time left at given feeds, and the
// figures as the tool page words them.
#include "run/decode/decodedpath.h"

#include <gtest/gtest.h>

#include <cmath>

#include "port/step.h"
#include "run/decode/decodetask.h"
#include "run/decode/figures.h"
#include "run/decode/timeleft.h"
#include "testsupport.h"

using namespace vornelle;

namespace {

// Every position the decoder goes through.
struct Positions : DecodeObserver {
    std::vector<std::array<long, 3>> all;
    void record(uint64_t, const std::array<long, 3>& p, bool) override { all.push_back(p); }
};

DecoderSetup wiredSetup() {
    DecoderSetup s;
    s.weights = {1, 2, 4, 8, 16, 32, 64, 128};  // DIR X, CLOCK X, DIR Y, CLOCK Y, DIR Z, CLOCK Z
    s.stepsPerMm = {100, 100, 100};
    s.feedIn = 20, s.feedOut = 90, s.c = 0.01;
    return s;
}

constexpr int kXPlus = 2, kXMinus = 3, kYPlus = 8, kYMinus = 12, kZDown = 32, kZUp = 48;

std::string file(const test::TempDir& d, const std::vector<int>& records) {
    std::string s;
    for (int r : records) s += std::to_string(r) + "\r\n";
    test::spit(d.file("c.def"), s);
    return d.file("c.def");
}

double distanceToSegment(double px, double py, const PathPoint& a, const PathPoint& b) {
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / len2, 0.0, 1.0) : 0;
    return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

// The largest distance from a position the tool went through to the drawn path.
double worstStray(const Positions& raw, const DecodedPath& p) {
    double worst = 0;
    for (const auto& q : raw.all) {
        double best = 1e300;
        for (size_t i = 1; i < p.points().size(); ++i)
            best = std::min(best, distanceToSegment(q[0], q[1], p.points()[i - 1], p.points()[i]));
        worst = std::max(worst, best);
    }
    return worst;
}

}  // namespace

TEST(DecodedPath, StraightRunsBecomeOneSegmentCutsAndTravelsApartEveryStepNearThePath) {
    test::TempDir dir;
    std::vector<int> r;
    for (int k = 1; k <= 300; ++k) r.push_back(kXPlus | (k % 3 == 0 ? kYPlus : 0));  // travel, slope 1/3
    r.push_back(kZDown);                                                             // into the material
    for (int k = 0; k < 200; ++k) r.push_back(kYPlus);                               // a cut straight up
    for (int k = 0; k < 150; ++k) r.push_back(kXMinus);                              // and left
    r.push_back(kZUp);
    for (int k = 0; k < 300; ++k) r.push_back(k < 150 ? (kXMinus | kYMinus) : kYMinus);  // back home
    std::string f = file(dir, r);
    DecodeResult d = decodeWithPath(f, wiredSetup());
    ASSERT_TRUE(d.figures.ok()) << d.figures.error;
    const auto& pts = d.path->points();
    // Start, end of the slope, the two cut corners, the diagonal's end, home.
    ASSERT_EQ(pts.size(), 6u);
    EXPECT_EQ(pts[1].x, 300);
    EXPECT_EQ(pts[1].y, 100);
    EXPECT_FALSE(pts[1].inMaterial);
    EXPECT_EQ(pts[1].record, 300u);
    EXPECT_TRUE(pts[2].inMaterial);
    EXPECT_EQ(pts[2].y, 300);
    EXPECT_TRUE(pts[3].inMaterial);
    EXPECT_EQ(pts[3].x, 150);
    EXPECT_FALSE(pts[4].inMaterial);
    EXPECT_EQ(pts[5].x, 0);
    EXPECT_EQ(pts[5].y, 0);
    EXPECT_EQ(pts[5].record, r.size());
    Positions raw;
    decodeCutFile(f, wiredSetup(), &raw);
    EXPECT_LE(worstStray(raw, *d.path), d.path->tolerance() + 1e-9);
}

TEST(DecodedPath, ACapOnThePointsRaisesTheToleranceAndKeepsEveryStepNearThePath) {
    test::TempDir dir;
    // A round path: 2000 short straight pieces at turning angles.
    std::vector<int> r;
    double x = 0, y = 0;
    long sx = 0, sy = 0;
    for (int k = 0; k < 20000; ++k) {
        double a = k * 2 * M_PI / 20000;
        x += std::cos(a) * 0.9, y += std::sin(a) * 0.9;
        int rec = 0;
        if (std::lround(x) > sx)
            rec |= kXPlus, ++sx;
        else if (std::lround(x) < sx)
            rec |= kXMinus, --sx;
        if (std::lround(y) > sy)
            rec |= kYPlus, ++sy;
        else if (std::lround(y) < sy)
            rec |= kYMinus, --sy;
        r.push_back(rec);
    }
    std::string f = file(dir, r);
    DecodedPath fine, capped(64);
    decodeCutFile(f, wiredSetup(), &fine);
    Decoded d = decodeCutFile(f, wiredSetup(), &capped);
    fine.finish();
    capped.finish();
    ASSERT_TRUE(d.ok());
    EXPECT_GT(fine.points().size(), 64u);
    EXPECT_LE(capped.points().size(), 64u);
    EXPECT_GT(capped.tolerance(), 1);
    Positions raw;
    decodeCutFile(f, wiredSetup(), &raw);
    EXPECT_LE(worstStray(raw, fine), fine.tolerance() + 1e-9);
    EXPECT_LE(worstStray(raw, capped), capped.tolerance() + 1e-9);
}

TEST(TimeLeft, EachStateAtItsPaceAndTheLeadingTravelAtTheInMaterialPace) {
    test::TempDir dir;
    // Three travel records before the tool goes down, three in the material, three out.
    std::string f = file(dir, {kXPlus, kXPlus, kXPlus, kZDown, kXMinus, kXMinus, kZUp, kXMinus, 0});
    DecoderSetup s = wiredSetup();
    Decoded d = decodeCutFile(f, s);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.leadingTicks, 3u);
    EXPECT_EQ(d.ticksIn, 3u);
    EXPECT_EQ(d.ticksOut, 6u);
    // Feed 20: V = 80; feed 90: V = 10; two pauses a record.
    const double in = 2 * *pauseCount(80, 0.01) * 10e-9, out = 2 * *pauseCount(10, 0.01) * 10e-9;
    EXPECT_NEAR(d.seconds, 6 * in + 3 * out, 1e-12);
    EXPECT_NEAR(*secondsLeft(d, 0, 0, 20, 90, 0.01), d.seconds, 1e-12);
    EXPECT_NEAR(*secondsLeft(d, 0, 3, 20, 90, 0.01), 3 * in + 3 * out, 1e-12);
    EXPECT_NEAR(*secondsLeft(d, 2, 4, 20, 90, 0.01), 1 * in + 2 * out, 1e-12);
    // The operator slows the travel to feed 0 (V = 100).
    EXPECT_NEAR(*secondsLeft(d, 2, 4, 20, 0, 0.01), 1 * in + 2 * (2 * *pauseCount(100, 0.01) * 10e-9), 1e-12);
    EXPECT_EQ(*secondsLeft(d, 3, 6, 20, 90, 0.01), 0);
    EXPECT_FALSE(secondsLeft(d, 0, 0, 20, 90, 0).has_value());
}

TEST(TimeLeft, WithAPacingFileEachRecordAtItsColumnsFeedNowSetAndItsRunsFactor) {
    test::TempDir dir;
    std::string f = file(dir, {kXPlus, kXPlus, kXPlus, kZDown, kXMinus, kXMinus, kZUp, kXMinus, 0});
    DecoderSetup s = wiredSetup();
    auto p = std::make_shared<Pacing>();
    p->runs = {{3, 1.5, PacingFeed::In}, {2, 1, PacingFeed::Out}, {4, 2.25, PacingFeed::In}};
    s.pacing = p;
    Decoded d = decodeCutFile(f, s);
    ASSERT_TRUE(d.ok());
    // One record at `feed` lengthened by `factor`: two pauses of 10 ns iterations.
    auto rec = [](double feed, double factor) {
        return 2.0 * static_cast<double>(lengthened(*pauseCount(100 - feed, 0.01), factor)) * 10e-9;
    };
    const struct {
        uint64_t done;
        double feedIn, feedOut, expected;
    } cases[] = {
        {0, 20, 90, d.seconds},
        {0, 20, 90, 3 * rec(20, 1.5) + 2 * rec(90, 1) + 4 * rec(20, 2.25)},
        {4, 20, 90, rec(90, 1) + 4 * rec(20, 2.25)},
        {4, 50, 0, rec(0, 1) + 4 * rec(50, 2.25)},  // the operator changed both feeds
        {7, 20, 90, 2 * rec(20, 2.25)},
        {9, 20, 90, 0},
        {12, 20, 90, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(*secondsLeft(*p, c.done, c.feedIn, c.feedOut, 0.01), c.expected, 1e-9 * d.seconds)
            << c.done << " " << c.feedIn << " " << c.feedOut;
    EXPECT_FALSE(secondsLeft(*p, 0, 20, 90, 0).has_value());
}

TEST(Figures, FrenchLinesAndTheProblemApart) {
    EXPECT_EQ(durationWords(4992), "1 h 23 min 12 s");
    EXPECT_EQ(durationWords(245), "4 min 05 s");
    EXPECT_EQ(durationWords(12.4), "12 s");
    EXPECT_EQ(durationWords(0.42), "0,4 s");
    EXPECT_EQ(commaFixed(-0.0001, 3), "0,000");
    EXPECT_EQ(commaFixed(-12.3456, 2), "-12,35");
    test::TempDir dir;
    DecoderSetup s = wiredSetup();
    Decoded closed = decodeCutFile(file(dir, {kXPlus, kYPlus, kXMinus, kYMinus}), s);
    auto lines = figureLines(closed, s);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0].text.rfind("Durée prévue : ", 0), 0u) << lines[0].text;
    EXPECT_EQ(lines[1].text, "Fin de la découpe : 0,000 ; 0,000 ; 0,000 mm");
    EXPECT_EQ(lines[2].text, "Étendue : X 0,000 à 0,010 ; Y 0,000 à 0,010 ; Z 0,000 à 0,000 mm");
    for (const auto& l : lines) EXPECT_FALSE(l.problem) << l.text;
    Decoded open = decodeCutFile(file(dir, {kXPlus, kXPlus}), s);
    lines = figureLines(open, s);
    EXPECT_EQ(lines[1].text, "Fin de la découpe : 0,020 ; 0,000 ; 0,000 mm");
    ASSERT_TRUE(lines.back().problem);
    EXPECT_NE(lines.back().text.find("ne finit pas à son point de départ"), std::string::npos);
}
