// The complete DXF import's faults found from outside: a contour back at its start where a
// third end lies, an old-style polyline on a tilted plane, damaged numbers.
#include <gtest/gtest.h>

#include "dxfcompletetest.h"

using namespace vornelle;
using namespace vornelle::dxftest;

TEST(DxfComplete, AChainBackAtItsStartClosesWhateverElseTouchesThatPoint) {
    Rig r;
    auto squareOfLines = [](double x0, double y0, double s, double gap) {
        return line(x0, y0, x0 + s, y0) + line(x0 + s, y0, x0 + s, y0 + s) +
               line(x0 + s, y0 + s, x0, y0 + s) + line(x0, y0 + s, x0 + gap, y0);
    };
    struct Case {
        const char* what;
        P entities;
        long closed, open;
    };
    const Case cases[] = {
        {"two squares of lines touching at a corner",
         squareOfLines(0, 0, 10, 0) + squareOfLines(-10, -10, 10, 0), 2, 0},
        {"a polyline drawn back to its start, a line from that corner",
         lwpolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}}, false) + line(0, 0, -5, -5),
         1, 1},
        {"an outline whose last piece stops 4e-4 short, another line at its start",
         squareOfLines(0, 0, 10, 0.0004) + line(0, 0, 0, -5), 1, 1},
    };
    for (const Case& c : cases) {
        CompleteResult res = r.load(dxf(c.entities));
        ASSERT_TRUE(res.ok) << c.what;
        EXPECT_EQ(res.closed, c.closed) << c.what;
        EXPECT_EQ(res.open, c.open) << c.what;
        long ending = 0;  // cuts that end exactly on their first point
        for (auto& cut : r.cuts()) ending += cut.front() == cut.back();
        EXPECT_EQ(ending, res.closed) << c.what;
    }
}

TEST(DxfComplete, APolylineOnATiltedPlaneStandsAtItsElevation) {
    // The same square on the plane of normal (0,6, 0, 0,8) at elevation 5: as a POLYLINE
    // (elevation in the Z of its header point) and as an LWPOLYLINE (group 38).
    const P plane = {{210, "0.6"}, {220, "0"}, {230, "0.8"}};
    P old = P{{0, "POLYLINE"}, {8, "0"}, {66, "1"}, {10, "0"}, {20, "0"}, {30, "5"}, {70, "1"}} + plane;
    for (auto [x, y] : {std::pair{"0", "0"}, {"4", "0"}, {"4", "4"}, {"0", "4"}})
        old = old + P{{0, "VERTEX"}, {8, "0"}, {10, x}, {20, y}, {30, "0"}};
    old.push_back({0, "SEQEND"});
    P light = lwpolyline({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, true);
    light.insert(light.begin() + 4, {38, "5"});
    light = light + plane;
    Rig r;
    ASSERT_TRUE(r.load(dxf(light)).ok);
    auto expected = r.cuts();
    ASSERT_TRUE(r.load(dxf(old)).ok);
    auto c = r.cuts();
    ASSERT_EQ(c.size(), 1u);
    ASSERT_EQ(c[0].size(), expected[0].size());
    for (size_t i = 0; i < c[0].size(); ++i) {
        EXPECT_NEAR(c[0][i].first, expected[0][i].first, 1e-12);
        EXPECT_NEAR(c[0][i].second, expected[0][i].second, 1e-12);
    }
    // Shifted from elevation 0 by 5 times the normal's X.
    EXPECT_NEAR(c[0][0].first, 5 * 0.6, 1e-12);
}

TEST(DxfComplete, ADamagedNumberIsRefusedBeforeTheDrawingGrows) {
    Rig r;
    ASSERT_TRUE(r.load(dxf(line(0, 0, 1, 0))).ok);
    const V kept = r.d.List1.toVector();
    // 200 half-turn bulges of a radius of 10^9, 65,536 chords each: 13 million points.
    std::vector<std::array<double, 3>> huge;
    for (int i = 0; i < 200; ++i) huge.push_back({i % 2 ? 2e9 : 0.0, 0, 1});
    struct Case {
        P entities;
        std::string fragment;
    };
    const Case cases[] = {
        {line(0, 0, 1, 0) + lwpolyline(huge, false),
         "L'entité LWPOLYLINE de la ligne 27 porterait le dessin"},
        {line(0, 0, 1, 0) + line(0, 0, 3e13, 0), "L'entité LINE de la ligne 27 sort du dessin"},
    };
    for (const Case& c : cases) {
        CompleteResult res = r.load(dxf(c.entities));
        EXPECT_FALSE(res.ok);
        EXPECT_EQ(res.message.text.find(c.fragment), 0u) << res.message.text;
        EXPECT_NE(res.message.text.find("Le dessin n'a pas été modifié."), std::string::npos);
        EXPECT_EQ(r.d.List1.toVector(), kept);
    }
}
