// The cut strategy's engine without the generation: offsets at their exact distance, holes
// told by parity, what the tool cannot cut reported, pass depths, tabs, settings and their
// place in the details file.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "cutfile/strategy/compensation.h"
#include "cutfile/strategy/pathgeometry.h"
#include "cutfile/strategy/plan.h"
#include "cutfile/strategy/strategydetails.h"
#include "cutfile/strategy/toolmoves.h"
#include "testsupport.h"

namespace vornelle {
namespace {

DrawingCut closedCut(std::vector<Pt> pts, int number) {
    pts.push_back(pts.front());
    return DrawingCut{pts, 1, number, true};
}
DrawingCut square(double x, double y, double side, int number) {
    return closedCut({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}}, number);
}
DrawingCut circle(double r, int n, int number) {
    std::vector<Pt> pts;
    for (int k = 0; k < n; ++k)
        pts.push_back({r * std::cos(2 * M_PI * k / n), r * std::sin(2 * M_PI * k / n)});
    return closedCut(pts, number);
}

double distanceTo(const std::vector<Pt>& contour, Pt p) {
    double best = std::numeric_limits<double>::infinity(), t = 0;
    for (size_t i = 1; i < contour.size(); ++i)
        best = std::min(best, distanceToSegment(p, contour[i - 1], contour[i], t));
    return best;
}

StrategySettings tool(double diameter, Compensation c = Compensation::Automatic) {
    StrategySettings s;
    s.diameter = diameter;
    s.compensation = c;
    s.depth = 3;
    return s;
}

TEST(Compensation, PathsLieHalfTheDiameterFromTheDrawnLine) {
    struct Row {
        const char* name;
        DrawingCut cut;
        Compensation side;
    };
    const Row rows[] = {
        {"square outside", square(0, 0, 20, 1), Compensation::Outside},
        {"square inside", square(0, 0, 20, 1), Compensation::Inside},
        {"circle outside", circle(10, 360, 1), Compensation::Outside},
        {"circle inside", circle(10, 360, 1), Compensation::Inside},
        {"concave outside", closedCut({{0, 0}, {30, 0}, {30, 10}, {10, 10}, {10, 30}, {0, 30}}, 1),
         Compensation::Outside},
        {"concave inside", closedCut({{0, 0}, {30, 0}, {30, 10}, {10, 10}, {10, 30}, {0, 30}}, 1),
         Compensation::Inside},
    };
    for (const Row& row : rows) {
        Compensated c;
        ASSERT_EQ(compensate({row.cut}, tool(3, row.side), c), "") << row.name;
        ASSERT_EQ(c.pathsOf[0].size(), 1u) << row.name;
        const std::vector<Pt>& path = c.pathsOf[0][0].pts;
        ASSERT_GT(path.size(), 4u) << row.name;
        for (size_t i = 1; i < path.size(); ++i) {
            const Pt mid{(path[i - 1].x + path[i].x) / 2, (path[i - 1].y + path[i].y) / 2};
            EXPECT_NEAR(distanceTo(row.cut.pts, path[i]), 1.5, 0.01) << row.name << " point " << i;
            EXPECT_NEAR(distanceTo(row.cut.pts, mid), 1.5, 0.01) << row.name << " edge " << i;
        }
        // Outside, the path encloses the contour; inside, the contour encloses it.
        const double grown = std::fabs(signedArea(path)) - std::fabs(signedArea(row.cut.pts));
        EXPECT_EQ(grown > 0, row.side == Compensation::Outside) << row.name;
    }
}

TEST(Compensation, NestedContoursAlternateOutlineAndHole) {
    // A part with a hole, a part inside that hole, and a hole in that part.
    const std::vector<DrawingCut> cuts = {square(0, 0, 100, 1), square(10, 10, 80, 2), square(20, 20, 60, 3),
                                          square(40, 40, 20, 4)};
    Compensated c;
    ASSERT_EQ(compensate(cuts, tool(2), c), "");
    const CutSide expected[] = {CutSide::Outside, CutSide::Inside, CutSide::Outside, CutSide::Inside};
    for (size_t i = 0; i < cuts.size(); ++i) {
        ASSERT_EQ(c.pathsOf[i].size(), 1u) << i;
        EXPECT_EQ(c.pathsOf[i][0].side, expected[i]) << i;
        EXPECT_EQ(c.pathsOf[i][0].hole, i % 2 == 1) << i;
    }
    EXPECT_EQ(c.report.outside, 2);
    EXPECT_EQ(c.report.inside, 2);
}

TEST(Compensation, WhatTheToolCannotCutIsReportedByCutNumber) {
    // Cut 2: a hole of 2 mm for a 3 mm tool; cuts 3 and 4: parts 1 mm apart; cut 5: an open line.
    std::vector<DrawingCut> cuts = {square(0, 0, 40, 1), square(10, 10, 2, 2), square(100, 0, 10, 3),
                                    square(111, 0, 10, 4), DrawingCut{{{0, 60}, {50, 60}}, 1, 5, false}};
    Compensated c;
    ASSERT_EQ(compensate(cuts, tool(3), c), "");
    EXPECT_TRUE(c.pathsOf[1].empty());
    EXPECT_EQ(c.report.tooSmallHoles, std::vector<int>{2});
    ASSERT_EQ(c.report.merged.size(), 1u);
    EXPECT_EQ(c.report.merged[0], (std::vector<int>{3, 4}));
    ASSERT_EQ(c.pathsOf[2].size(), 1u);  // one path around both
    EXPECT_TRUE(c.pathsOf[3].empty());
    for (const Pt& p : c.pathsOf[2][0].pts)
        EXPECT_NEAR(std::min(distanceTo(cuts[2].pts, p), distanceTo(cuts[3].pts, p)), 1.5, 0.01);
    EXPECT_EQ(c.report.notCut(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(c.report.onLine, 1);
    EXPECT_EQ(c.report.open, 1);
    StrategySummary sum{c.report, 1, 0};
    const std::string text = summaryText(sum, tool(3));
    EXPECT_NE(text.find("1 trou trop petit pour l'outil de 3 mm : coupe 2, non découpé"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Coupes 3 et 4 trop proches pour l'outil de 3 mm : découpées ensemble"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("1 sur le trait (dont 1 ouvert)"), std::string::npos) << text;
}

TEST(Compensation, AChamberTheToolCannotReachThroughItsNeckIsCutAsAPocket) {
    // A part with an inner chamber of 10 mm opening through a neck of 2 mm: a 3 mm tool cuts
    // round the part and, apart, round the chamber, where the part lies outside its path.
    const DrawingCut bottle = closedCut({{0, 0},
                                         {20, 0},
                                         {20, 20},
                                         {11, 20},
                                         {11, 15},
                                         {15, 15},
                                         {15, 5},
                                         {5, 5},
                                         {5, 15},
                                         {9, 15},
                                         {9, 20},
                                         {0, 20}},
                                        1);
    Compensated c;
    ASSERT_EQ(compensate({bottle}, tool(3), c), "");
    ASSERT_EQ(c.pathsOf[0].size(), 2u);
    EXPECT_NE(c.pathsOf[0][0].pocket, c.pathsOf[0][1].pocket);
    // The chamber less 1,5 mm all round, with a small bump under the neck.
    const ToolPath& pocket = c.pathsOf[0][0].pocket ? c.pathsOf[0][0] : c.pathsOf[0][1];
    EXPECT_NEAR(std::fabs(signedArea(pocket.pts)), 7 * 7, 0.5);
}

TEST(Passes, EndExactlyAtTheDepthWithTheTabTopAmongThemAndOpenCutsGoBackAndForth) {
    struct Row {
        double depth, step, tabTop;
        std::vector<double> depths;
    };
    const Row rows[] = {
        {3, 1, -1, {1, 2, 3}}, {3, 0.8, -1, {0.8, 1.6, 2.4, 3}},
        {3, 0, -1, {3}},       {3, 1, 1.5, {1, 1.5, 2, 3}},
        {3, 1, 2, {1, 2, 3}},  {3, 0, 0, {3}},
        {3, 3, 1, {1, 3}},
    };
    for (const Row& r : rows) {
        const std::vector<double> got = passDepths(r.depth, r.step, r.tabTop);
        ASSERT_EQ(got.size(), r.depths.size()) << r.step << " " << r.tabTop;
        for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], r.depths[i], 1e-12);
        EXPECT_EQ(got.back(), r.depth);
    }
    // An open cut goes back and forth, going down at each end.
    ToolPath line;
    line.pts = {{0, 0}, {10, 0}};
    std::vector<Pt3> out;
    appendPasses(line, {1, 2, 3}, {}, -1, out);
    const std::vector<std::array<double, 3>> expected = {{0, 0, 1}, {10, 0, 1}, {10, 0, 2},
                                                         {0, 0, 2}, {0, 0, 3},  {10, 0, 3}};
    ASSERT_EQ(out.size(), expected.size());
    for (size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i].x, expected[i][0]) << i;
        EXPECT_EQ(out[i].z, expected[i][2]) << i;
    }
}

TEST(Tabs, SpreadAlongTheOutlineAwayFromItsStartAndSharpCorners) {
    // A 40 mm square path: 160 mm; 4 tabs of 4 mm fall mid-side, clear of the corners' 90°.
    const DrawingCut sq = square(0, 0, 40, 1);
    std::vector<Tab> tabs = placeTabs(sq.pts, 4, 4, {});
    ASSERT_EQ(tabs.size(), 4u);
    for (size_t k = 0; k < 4; ++k) EXPECT_NEAR(tabs[k].from, 20 + 40.0 * k - 2, 1e-9);
    // A corner 1 mm from where the first tab would go pushes it to a width away.
    tabs = placeTabs(sq.pts, 4, 4, {21});
    EXPECT_NEAR(tabs[0].from + 2, 17, 1e-9);
    // The passes below the tab's top rise over it: up, along, down, all vertical moves.
    ToolPath path;
    path.pts = sq.pts;
    path.closed = true;
    std::vector<Pt3> out;
    appendPasses(path, {1, 2, 3}, placeTabs(sq.pts, 1, 4, {}), 2, out);
    int rises = 0;
    for (size_t i = 1; i < out.size(); ++i)
        if (out[i].z < out[i - 1].z) {
            ++rises;
            EXPECT_EQ(out[i].z, 2);
            EXPECT_EQ(out[i].x, out[i - 1].x);
            EXPECT_EQ(out[i].y, out[i - 1].y);
        }
    EXPECT_EQ(rises, 1);
    EXPECT_EQ(sharpCorners(circle(10, 36, 1).pts, true).size(), 0u);
    EXPECT_EQ(sharpCorners(closedCut({{0, 0}, {10, 0}, {0, 1}}, 1).pts, true).size(), 2u);
}

TEST(StrategySettings, RefusesWhatCannotBeCut) {
    struct Row {
        StrategyTexts t;
        const char* says;
    };
    const Row rows[] = {
        {{"-2", "", "", "", "", "", ""}, "Diamètre de l'outil négatif"},
        {{"2", "", "0", "", "", "", ""}, "Profondeur par passe nulle"},
        {{"2", "", "4", "", "", "", ""}, "plus grande que la profondeur de 3 mm"},
        {{"", "", "", "2", "5", "3,5", ""}, "plus hautes que la profondeur de 3 mm"},
        {{"", "", "", "2", "", "1", ""}, "Largeur des attaches"},
        {{"", "dehors", "", "", "", "", ""}, "Compensation inconnue"},
        {{"x", "", "", "", "", "", ""}, "Diamètre de l'outil illisible"},
    };
    for (const Row& r : rows) {
        StrategySettings s;
        auto refused = parseStrategy(r.t, 3, s);
        ASSERT_TRUE(refused) << r.says;
        EXPECT_NE(refused->text.find(r.says), std::string::npos) << refused->text;
    }
    StrategySettings s;
    EXPECT_FALSE(parseStrategy({"2.5", "interieur", "1,5", "3", "4", "1", "avalant"}, 3, s));
    EXPECT_EQ(s.diameter, 2.5);
    EXPECT_EQ(s.stepDown, 1.5);
    EXPECT_EQ(s.compensation, Compensation::Inside);
    EXPECT_EQ(s.direction, CutDirection::Climb);
}

TEST(StrategyDetails, TenFieldReadersStillReadTheRecordAndTheSettingsComeBack) {
    test::TempDir dir;
    Details d;
    for (size_t i = 0; i < d.fields.size(); ++i) d.fields[i] = "champ " + std::to_string(i) + ",5";
    const StrategyTexts t{"2,5", "exterieur", "1", "3", "4", "1", "avalant"};
    EXPECT_EQ(strategyDetailsRecord(d, {}), detailsRecord(d));
    test::spit(dir.file("a.det"), strategyDetailsRecord(d, t));
    auto classic = readDetails(dir.file("a.det"));
    ASSERT_TRUE(classic);
    EXPECT_EQ(*classic, d);
    EXPECT_EQ(readStrategyDetails(dir.file("a.det")), t);
    test::spit(dir.file("b.det"), detailsRecord(d));
    EXPECT_FALSE(readStrategyDetails(dir.file("b.det")));
}

}  // namespace
}  // namespace vornelle
