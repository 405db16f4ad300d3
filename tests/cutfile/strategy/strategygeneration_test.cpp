// The generation with the cut strategy, judged on the decoded cut file: no setting gives
// today's bytes; a wing rib comes out at its drawn size, at the full depth in its passes, with
// its tabs; the cut direction by the sign of the decoded path's area.
#include "cutfile/strategy/strategygeneration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "base/files.h"
#include "cutfile/details.h"
#include "cutfile/strategy/drawingcuts.h"
#include "cutfile/strategy/pathgeometry.h"
#include "cutfilerig.h"
#include "drawing/drawing.h"
#include "drawing/import/complete/dxfcomplete.h"
#include "run/decode/decoder.h"

namespace vornelle {
namespace {

// Every record's position in steps, Z into the material.
struct Positions : DecodeObserver {
    std::vector<std::array<long, 3>> at;
    void record(uint64_t, const std::array<long, 3>& p, bool) override { at.push_back(p); }
};

// 100 steps per mm on every axis, a depth of 3 mm.
struct StrategyRig : test::GenerationRig {
    StrategyRig() {
        in.Text6 = in.Text3 = in.Text5 = "100";
        in.Text12 = "3";
    }
    StrategyOutcome run(const StrategyTexts& t) {
        StrategyOutcome o = generateWithStrategy(in, t, work, pointer);
        EXPECT_EQ(pointer.depth, 0);
        return o;
    }
    Positions decode() {
        DecoderSetup s;
        s.weights = {1, 2, 4, 8, 16, 32, 64, 128};
        s.stepsPerMm = {100, 100, 100};
        Positions p;
        Decoded d = decodeCutFile(in.Text9 + ".def", s, &p);
        EXPECT_TRUE(d.ok()) << d.error;
        return p;
    }
};

double distanceToCuts(const std::vector<DrawingCut>& cuts, Pt p) {
    double best = std::numeric_limits<double>::infinity(), t = 0;
    for (const DrawingCut& c : cuts)
        for (size_t i = 1; i < c.pts.size(); ++i)
            best = std::min(best, distanceToSegment(p, c.pts[i - 1], c.pts[i], t));
    return best;
}

TEST(StrategyGeneration, WithoutSettingsEveryByteIsTodays) {
    StrategyRig a, b;
    ASSERT_TRUE(test::saveSquareFra(a.work, a.in.text1));
    ASSERT_TRUE(test::saveSquareFra(b.work, b.in.text1));
    b.in.text1 = a.in.text1;
    ASSERT_TRUE(generate(a.in, a.work, a.pointer).ok);
    StrategyOutcome o = b.run({});
    ASSERT_TRUE(o.result.ok);
    EXPECT_FALSE(o.used);
    EXPECT_EQ(o.result.message.text, "Fichier découpe créé avec succés");
    EXPECT_EQ(test::slurp(b.in.Text9 + ".def"), test::slurp(a.in.Text9 + ".def"));
    EXPECT_EQ(test::slurp(b.in.Text9 + ".det"), detailsRecord(detailsOf(b.in)));
}

TEST(StrategyGeneration, AWingRibComesOutAtItsDrawnSizeInItsPassesWithItsTabs) {
    StrategyRig rig;
    Drawing d;
    CompleteOptions joined;
    joined.join = 0.51;
    ASSERT_TRUE(importDxfComplete(std::string(SAMPLES_DIR) + "/dxf/gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf",
                                  joined, d)
                    .ok);
    ASSERT_TRUE(writeFra(d, rig.in.text1));
    // A 2 mm cutter, 1 mm a pass, two tabs of 4 mm standing 1,5 mm: their top is a pass of its own.
    StrategyOutcome o = rig.run({"2", "", "1", "2", "4", "1,5", ""});
    ASSERT_TRUE(o.result.ok) << o.result.message.text;
    EXPECT_EQ(o.summary.passes, 4);
    const CompensationReport& r = o.summary.report;
    EXPECT_EQ(r.outside + r.inside + static_cast<int>(r.notCut().size()), 45) << o.result.message.text;
    EXPECT_GT(r.inside, 0);
    EXPECT_NE(o.result.message.text.find("4 profondeurs de passe"), std::string::npos)
        << o.result.message.text;

    DrawingCuts drawn;
    ASSERT_EQ(readDrawingCuts(rig.in.text1, 1, drawn), "");
    Positions p = rig.decode();
    ASSERT_FALSE(p.at.empty());
    EXPECT_EQ(p.at.back(), (std::array<long, 3>{0, 0, 0}));
    std::set<long> levels;
    int tabs = 0, checked = 0;
    bool rose = false;
    std::array<long, 3> from{};
    int n = 0;
    double along = 0;  // mm over the current tab
    for (size_t i = 1; i < p.at.size(); ++i) {
        const auto &a = p.at[i - 1], &b = p.at[i];
        const bool moves = a[0] != b[0] || a[1] != b[1];
        if (moves && b[2] > 0) levels.insert(b[2]);
        // A tab: risen from the full depth to its top, the tool moves along it, then goes down.
        // Its length over every 16th record, so that the steps' staircase does not add up.
        if (a[2] == 151 && b[2] == 150) rose = true, along = 0, from = b, n = 0;
        if (rose && b[2] == 150 && (++n % 16 == 0 || p.at[i + 1][2] != 150)) {
            along += std::hypot(b[0] - from[0], b[1] - from[1]) / 100;
            from = b;
        }
        if (a[2] == 150 && b[2] == 151 && rose) {
            ++tabs;
            EXPECT_NEAR(along, 4, 0.05) << "tab " << tabs;
        }
        if (b[2] != 150) rose = false;
        // At the full depth the tool's centre runs 1 mm from the drawn line: the part's own size,
        // within 0,01 mm and the rounding of the steps (1,5 steps).
        if (moves && b[2] == 300 && i % 37 == 0) {
            ++checked;
            EXPECT_NEAR(distanceToCuts(drawn.cuts, {b[0] / 100.0, b[1] / 100.0}), 1, 0.01 + 0.015)
                << "record " << i;
        }
    }
    EXPECT_EQ(levels, (std::set<long>{100, 150, 200, 300}));
    // The passes at 2 and 3 mm both lie below the tabs' top and rise over each of them.
    EXPECT_EQ(tabs, 2 * o.summary.tabs);
    EXPECT_EQ(o.summary.tabs, 2 * r.outside + 2 * static_cast<int>(r.merged.size()));
    EXPECT_GT(checked, 100);
}

TEST(StrategyGeneration, TheDirectionGivesTheSignOfTheDecodedArea) {
    struct Row {
        const char* direction;
        bool counterClockwise;
    };
    for (const Row& row : {Row{"conventionnel", true}, Row{"avalant", false}}) {
        StrategyRig rig;
        // A square drawn clockwise, cut on the line at its full depth.
        test::spit(rig.in.text1,
                   "0,0,0\r\n\"10\",\"10\",\"0\"\r\n\"10\",\"10\",\"1\"\r\n\"10\",\"30\",\"1\"\r\n\"30\","
                   "\"30\",\"1\"\r\n"
                   "\"30\",\"10\",\"1\"\r\n\"10\",\"10\",\"1\"\r\n\"10\",\"10\",\"0\"\r\n0,0,0\r\n");
        StrategyOutcome o = rig.run({"", "", "", "", "", "", row.direction});
        ASSERT_TRUE(o.result.ok) << o.result.message.text;
        std::vector<Pt> cut;
        for (const auto& q : rig.decode().at)
            if (q[2] == 300) cut.push_back({static_cast<double>(q[0]), static_cast<double>(q[1])});
        ASSERT_GT(cut.size(), 4u);
        EXPECT_EQ(cut.front().x, 1000);
        EXPECT_EQ(cut.front().y, 1000);
        EXPECT_EQ(signedArea(cut) > 0, row.counterClockwise) << row.direction;
        EXPECT_NEAR(std::fabs(signedArea(cut)), 2000.0 * 2000.0, 1) << row.direction;
    }
}

TEST(StrategyGeneration, RefusalsWriteNothing) {
    StrategyRig rig;
    ASSERT_TRUE(test::saveSquareFra(rig.work, rig.in.text1));
    const StrategyTexts rows[] = {
        {"-1", "", "", "", "", "", ""}, {"", "", "0", "", "", "", ""}, {"", "", "", "1", "10000", "1", ""}};
    auto refused = [&rig](const StrategyTexts& t) {
        StrategyOutcome o = rig.run(t);
        EXPECT_FALSE(o.result.ok);
        EXPECT_FALSE(o.result.message.text.empty());
        EXPECT_FALSE(fileExists(rig.in.Text9 + ".det"));
        EXPECT_FALSE(fileExists(rig.in.Text9 + ".def"));
        return o.result.message.text;
    };
    for (const StrategyTexts& t : rows) refused(t);
    // A Z flag of 1e18 in the drawing: a depth of passes without end, refused at once.
    std::string fra = test::slurp(rig.in.text1);
    for (size_t at; (at = fra.find(",\"1\"\r\n")) != std::string::npos;) fra.replace(at, 6, ",\"1e18\"\r\n");
    test::spit(rig.in.text1, fra);
    EXPECT_NE(refused({"", "", "1", "", "", "", ""}).find("plus de 10000 passes"), std::string::npos);
}

}  // namespace
}  // namespace vornelle
