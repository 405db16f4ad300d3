// The automatic cut order on hand-made drawings (containment, entry points, concentric
// contours, what is left alone) and on real DXF samples (every cut kept, travel never longer).
#include "drawing/order/autoorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "base/numbers.h"
#include "drawing/import/complete/dxfcomplete.h"
#include "drawing/import/dxfimport.h"
#include "drawing/order/containment.h"
#include "drawing/order/orderrestarts.h"
#include "testsupport.h"

using namespace vornelle;

namespace {
using Pts = std::vector<Point2>;

// A cut as an import appends it: approach, plunge, the points, lift.
void addCut(Drawing& d, const Pts& pts) {
    auto text = [](double v) { return numberText(v, ','); };
    d.appendRecord(text(pts.front().x), text(pts.front().y), "0");
    for (Point2 p : pts) d.appendRecord(text(p.x), text(p.y), "1");
    d.appendRecord(text(pts.back().x), text(pts.back().y), "0");
}

Pts square(double x0, double y0, double side) {
    return {{x0, y0}, {x0 + side, y0}, {x0 + side, y0 + side}, {x0, y0 + side}, {x0, y0}};
}

Drawing drawingOf(const std::vector<Pts>& cuts) {
    Drawing d;
    for (const Pts& c : cuts) addCut(d, c);
    d.finishLoad();
    return d;
}

// The cuts of a drawing in order, each as its in-material points.
std::vector<Pts> cutsOf(const Drawing& d) {
    std::vector<Pts> out;
    for (size_t i = 0; i < d.size(); ++i) {
        if (d.List4[i] == "D")
            out.emplace_back();
        else if (d.List4[i] == "0")
            out.back().push_back({*coordinateValue(d.List1[i]), *coordinateValue(d.List2[i])});
    }
    return out;
}

bool samePoints(const Pts& a, const Pts& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](Point2 p, Point2 q) { return p.x == q.x && p.y == q.y; });
}

// A cut's shape whatever its entry point: a closed one as the rotation starting at its least
// point, an open one as it is.
Pts canonical(Pts p) {
    if (p.size() > 1 && samePoints({p.front()}, {p.back()})) {
        p.pop_back();
        auto least = std::min_element(
            p.begin(), p.end(), [](Point2 a, Point2 b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
        std::rotate(p.begin(), least, p.end());
        p.push_back(p.front());
    }
    return p;
}

size_t indexOf(const std::vector<Pts>& cuts, const Pts& shape) {
    for (size_t k = 0; k < cuts.size(); ++k)
        if (samePoints(canonical(cuts[k]), canonical(shape))) return k;
    return cuts.size();
}

// The rebuilt drawing holds the same cuts, records and cut count; travel figures agree.
void expectSameCuts(const Drawing& before, const Drawing& after, const AutoOrderResult& r) {
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.Text3, before.Text3);
    std::vector<Pts> a = cutsOf(before), b = cutsOf(after);
    ASSERT_EQ(a.size(), b.size());
    std::multimap<size_t, Pts> left;
    for (Pts& p : a) left.emplace(p.size(), canonical(p));
    for (Pts& p : b) {
        Pts c = canonical(p);
        auto [lo, hi] = left.equal_range(c.size());
        auto it = std::find_if(lo, hi, [&](const auto& e) { return samePoints(e.second, c); });
        ASSERT_NE(it, hi) << "a cut of the new order is not one of the drawing's";
        left.erase(it);
    }
    EXPECT_DOUBLE_EQ(drawingTravel(before), r.travelBefore);
    EXPECT_DOUBLE_EQ(drawingTravel(after), r.travelAfter);
    // Never longer than the file order when that order already had every cut before the
    // closed cuts around it.
    std::vector<Shape> shapes;
    for (const Pts& c : a) shapes.push_back({c, samePoints({c.front()}, {c.back()})});
    auto inside = containingShapes(shapes);
    bool fileKeeps = true;
    for (size_t k = 0; k < inside.size(); ++k)
        for (uint32_t y : inside[k]) fileKeeps = fileKeeps && k < y;
    if (fileKeeps) {
        EXPECT_LE(r.travelAfter, r.travelBefore);
    }
}
}  // namespace

TEST(Containment, PointsOnEdgesAndTheCasesThatAreNotInside) {
    const Pts outline = square(0, 0, 100);
    const double eps = 1e-9 * 100;
    EXPECT_EQ(locate(outline, {50, 50}, eps), Where::Inside);
    EXPECT_EQ(locate(outline, {100, 50}, eps), Where::On);
    EXPECT_EQ(locate(outline, {100 + 1e-8, 50}, eps), Where::On);
    EXPECT_EQ(locate(outline, {100.001, 50}, eps), Where::Outside);
    // A concave outline: the notch is outside although its box is inside.
    const Pts u = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}, {0, 0}};
    EXPECT_EQ(locate(u, {15, 20}, eps), Where::Outside);
    EXPECT_EQ(locate(u, {5, 20}, eps), Where::Inside);

    Shape box{outline, true};
    EXPECT_TRUE(liesInside({square(10, 10, 20), true}, box, eps));
    EXPECT_TRUE(liesInside({square(0, 10, 20), true}, box, eps)) << "a hole touching its outline";
    EXPECT_FALSE(liesInside({outline, true}, box, eps)) << "a duplicate contour";
    EXPECT_FALSE(liesInside({{{0, 0}, {100, 0}}, false}, box, eps)) << "a line along an edge";
    EXPECT_FALSE(liesInside({{{50, 50}, {150, 50}}, false}, box, eps)) << "an open cut crossing";
    EXPECT_TRUE(liesInside({{{50, 50}, {60, 50}}, false}, box, eps)) << "an open cut inside";
    EXPECT_FALSE(liesInside({square(12, 12, 5), true}, {u, true}, eps)) << "in the notch of the U";
    EXPECT_FALSE(liesInside({{{10, 10}, {20, 20}}, false}, {{{0, 0}, {100, 0}}, false}, eps))
        << "open container";

    // Many-edged outlines go through the band index: the same answers as the plain test.
    Pts circle;
    for (int k = 0; k <= 400; ++k)
        circle.push_back({50 + 40 * std::cos(k * 2 * M_PI / 400), 50 + 40 * std::sin(k * 2 * M_PI / 400)});
    circle.back() = circle.front();
    std::vector<Shape> shapes = {{circle, true},
                                 {square(45, 45, 10), true},
                                 {square(85, 45, 10), true},
                                 {{{50, 50}, {50, 95}}, false},
                                 {square(0, 0, 100), true}};
    auto inside = containingShapes(shapes);
    using L = std::vector<uint32_t>;
    EXPECT_EQ(inside[0], (L{4}));
    EXPECT_EQ(inside[1], (L{0, 4}));
    EXPECT_EQ(inside[2], (L{4})) << "crosses the circle";
    EXPECT_EQ(inside[3], (L{4})) << "an open cut leaving the circle";
    EXPECT_EQ(inside[4], L{});
}

TEST(AutoOrder, HolesComeBeforeTheirPartWhateverTheFileOrder) {
    const Pts outline = square(0, 0, 100), hole1 = square(10, 10, 20), hole2 = square(60, 60, 20);
    for (const auto& file : {std::vector<Pts>{outline, hole1, hole2}, std::vector<Pts>{hole1, outline, hole2},
                             std::vector<Pts>{hole2, hole1, outline}}) {
        Drawing d = drawingOf(file), before = d;
        AutoOrderResult r = autoOrder(d);
        ASSERT_TRUE(r.reordered);
        auto cuts = cutsOf(d);
        EXPECT_EQ(indexOf(cuts, outline), 2u);
        EXPECT_LT(indexOf(cuts, hole1), 2u);
        EXPECT_LT(indexOf(cuts, hole2), 2u);
        expectSameCuts(before, d, r);
    }
}

TEST(AutoOrder, APartInTheHoleOfAnotherComesBeforeThatHole) {
    // Outline, its hole, a part inside the hole and the part's own hole; a second sheet part
    // beside it. The file order puts every container first.
    const Pts outline = square(0, 0, 100), hole = square(20, 20, 60), part = square(30, 30, 40),
              partHole = square(45, 45, 10), beside = square(120, 0, 30);
    Drawing d = drawingOf({outline, hole, part, partHole, beside}), before = d;
    AutoOrderResult r = autoOrder(d);
    ASSERT_TRUE(r.reordered);
    auto cuts = cutsOf(d);
    EXPECT_LT(indexOf(cuts, partHole), indexOf(cuts, part));
    EXPECT_LT(indexOf(cuts, part), indexOf(cuts, hole));
    EXPECT_LT(indexOf(cuts, hole), indexOf(cuts, outline));
    EXPECT_LT(indexOf(cuts, beside), cuts.size());
    // The file order broke the containment: its travel is no bound here.
    EXPECT_EQ(d.size(), before.size());
}

TEST(AutoOrder, AnOpenCutCrossingAnOutlineIsFreeToComeAfterIt) {
    // The line from inside the square up to 105,300 crosses it: the best order makes the
    // square first and the line last, whose end is nearest home.
    const Pts outline = square(100, 0, 10), line = {{105, 5}, {105, 300}};
    Drawing d = drawingOf({line, outline}), before = d;
    AutoOrderResult r = autoOrder(d);
    auto cuts = cutsOf(d);
    EXPECT_EQ(indexOf(cuts, outline), 0u);
    EXPECT_EQ(indexOf(cuts, line), 1u);
    // 100 to the square, 5 to the line, 300 home; the file order went 105, 300, 100.
    EXPECT_DOUBLE_EQ(r.travelAfter, 405);
    EXPECT_DOUBLE_EQ(r.travelBefore, 505);
    expectSameCuts(before, d, r);
}

TEST(AutoOrder, ASquareIsEnteredAtTheCornerNearestTheCutBefore) {
    // The line runs from the origin to 21,21, next to the square's third corner 20,20.
    const Pts line = {{0, 0}, {21, 21}}, sq = square(10, 10, 10);
    Drawing d = drawingOf({sq, line}), before = d;
    AutoOrderResult r = autoOrder(d);
    ASSERT_TRUE(r.reordered);
    auto cuts = cutsOf(d);
    ASSERT_EQ(cuts.size(), 2u);
    EXPECT_TRUE(samePoints(cuts[0], line));
    EXPECT_TRUE(samePoints(cuts[1], (Pts{{20, 20}, {10, 20}, {10, 10}, {20, 10}, {20, 20}})));
    // The approach record of the square is at the corner too.
    EXPECT_EQ(d.List1[4], "20");
    EXPECT_EQ(d.List2[4], "20");
    EXPECT_DOUBLE_EQ(r.travelBefore, 10 + 10 + 21);
    EXPECT_DOUBLE_EQ(r.travelAfter, 1 + 20);
    expectSameCuts(before, d, r);
}

TEST(AutoOrder, TheOnlyCutIsEnteredAtTheVertexNearestTheStart) {
    // A square drawn from its far corner: entered at 10,10, the travel out and back halved.
    const Pts sq = {{20, 20}, {10, 20}, {10, 10}, {20, 10}, {20, 20}};
    Drawing d = drawingOf({sq}), before = d;
    AutoOrderResult r = autoOrder(d);
    ASSERT_TRUE(r.reordered);
    EXPECT_TRUE(samePoints(cutsOf(d)[0], (Pts{{10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}})));
    EXPECT_DOUBLE_EQ(r.travelBefore, 40);
    EXPECT_DOUBLE_EQ(r.travelAfter, 20);
    expectSameCuts(before, d, r);
}

TEST(AutoOrder, KicksLeaveTheFirstLocalOptimumAndNeverLengthenTheTravel) {
    // 60 short lines of random place and direction, as the wing-rib sample's spars: the
    // kicked search finds a shorter order than the local search alone, and keeps the holes
    // of three squares before them.
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> at(0, 100), step(-4, 4);
    std::vector<Shape> shapes;
    for (int i = 0; i < 60; ++i) {
        Point2 a{at(rng), at(rng)};
        shapes.push_back({{a, {a.x + step(rng), a.y + step(rng)}}, false});
    }
    for (double x : {10.0, 45.0, 80.0}) {
        Pts sq = square(x, 40, 12);
        shapes.push_back({sq, true});
    }
    const auto containers = containingShapes(shapes);
    OrderPlan start = nearestNeighbour(shapes, containers);
    const Deadline far = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    OrderPlan local = improve(shapes, containers, start, far);
    OrderPlan kicked = restartSearch(shapes, containers, local, far);
    EXPECT_LT(planTravel(shapes, kicked), planTravel(shapes, local) * 0.99);
    EXPECT_TRUE(keepsContainment(kicked.order, containers));
    std::vector<uint32_t> sorted = kicked.order;
    std::sort(sorted.begin(), sorted.end());
    for (uint32_t c = 0; c < shapes.size(); ++c) EXPECT_EQ(sorted[c], c);
}

TEST(AutoOrder, ConcentricContoursAreEnteredAlongOneLine) {
    // Squares round 50,50, the smallest first by containment; entered at their corners on the
    // diagonal: 40 to the first, 10 and 10 outwards, 20 home. Each square drawn from its
    // opposite corner so that the file entries are the worst.
    std::vector<Pts> cuts;
    for (double h : {10.0, 20.0, 30.0}) {
        Pts s = square(50 - h, 50 - h, 2 * h);
        std::rotate(s.begin(), s.begin() + 2, s.end() - 1);
        s.back() = s.front();
        cuts.push_back(s);
    }
    Drawing d = drawingOf(cuts), before = d;
    AutoOrderResult r = autoOrder(d);
    ASSERT_TRUE(r.reordered);
    EXPECT_DOUBLE_EQ(r.travelAfter, 80);
    EXPECT_DOUBLE_EQ(r.travelBefore, 60 + 10 + 10 + 80);
    expectSameCuts(before, d, r);
}

TEST(AutoOrder, DrawingsWithoutCutsToOrderAreLeftAsTheyWere) {
    Drawing one = drawingOf({square(5, 5, 10)}), copy = one;
    AutoOrderResult r = autoOrder(one);
    EXPECT_FALSE(r.reordered);
    EXPECT_EQ(r.travelAfter, r.travelBefore);
    EXPECT_DOUBLE_EQ(r.travelBefore, 10);
    EXPECT_EQ(one.List1.toVector(), copy.List1.toVector());

    // As read from an FRA file: the marker pairs frame the travels, no cut is framed.
    Drawing fra;
    for (auto [x, z] : {std::pair{"0", "0"},
                        {"5", "0"},
                        {"5", "1"},
                        {"9", "1"},
                        {"9", "0"},
                        {"1", "0"},
                        {"1", "1"},
                        {"2", "1"},
                        {"2", "0"},
                        {"0", "0"}})
        fra.appendRecord(x, "0", z);
    fra.finishLoad();
    Drawing fraCopy = fra;
    r = autoOrder(fra);
    EXPECT_FALSE(r.reordered);
    EXPECT_DOUBLE_EQ(r.travelBefore, 5 + 8 + 2);
    EXPECT_EQ(r.travelAfter, r.travelBefore);
    EXPECT_EQ(fra.List1.toVector(), fraCopy.List1.toVector());
    EXPECT_EQ(fra.List4.toVector(), fraCopy.List4.toVector());

    // A coordinate that is not a number.
    Drawing bad = drawingOf({square(0, 0, 1), square(5, 5, 1)});
    bad.List1.set(3, "x");
    Drawing badCopy = bad;
    EXPECT_FALSE(autoOrder(bad).reordered);
    EXPECT_EQ(bad.List1.toVector(), badCopy.List1.toVector());
}

TEST(AutoOrder, RealSamplesKeepEveryCutAndNeverTravelMore) {
    test::TempDir dir;
    for (const char* name :
         {"gh-skymakerolof-dxf__squareandcircle.dxf", "gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf",
          "gen-ezdxf__r12_rib_sheet.dxf", "gh-skymakerolof-dxf__issue29.dxf"}) {
        const std::string path = std::string(SAMPLES_DIR) + "/dxf/" + name;
        Drawing classic;
        ASSERT_TRUE(importDxf(path, dir.path(), classic).ok) << name;
        Drawing complete;
        ASSERT_TRUE(importDxfComplete(path, {}, complete).ok) << name;
        for (Drawing* d : {&classic, &complete}) {
            Drawing before = *d;
            AutoOrderResult r = autoOrder(*d);
            EXPECT_EQ(r.reordered, r.cuts >= 2) << name;
            expectSameCuts(before, *d, r);
            // Every contained cut before its container.
            auto cuts = cutsOf(*d);
            std::vector<Shape> shapes;
            for (const Pts& c : cuts) shapes.push_back({c, samePoints({c.front()}, {c.back()})});
            auto inside = containingShapes(shapes);
            for (size_t a = 0; a < inside.size(); ++a)
                for (uint32_t b : inside[a]) EXPECT_LT(a, b) << name << " cut " << a << " inside " << b;
        }
    }
}

TEST(AutoOrder, ManyPartsShuffledKeepEveryHoleBeforeItsOutline) {
    // 400 parts of one outline and two holes, some parts in the hole of a larger one, in a
    // shuffled file order.
    std::vector<Pts> cuts;
    for (int p = 0; p < 400; ++p) {
        double x = 40.0 * (p % 20), y = 40.0 * (p / 20);
        cuts.push_back(square(x, y, 30));
        cuts.push_back(square(x + 2, y + 2, 12));
        if (p % 3 == 0) {
            cuts.push_back(square(x + 4, y + 4, 8));  // a part in the first hole
            cuts.push_back(square(x + 6, y + 6, 2));  // and its hole
        }
        cuts.push_back(square(x + 20, y + 20, 5));
    }
    std::mt19937 random(7);
    std::shuffle(cuts.begin(), cuts.end(), random);
    Drawing d = drawingOf(cuts), before = d;
    AutoOrderResult r = autoOrder(d);
    ASSERT_TRUE(r.reordered);
    expectSameCuts(before, d, r);
    EXPECT_LE(r.travelAfter, r.travelNearest);
    std::vector<Shape> shapes;
    for (const Pts& c : cutsOf(d)) shapes.push_back({c, true});
    auto inside = containingShapes(shapes);
    size_t pairs = 0;
    for (size_t a = 0; a < inside.size(); ++a) {
        for (uint32_t b : inside[a]) {
            EXPECT_LT(a, b);
            ++pairs;
        }
    }
    // Each part's two holes in it; a part in a hole is inside both the hole and the outline.
    EXPECT_EQ(pairs, 400u * 2 + 134u * (2 + 3));
}

TEST(AutoOrder, TheTravelLineGivesOneDecimalAndTheChangeInPercent) {
    EXPECT_EQ(travelLine(1234.5, 456.7), "Déplacements hors matière : 1234,5 → 456,7 (−63 %)");
    EXPECT_EQ(travelLine(10, 10), "Déplacements hors matière : 10,0 → 10,0 (0 %)");
    EXPECT_EQ(travelLine(0, 0), "Déplacements hors matière : 0,0 → 0,0 (0 %)");
    EXPECT_EQ(travelLine(100, 125), "Déplacements hors matière : 100,0 → 125,0 (+25 %)");
}
