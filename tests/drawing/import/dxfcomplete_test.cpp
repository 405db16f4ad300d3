// The complete DXF import: each entity kind on a small file written here, joining and its
// limits, the refusals, and every sample inside its own extents.
#include "drawing/import/complete/dxfcomplete.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "drawing/import/dxfimport.h"
#include "dxfcompletetest.h"
#include "testsupport.h"

using namespace vornelle;

using namespace vornelle::dxftest;


TEST(DxfComplete, QuarterArcAndBulgeSemicircleWithinTheToleranceWithExactEnds) {
    Rig r;
    CompleteResult res = r.load(dxf(arc(0, 0, 10, 0, 90)));
    ASSERT_TRUE(res.ok) << res.message.text;
    auto c = r.cuts();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(r.d.List1[0], "10");
    EXPECT_EQ(r.d.List2[0], "0");
    EXPECT_EQ(r.d.List1[r.d.size() - 1], "0");  // cos 90° taken as exactly 0
    EXPECT_EQ(r.d.List2[r.d.size() - 1], "10");
    auto onCircle = [](double cx, double cy, double rad) {
        return [=](double x, double y) {
            double d = std::hypot(x - cx, y - cy);
            return std::pair{cx + (x - cx) * rad / d, cy + (y - cy) * rad / d};
        };
    };
    for (auto [x, y] : c[0]) EXPECT_NEAR(std::hypot(x, y), 10, 1e-12);
    double worst = worstChord(c[0], onCircle(0, 0, 10));
    EXPECT_LE(worst, 0.01);
    EXPECT_GT(worst, 0.0025);  // not needlessly fine
    EXPECT_EQ(res.closed, 0);
    EXPECT_EQ(res.open, 1);

    // A finer tolerance gives more points, still on the curve.
    CompleteOptions fine;
    fine.tolerance = 0.0001;
    r.load(dxf(arc(0, 0, 10, 0, 90)), fine);
    EXPECT_GT(r.cuts()[0].size(), 5 * c[0].size());
    EXPECT_LE(worstChord(r.cuts()[0], onCircle(0, 0, 10)), 0.0001);

    // Bulge 1 from (0, 0) to (10, 0): a half circle of centre (5, 0) turning counterclockwise,
    // so through (5, -5); then a straight closing segment.
    res = r.load(dxf(lwpolyline({{0, 0, 1}, {10, 0, 0}}, true)));
    ASSERT_TRUE(res.ok) << res.message.text;
    c = r.cuts();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(res.closed, 1);
    EXPECT_EQ(c[0].front(), (std::pair{0.0, 0.0}));
    EXPECT_EQ(c[0].back(), (std::pair{0.0, 0.0}));  // closed exactly at its first point
    std::vector<std::pair<double, double>> half(c[0].begin(), c[0].end() - 1);
    EXPECT_EQ(half.back(), (std::pair{10.0, 0.0}));
    for (auto [x, y] : half) {
        EXPECT_NEAR(std::hypot(x - 5, y), 5, 1e-12);
        EXPECT_LE(y, 1e-12);
    }
    EXPECT_LE(worstChord(half, onCircle(5, 0, 5)), 0.01);
    EXPECT_NEAR(distanceToPolyline(half, 5, -5), 0, 0.01);

    // Bulges of a damaged file (half a billion units of radius, almost a full turn each) stay
    // a bounded number of points with exact ends.
    res = r.load(dxf(lwpolyline({{0, 0, 50}, {1e9, 0, 50}, {1e9, 1e9, 50}, {0, 1e9, 0}}, false)));
    ASSERT_TRUE(res.ok) << res.message.text;
    EXPECT_LE(r.d.size(), 3u * 65536u + 16u);
    EXPECT_EQ(r.cuts()[0].back(), (std::pair{0.0, 1e9}));

    // A mirrored arc (extrusion -Z): its centre x and the turn are mirrored in world X.
    res = r.load(dxf(arc(5, 0, 2, 0, 90, true)));
    c = r.cuts();
    EXPECT_EQ(c[0].front(), (std::pair{-7.0, 0.0}));
    EXPECT_EQ(c[0].back(), (std::pair{-5.0, 2.0}));
    for (auto [x, y] : c[0]) EXPECT_NEAR(std::hypot(x + 5, y), 2, 1e-12);
}

TEST(DxfComplete, EllipseAndSplines) {
    Rig r;
    // Whole ellipse, half axes 10 and 5, major axis along Y: one closed contour.
    P ellipse = {{0, "ELLIPSE"}, {8, "0"},  {10, "1"},   {20, "2"}, {30, "0"},          {11, "0"},
                 {21, "10"},     {31, "0"}, {40, "0.5"}, {41, "0"}, {42, num(2 * M_PI)}};
    CompleteResult res = r.load(dxf(ellipse));
    ASSERT_TRUE(res.ok) << res.message.text;
    auto c = r.cuts();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(res.closed, 1);
    EXPECT_EQ(c[0].front(), (std::pair{1.0, 12.0}));
    EXPECT_EQ(c[0].front(), c[0].back());
    for (auto [x, y] : c[0]) EXPECT_NEAR(std::pow((x - 1) / 5, 2) + std::pow((y - 2) / 10, 2), 1, 1e-12);
    // Chord midpoints within T: the ellipse point on the ray from the centre is a bound.
    double worst = worstChord(c[0], [](double x, double y) {
        double u = (x - 1) / 5, v = (y - 2) / 10, k = 1 / std::hypot(u, v);
        return std::pair{1 + (x - 1) * k, 2 + (y - 2) * k};
    });
    EXPECT_LE(worst, 0.01);

    // Clamped cubic of control points (0,0) (0,10) (10,10) (10,0): B(1/4) = (1.5625, 5.625),
    // B(1/2) = (5, 7.5); its ends are its end control points.
    P spline = {{0, "SPLINE"}, {8, "0"}, {70, "8"}, {71, "3"}, {72, "8"}, {73, "4"}, {74, "0"}};
    for (const char* k : {"0", "0", "0", "0", "1", "1", "1", "1"}) spline.push_back({40, k});
    for (auto [x, y] : {std::pair{"0", "0"}, {"0", "10"}, {"10", "10"}, {"10", "0"}})
        spline = spline + P{{10, x}, {20, y}, {30, "0"}};
    res = r.load(dxf(spline));
    ASSERT_TRUE(res.ok) << res.message.text;
    c = r.cuts();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].front(), (std::pair{0.0, 0.0}));
    EXPECT_EQ(c[0].back(), (std::pair{10.0, 0.0}));
    EXPECT_LE(distanceToPolyline(c[0], 1.5625, 5.625), 0.01);
    EXPECT_LE(distanceToPolyline(c[0], 5, 7.5), 0.01);
    EXPECT_LE(distanceToPolyline(c[0], 8.4375, 5.625), 0.01);
    // Every point on the curve x(t) = 10(3t² - 2t³), y(t) = 30t(1 - t).
    for (auto [x, y] : c[0]) {
        if (x <= 0 || x >= 10) continue;  // the ends, exact above; x(t) is flat there
        double lo = 0, hi = 1;            // x(t) = 10(3t² - 2t³) grows with t
        for (int k = 0; k < 60; ++k) {
            double t = (lo + hi) / 2;
            (10 * (3 * t * t - 2 * t * t * t) < x ? lo : hi) = t;
        }
        EXPECT_NEAR(y, 30 * lo * (1 - lo), 1e-9) << x;
    }

    // Fit points only: a cubic through each of them.
    P fit = {{0, "SPLINE"}, {8, "0"}, {70, "8"}, {71, "3"}, {74, "3"}};
    for (auto [x, y] : {std::pair{"0", "0"}, {"5", "3"}, {"10", "0"}})
        fit = fit + P{{11, x}, {21, y}, {31, "0"}};
    res = r.load(dxf(fit));
    ASSERT_TRUE(res.ok) << res.message.text;
    c = r.cuts();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].front(), (std::pair{0.0, 0.0}));
    EXPECT_EQ(c[0].back(), (std::pair{10.0, 0.0}));
    EXPECT_NE(std::find(c[0].begin(), c[0].end(), std::pair{5.0, 3.0}), c[0].end());
    EXPECT_GT(c[0].size(), 10u);
}

TEST(DxfComplete, NestedInsertsWithRotationScaleAndArray) {
    Rig r;
    // Block B: a line (0,0)-(1,0) and a text. Block C: B at (10, 0), turned 90°, scale 2,
    // so a line (10,0)-(10,2). The drawing: C at (100, 0) turned 90°, two columns 50 apart
    // along its turned X axis, base point of C at (0, 0).
    P text = {{0, "TEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, "x"}};
    P blocks = block("B", 0, 0, line(0, 0, 1, 0) + text) + block("C", 0, 0, insert("B", 10, 0, 2, 90));
    CompleteResult res = r.load(dxf(insert("C", 100, 0, 1, 90, 2, 50), blocks));
    ASSERT_TRUE(res.ok) << res.message.text;
    auto c = r.cuts();
    ASSERT_EQ(c.size(), 2u);
    auto near = [](std::pair<double, double> a, double x, double y) {
        return std::hypot(a.first - x, a.second - y) < 1e-9;
    };
    EXPECT_TRUE(near(c[0].front(), 100, 10) && near(c[0].back(), 98, 10));
    EXPECT_TRUE(near(c[1].front(), 100, 60) && near(c[1].back(), 98, 60));
    EXPECT_EQ(res.skipped, (std::map<std::string, long>{{"TEXT", 2}}));  // once per placement

    // A base point moves the block; an unknown block and a block inside itself are skipped.
    P self = block("S", 0, 0, line(0, 0, 1, 0) + insert("S", 5, 5, 1, 0));
    res = r.load(
        dxf(insert("S", 0, 0, 1, 0) + insert("NONE", 0, 0, 1, 0), block("B", 5, 5, line(5, 5, 6, 5)) + self));
    ASSERT_TRUE(res.ok);
    EXPECT_EQ(res.skipped.at("INSERT"), 2);
    res = r.load(dxf(insert("B", 0, 0, 3, 0), block("B", 5, 5, line(5, 5, 6, 5))));
    c = r.cuts();
    EXPECT_TRUE(near(c[0].front(), 0, 0) && near(c[0].back(), 3, 0));
}

TEST(DxfComplete, FourLinesJoinIntoTheClosedCutOfAClosedPolyline) {
    Rig r;
    // The square drawn as lines, one of them backwards: one closed cut of seven records.
    CompleteResult res =
        r.load(dxf(line(0, 0, 10, 0) + line(10, 10, 10, 0) + line(10, 10, 0, 10) + line(0, 10, 0, 0)));
    ASSERT_TRUE(res.ok) << res.message.text;
    EXPECT_EQ(res.closed, 1);
    EXPECT_EQ(res.open, 0);
    EXPECT_EQ(r.d.Text3, "1");
    Drawing lines = r.d;
    // The same square as a closed polyline, by the classic import and the complete one.
    std::string poly =
        pairs({{0, "SECTION"}, {2, "ENTITIES"}, {0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "1"}});
    for (auto [x, y] : {std::pair{"0", "0"}, {"10", "0"}, {"10", "10"}, {"0", "10"}})
        poly += pairs({{0, "VERTEX"}, {8, "0"}, {10, x}, {20, y}});
    poly += pairs({{0, "SEQEND"}, {0, "ENDSEC"}, {0, "EOF"}});
    test::spit(r.dir.file("p.dxf"), poly);
    Drawing classic;
    ASSERT_TRUE(importDxf(r.dir.file("p.dxf"), r.dir.path(), classic).ok);
    res = r.load(poly);
    ASSERT_TRUE(res.ok);
    for (const Drawing* d : {&lines, &r.d}) {
        EXPECT_EQ(d->List1.toVector(), classic.List1.toVector());
        EXPECT_EQ(d->List2.toVector(), classic.List2.toVector());
        EXPECT_EQ(d->List3.toVector(), classic.List3.toVector());
        EXPECT_EQ(d->List4.toVector(), (V{"D", "0", "0", "0", "0", "0", "F"}));
        EXPECT_EQ(d->List5.toVector(), classic.List5.toVector());
        EXPECT_EQ(d->List6.toVector(), V(7, "."));
    }
}

TEST(DxfComplete, JoiningOnlyWhereExactlyTwoEndsMeet) {
    Rig r;
    // Three lines from one point: no end there is joined; three open cuts, in file order.
    CompleteResult res = r.load(dxf(line(0, 0, 10, 0) + line(0, 0, 0, 10) + line(-10, 0, 0, 0)));
    ASSERT_TRUE(res.ok);
    EXPECT_EQ(res.open, 3);
    EXPECT_EQ(res.closed, 0);
    auto c = r.cuts();
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0], (std::vector<std::pair<double, double>>{{0, 0}, {10, 0}}));
    EXPECT_EQ(c[2].front(), (std::pair{-10.0, 0.0}));
    ASSERT_TRUE(res.smallestGap);
    EXPECT_NEAR(*res.smallestGap, 10, 1e-12);  // between free ends farther apart than J

    // Two halves 0,5 apart at each end, as the sample's wing ribs: two open contours at the
    // default J, one closed contour at J = 0,51 ending exactly at its first point.
    P halves = arc(0, 0, 10, 0, 180) + lwpolyline({{-10.5, 0, 0}, {-5, -3, 0}, {10.5, 0, 0}}, false);
    res = r.load(dxf(halves));
    EXPECT_EQ(res.open, 2);
    ASSERT_TRUE(res.smallestGap);
    EXPECT_NEAR(*res.smallestGap, 0.5, 1e-12);
    CompleteOptions wide;
    wide.join = 0.51;
    res = r.load(dxf(halves), wide);
    EXPECT_EQ(res.closed, 1);
    EXPECT_EQ(res.open, 0);
    EXPECT_FALSE(res.smallestGap);
    c = r.cuts();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].front(), (std::pair{10.0, 0.0}));  // the arc, first in the file, leads
    EXPECT_EQ(c[0].back(), c[0].front());
    EXPECT_EQ(c[0][c[0].size() - 2], (std::pair{-5.0, -3.0}));  // (10,5, 0) became the first point
    EXPECT_EQ(std::count(c[0].begin(), c[0].end(), std::pair{-10.5, 0.0}), 0);  // joined at (-10, 0)

    // Ends within J of each other, nothing else near: joined, the gap bridged.
    res = r.load(dxf(line(0, 0, 5, 0) + line(5.0004, 0, 5.0004, 5)));
    EXPECT_EQ(res.open, 1);
    EXPECT_EQ(r.cuts()[0], (std::vector<std::pair<double, double>>{{0, 0}, {5, 0}, {5.0004, 5}}));
}

TEST(DxfComplete, PolylineKindsAndWhatIsLeftOut) {
    Rig r;
    // A spline-fit POLYLINE: its frame control points (VERTEX flag 16) are not cut.
    P fitted = {{0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "4"}};
    for (auto [x, y, f] : {std::tuple{"0", "0", "16"},
                           {"50", "50", "16"},
                           {"0", "0", "8"},
                           {"5", "2", "8"},
                           {"10", "0", "8"},
                           {"10", "0", "16"}})
        fitted = fitted + P{{0, "VERTEX"}, {8, "0"}, {10, x}, {20, y}, {70, f}};
    fitted.push_back({0, "SEQEND"});
    // A flat 3D polyline is projected; a 3D polyline that leaves its plane is skipped.
    P flat = {{0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "8"}};
    P steep = flat;
    for (auto [x, z] : {std::pair{"20", "3"}, {"30", "3"}})
        flat = flat + P{{0, "VERTEX"}, {8, "0"}, {10, x}, {20, "0"}, {30, z}, {70, "32"}};
    for (auto [x, z] : {std::pair{"20", "3"}, {"30", "4"}})
        steep = steep + P{{0, "VERTEX"}, {8, "0"}, {10, x}, {20, "9"}, {30, z}, {70, "32"}};
    flat.push_back({0, "SEQEND"});
    steep.push_back({0, "SEQEND"});
    // Pieces no longer than J: a line to itself, a zero-radius arc, a one-vertex polyline.
    P shortOnes = line(1, 1, 1, 1) + arc(3, 3, 0, 0, 90) + lwpolyline({{7, 7, 0}}, false);
    P point = {{0, "POINT"}, {8, "0"}, {10, "1"}, {20, "1"}};
    CompleteResult res = r.load(dxf(fitted + flat + steep + shortOnes + point));
    ASSERT_TRUE(res.ok) << res.message.text;
    auto c = r.cuts();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0], (std::vector<std::pair<double, double>>{{0, 0}, {5, 2}, {10, 0}}));
    EXPECT_EQ(c[1], (std::vector<std::pair<double, double>>{{20, 0}, {30, 0}}));
    EXPECT_EQ(res.skipped, (std::map<std::string, long>{{"POINT", 1}, {"POLYLINE", 1}}));

    // Nothing to cut: refused as the classic import refuses, the drawing kept.
    V before = r.d.List1.toVector();
    res = r.load(dxf(shortOnes + point));
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.message.text.find("Aucune entité à découper : 1 POINT ignorées"), 0u) << res.message.text;
    EXPECT_EQ(r.d.List1.toVector(), before);

    // Paper space is not cut.
    P paper = line(0, 0, 1, 1);
    paper.insert(paper.begin() + 2, {67, "1"});
    res = r.load(dxf(paper + line(5, 5, 6, 6)));
    EXPECT_EQ(r.cuts().size(), 1u);
}

TEST(DxfComplete, UnitsRefusalsAndTheQuestion) {
    Rig r;
    CompleteResult res = r.load(dxf(line(0, 0, 1, 0), {}, {{9, "$INSUNITS"}, {70, "4"}}));
    EXPECT_EQ(res.units, "mm");
    res = r.load(dxf(line(0, 0, 1, 0), {}, {{9, "$INSUNITS"}, {70, "1"}}));
    EXPECT_EQ(res.units, "inch");
    res = r.load(dxf(line(0, 0, 1, 0)));
    EXPECT_EQ(res.units, "unitless");
    EXPECT_EQ(unitsWord(2), "ft");
    EXPECT_EQ(unitsWord(6), "m");
    EXPECT_EQ(unitsWord(99), "unitless");

    V kept = r.d.List1.toVector();
    auto refused = [&](const std::string& text, const std::string& fragment, CompleteOptions o = {}) {
        CompleteResult x = r.load(text, o);
        EXPECT_FALSE(x.ok);
        EXPECT_NE(x.message.text.find(fragment), std::string::npos) << x.message.text;
        EXPECT_EQ(x.message.style, 272);
        EXPECT_EQ(r.d.List1.toVector(), kept);
    };
    refused("garbage\r\n", "illisible");
    refused(pairs({{0, "SECTION"}, {2, "HEADER"}, {0, "ENDSEC"}, {0, "EOF"}}), "ENTITIES");
    std::string cut = dxf(line(0, 0, 1, 0));
    refused(cut.substr(0, cut.find("0\r\nENDSEC\r\n0\r\nEOF")), "ENDSEC");
    refused(pairs({{0, "SECTION"}, {2, "ENTITIES"}, {1, std::string(2000, 'x')}, {0, "ENDSEC"}}),
            "1000 caractères");
    // Unreadable pairs after the entities (as the trash beyond EOF of a sample) are ignored.
    CompleteResult trash = r.load(cut + "junk\r\n");
    EXPECT_TRUE(trash.ok) << trash.message.text;
    kept = r.d.List1.toVector();
    CompleteOptions bad;
    bad.tolerance = 0;
    refused(cut, "tolérance", bad);
    bad = {};
    bad.join = -1;
    refused(cut, "jonction", bad);
    EXPECT_EQ(importDxfComplete("", {}, r.d).message.text, "Nom du fichier ?");
    EXPECT_EQ(importDxfComplete(r.dir.file("none.dxf"), {}, r.d).message.text, "Fichier introuvable !");

    // The page's question names what the classic import skipped and the complete one cuts.
    EXPECT_EQ(completeImportQuestion({{"ARC", 72}, {"LWPOLYLINE", 238}, {"VIEWPORT", 1}}),
              "Ce fichier contient aussi 238 LWPOLYLINE et 72 ARC que l'import standard ignore. Importer le "
              "dessin complet ?");
    EXPECT_EQ(
        completeImportQuestion({{"SPLINE", 1}, {"ARC", 2}, {"INSERT", 1}}),
        "Ce fichier contient aussi 2 ARC, 1 INSERT et 1 SPLINE que l'import standard ignore. Importer le "
        "dessin complet ?");
    EXPECT_EQ(completeImportQuestion({{"TEXT", 3}, {"POINT", 1}}), "");
    EXPECT_EQ(handledByComplete({{"TEXT", 3}, {"ELLIPSE", 2}}),
              (std::map<std::string, long>{{"ELLIPSE", 2}}));
}

TEST(DxfComplete, EverySampleImportsInsideItsOwnExtents) {
    const std::string dir = std::string(SAMPLES_DIR) + "/dxf/";
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        // $EXTMIN and $EXTMAX of the file's header, where the program that wrote it set them.
        std::ifstream in(e.path());
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);) {
            while (!l.empty() && (l.back() == '\r' || l.back() == ' ')) l.pop_back();
            lines.push_back(l.substr(std::min(l.size(), l.find_first_not_of(' '))));
        }
        double ext[2][2] = {{-INFINITY, -INFINITY}, {INFINITY, INFINITY}};
        for (size_t i = 0; i + 5 < lines.size(); ++i)
            for (int k = 0; k < 2; ++k)
                if (lines[i] == (k ? "$EXTMAX" : "$EXTMIN") && lines[i + 1] == "10" && lines[i + 3] == "20")
                    ext[k][0] = std::stod(lines[i + 2]), ext[k][1] = std::stod(lines[i + 4]);
        bool set = ext[0][0] <= ext[1][0] && ext[0][1] <= ext[1][1];

        test::TempDir work;
        Drawing d;
        CompleteResult res = importDxfComplete(e.path().string(), {}, d);
        ASSERT_TRUE(res.ok) << e.path() << ": " << res.message.text;
        EXPECT_EQ(d.Text3, std::to_string(res.closed + res.open)) << e.path();
        EXPECT_EQ(d.List6.size(), d.size());
        for (size_t i = 0; set && i < d.size(); ++i) {
            double x = *coordinateValue(d.List1[i]), y = *coordinateValue(d.List2[i]);
            const double m = 1e-6 * (1 + std::fabs(x) + std::fabs(y));
            ASSERT_TRUE(x >= ext[0][0] - m && x <= ext[1][0] + m && y >= ext[0][1] - m && y <= ext[1][1] + m)
                << e.path() << " record " << i << ": " << x << ", " << y;
        }
        ++files;
    }
    EXPECT_EQ(files, 11);
}

TEST(DxfComplete, TheWingRibsCloseWhenTheirHalvesAreJoined) {
    const std::string rib = std::string(SAMPLES_DIR) + "/dxf/gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf";
    Drawing d;
    CompleteResult res = importDxfComplete(rib, {}, d);
    ASSERT_TRUE(res.ok);
    EXPECT_EQ(res.units, "mm");
    EXPECT_EQ(res.open, 36);
    EXPECT_EQ(res.closed, 27);
    ASSERT_TRUE(res.smallestGap);
    EXPECT_NEAR(*res.smallestGap, 0.5, 1e-6);
    CompleteOptions o;
    o.join = 0.51;
    res = importDxfComplete(rib, o, d);
    EXPECT_EQ(res.open, 0);
    EXPECT_EQ(res.closed, 45);
    EXPECT_TRUE(res.skipped.empty());  // its VIEWPORT lies in paper space
}

