// Entry points and cut order: the checks of a double click and of "Valider", clearing the
// entry points, and the reorganisation on hand-made drawings and on a real DXF sample.
#include "drawing/order/cutorder.h"

#include <gtest/gtest.h>

#include <utility>

#include "drawing/import/dxfimport.h"
#include "testsupport.h"

using namespace vornelle;

namespace {
using V = std::vector<std::string>;
struct Rec {
    const char* x;
    const char* y;
    const char* z;
};

Drawing drawingOf(std::initializer_list<Rec> recs) {
    Drawing d;
    for (const Rec& r : recs) d.appendRecord(r.x, r.y, r.z);
    d.finishLoad();
    return d;
}

// One closed contour: records 1 and 5 are the same point, X tells the records apart.
Drawing contour() {
    return drawingOf({{"0", "0", "0"},
                      {"0", "0", "1"},
                      {"2", "0", "1"},
                      {"3", "1", "1"},
                      {"4", "2", "1"},
                      {"0", "0", "1"},
                      {"0", "0", "0"}});
}

// Two cuts of four records each, the same length: a lost cut cannot hide in the count.
Drawing twoLines() {
    return drawingOf({{"a", "1", "0"},
                      {"a", "1", "1"},
                      {"b", "1", "1"},
                      {"b", "1", "0"},
                      {"c", "2", "0"},
                      {"c", "2", "1"},
                      {"d", "2", "1"},
                      {"d", "2", "0"}});
}

void enter(Drawing& d, size_t index, const char* number) {
    ASSERT_TRUE(canEnter(d, index)) << index;
    Validation v = validate(d, index, number);
    ASSERT_TRUE(v) << index << " " << v.message.text;
}

void expectIncompatible(const CutOrderResult& r) {
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.text, "le nombre de découpes est incompatible avec le fichier d'origine");
    EXPECT_EQ(r.message.title, "Mauvaise saisie !");
    EXPECT_EQ(r.message.style, 272);
}

// The lists a failed reorganisation must leave as they were.
std::array<V, 5> lists(const Drawing& d) {
    return {d.List1.toVector(), d.List2.toVector(), d.List3.toVector(), d.List4.toVector(),
            d.List5.toVector()};
}
}  // namespace

TEST(CutOrder, ClosedContourRunsRoundFromItsEntryPoint) {
    Drawing d = contour();
    enter(d, 3, "1");
    d.Text3 = "1";
    ASSERT_TRUE(reorganise(d));
    // Records 3, 3, 4, 1, 2, 3, 3 of the contour.
    EXPECT_EQ(d.List1.toVector(), (V{"3", "3", "4", "0", "2", "3", "3"}));
    EXPECT_EQ(d.List2.toVector(), (V{"1", "1", "2", "0", "0", "1", "1"}));
    EXPECT_EQ(d.List3.toVector(), (V{"0", "1", "1", "1", "1", "1", "0"}));
    EXPECT_EQ(d.List4.toVector(), (V{"D", "0", "0", "0", "0", "0", "F"}));
    EXPECT_EQ(d.List5.toVector(), (V{".", "1", ".", ".", ".", ".", "."}));
    EXPECT_EQ(d.List6.toVector(), V(7, "."));
    EXPECT_EQ(d.List11.toVector(), V{"3"});
    EXPECT_EQ(d.Text3, "1");

    // At the plunge and at the last in-material record the contour is run as imported.
    for (size_t at : {1u, 5u}) {
        Drawing e = contour();
        auto before = lists(e);
        enter(e, at, "1");
        ASSERT_TRUE(reorganise(e)) << at;
        EXPECT_EQ(lists(e), before) << at;
    }
}

TEST(CutOrder, CutsFollowTheirNumbers) {
    Drawing d = drawingOf({{"1", "0", "0"},
                           {"1", "0", "1"},
                           {"2", "0", "1"},
                           {"2", "0", "0"},
                           {"5", "5", "0"},
                           {"5", "5", "1"},
                           {"6", "5", "1"},
                           {"7", "5", "1"},
                           {"7", "5", "0"}});
    enter(d, 1, "2");
    enter(d, 5, "1");
    ASSERT_TRUE(reorganise(d));
    EXPECT_EQ(d.List1.toVector(), (V{"5", "5", "6", "7", "7", "1", "1", "2", "2"}));
    EXPECT_EQ(d.List3.toVector(), (V{"0", "1", "1", "1", "0", "0", "1", "1", "0"}));
    EXPECT_EQ(d.List4.toVector(), (V{"D", "0", "0", "0", "F", "D", "0", "0", "F"}));
    EXPECT_EQ(d.List5.toVector(), (V{".", "1", ".", ".", ".", ".", "2", ".", "."}));
    EXPECT_EQ(d.List11.toVector(), (V{"5", "1"}));
    EXPECT_EQ(d.Text3, "2");

    // Three cuts numbered against the record order need as many passes as Text3 allows.
    Drawing t = drawingOf({{"a", "0", "0"},
                           {"a", "0", "1"},
                           {"a", "0", "0"},
                           {"b", "0", "0"},
                           {"b", "0", "1"},
                           {"b", "0", "0"},
                           {"c", "0", "0"},
                           {"c", "0", "1"},
                           {"c", "0", "0"}});
    enter(t, 1, "3");
    enter(t, 4, "2");
    enter(t, 7, "1");
    Drawing short2 = t;
    short2.Text3 = "2";  // two passes collect 1 and 2 only
    expectIncompatible(reorganise(short2));
    EXPECT_EQ(short2.List11.toVector(), (V{"7", "4"}));
    ASSERT_TRUE(reorganise(t));
    EXPECT_EQ(t.List1.toVector(), (V{"c", "c", "c", "b", "b", "b", "a", "a", "a"}));
}

TEST(CutOrder, FailuresClearTheEntryPointsAndKeepTheDrawing) {
    auto failsWith = [](Drawing d, std::initializer_list<std::pair<size_t, const char*>> entries,
                        const char* why) {
        for (auto [i, n] : entries) enter(d, i, n);
        auto before = lists(d);
        expectIncompatible(reorganise(d));
        EXPECT_EQ(lists(d), before) << why;
        EXPECT_EQ(d.List6.toVector(), V(d.size(), ".")) << why;
    };
    failsWith(twoLines(), {{1, "1"}}, "second cut without number");
    failsWith(twoLines(), {{1, "1"}, {5, "3"}}, "gap in the numbers");
    failsWith(twoLines(), {{1, "2"}, {5, "3"}}, "no number 1");
    failsWith(twoLines(), {{1, "1"}, {5, "01"}}, "01 is not the text 2 is compared with");
    // Both numbers in the first cut: the count would match (equal cuts) but cut c-d is lost.
    failsWith(twoLines(), {{1, "1"}, {2, "2"}}, "two entry points in one cut");
    failsWith(twoLines(), {}, "no entry point");

    Drawing none;
    none.finishLoad();
    expectIncompatible(reorganise(none));

    // No "F" after the entry point (a profile without title line ends on a "D"): the search
    // stops at the end of the list.
    Drawing noLift = drawingOf({{"0", "0", "1"}, {"1", "0", "1"}, {"1", "0", "0"}});
    failsWith(noLift, {{1, "1"}}, "no F after the entry point");
}

TEST(CutOrder, DrawingReadBackFromFraFails) {
    test::TempDir dir;
    Drawing imported = twoLines();
    ASSERT_TRUE(writeFra(imported, dir.file("p.fra")));
    Drawing d;
    ASSERT_TRUE(readFra(d, dir.file("p.fra")));
    ASSERT_EQ(d.Text3, "3");
    // In-material records of the two cuts (the origin record comes first).
    enter(d, 2, "1");
    enter(d, 6, "2");
    enter(d, 3, "3");
    auto before = lists(d);
    expectIncompatible(reorganise(d));
    EXPECT_EQ(lists(d), before);
    EXPECT_EQ(d.List6.toVector(), V(10, "."));
}

TEST(EntryPoints, RefusedOutOfTheMaterial) {
    Drawing d = twoLines();
    for (size_t i : {0u, 3u, 4u, 7u, 8u, 100u}) {
        CutOrderResult r = canEnter(d, i);
        EXPECT_FALSE(r.ok) << i;
        EXPECT_EQ(r.message.text,
                  "Ne pas mettre de point d'entrée hors de la matière (quand les coordonnées Z sont à 0)");
        EXPECT_EQ(r.message.title, "essaie encore");
        EXPECT_EQ(r.message.style, 272);
        EXPECT_FALSE(validate(d, i, "1").ok) << i;
    }
    EXPECT_EQ(d.List6.toVector(), V(8, "."));
    EXPECT_TRUE(canEnter(d, 1));
    EXPECT_TRUE(canEnter(d, 6));
}

TEST(EntryPoints, ValiderNumbersOnAndRefusesWhatIsNotANumber) {
    Drawing d = twoLines();
    Validation a = validate(d, 1, "1");
    ASSERT_TRUE(a);
    EXPECT_EQ(a.text1, "2");
    Validation b = validate(d, 6, "2,5");
    ASSERT_TRUE(b);
    EXPECT_EQ(b.text1, "3,5");
    EXPECT_EQ(d.List6[6], "2,5");

    for (const char* bad : {"", "x", "2.5", "1 2"}) {
        Validation v = validate(d, 2, bad);
        EXPECT_FALSE(v.ok) << bad;
        EXPECT_EQ(v.message.title, "essaie encore");
        EXPECT_EQ(v.message.style, 272);
        EXPECT_TRUE(v.text1.empty());
    }
    EXPECT_EQ(d.List6.toVector(), (V{".", "1", ".", ".", ".", ".", "2,5", "."}));

    removeEntry(d, 6);
    EXPECT_EQ(d.List6[6], ".");
    // The next number is the page's: clearing every entry point gives none back.
    clearEntries(d);
    EXPECT_EQ(d.List6.toVector(), V(8, "."));
    Validation c = validate(d, 5, b.text1);
    ASSERT_TRUE(c);
    EXPECT_EQ(d.List6[5], "3,5");
}

TEST(EntryPoints, OpenCutOnlyAtItsEnds) {
    // An open path of four in-material points, then a closed triangle.
    Drawing d = drawingOf({{"0", "0", "0"},
                           {"0", "0", "1"},
                           {"1", "0", "1"},
                           {"2", "0", "1"},
                           {"3", "0", "1"},
                           {"3", "0", "0"},
                           {"5", "5", "0"},
                           {"5", "5", "1"},
                           {"6", "5", "1"},
                           {"6", "6", "1"},
                           {"5,0", "5.0", "1"},
                           {"5,0", "5.0", "0"}});
    for (size_t i : {2u, 3u}) {
        Validation v = validate(d, i, "1");
        EXPECT_FALSE(v.ok) << i;
        EXPECT_EQ(v.message.text, "Point d'entrée impossible : cette découpe n'est pas fermée.");
        EXPECT_EQ(v.message.title, "essaie encore");
        EXPECT_EQ(v.message.style, 272);
    }
    EXPECT_EQ(d.List6.toVector(), V(12, "."));
    // 5,0 / 5.0 is the point 5 / 5: the triangle is closed and can be entered anywhere.
    enter(d, 9, "1");
    enter(d, 4, "2");
    ASSERT_TRUE(reorganise(d));
    EXPECT_EQ(d.List1.toVector(), (V{"6", "6", "5", "6", "6", "6", "0", "0", "1", "2", "3", "3"}));
    EXPECT_EQ(d.List2.toVector(), (V{"6", "6", "5", "5", "6", "6", "0", "0", "0", "0", "0", "0"}));
}

TEST(CutOrder, SingleRecordCutKeepsItsThreeRecords) {
    Drawing d = drawingOf({{"1", "1", "0"},
                           {"1", "1", "1"},
                           {"2", "1", "1"},
                           {"2", "1", "0"},
                           {"9", "9", "0"},
                           {"9", "9", "1"},
                           {"9", "9", "0"}});
    enter(d, 5, "1");
    enter(d, 2, "2");  // the last record of an open cut: run from its plunge as imported
    ASSERT_TRUE(reorganise(d));
    EXPECT_EQ(d.List1.toVector(), (V{"9", "9", "9", "1", "1", "2", "2"}));
    EXPECT_EQ(d.List3.toVector(), (V{"0", "1", "0", "0", "1", "1", "0"}));
    EXPECT_EQ(d.List4.toVector(), (V{"D", "0", "F", "D", "0", "0", "F"}));
    EXPECT_EQ(d.List5.toVector(), (V{".", "1", ".", ".", "2", ".", "."}));
}

TEST(CutOrder, RealDxfSquareAndCircleEnteredInsideAndSwapped) {
    test::TempDir dir;
    Drawing d;
    ImportResult imp =
        importDxf(std::string(SAMPLES_DIR) + "/dxf/gh-skymakerolof-dxf__squareandcircle.dxf", dir.path(), d);
    ASSERT_TRUE(imp.ok) << imp.message.text;
    ASSERT_EQ(d.size(), 83u);
    ASSERT_EQ(d.Text3, "2");
    // The circle: records 0 to 75; the square: 76 to 82 (0,0 10,0 10,0 ... back to 0,0).
    ASSERT_EQ(d.List4[75], "F");
    ASSERT_EQ(d.List4[76], "D");
    Drawing original = d;
    enter(d, 79, "1");  // the square's far corner 10,0 10,0
    enter(d, 37, "2");  // the circle's point at 180 degrees
    ASSERT_TRUE(reorganise(d));
    ASSERT_EQ(d.size(), 83u);

    // The square first, from its far corner round to it again.
    std::vector<size_t> from;
    for (size_t j : {79, 79, 80, 77, 78, 79, 79}) from.push_back(j);
    // Then the circle from 180 degrees on, its closing point 74 skipped, round to 180 degrees.
    from.push_back(37);
    for (size_t j = 37; j <= 73; ++j) from.push_back(j);
    for (size_t j = 1; j <= 37; ++j) from.push_back(j);
    from.push_back(37);
    ASSERT_EQ(from.size(), 83u);
    for (size_t i = 0; i < from.size(); ++i) {
        EXPECT_EQ(d.List1[i], original.List1[from[i]]) << i;
        EXPECT_EQ(d.List2[i], original.List2[from[i]]) << i;
    }
    EXPECT_EQ(d.List1[1], "10,0");
    EXPECT_EQ(d.List2[1], "10,0");
    EXPECT_EQ(d.List5[1], "1");
    EXPECT_EQ(d.List5[8], "2");
    EXPECT_EQ(d.List4[0], "D");
    EXPECT_EQ(d.List4[6], "F");
    EXPECT_EQ(d.List4[7], "D");
    EXPECT_EQ(d.List4[82], "F");
    EXPECT_EQ(d.Text3, "2");

    // Saved and read back, the drawing keeps the new order.
    ASSERT_TRUE(writeFra(d, dir.file("p.fra")));
    Drawing back;
    ASSERT_TRUE(readFra(back, dir.file("p.fra")));
    ASSERT_EQ(back.size(), 85u);
    EXPECT_EQ(back.List1[2], "10,0");
    EXPECT_EQ(back.List1[9], original.List1[37]);
}
