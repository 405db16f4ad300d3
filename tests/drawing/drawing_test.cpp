// Drawing lists, the marker rule and the FRA file.
#include "drawing/drawing.h"

#include <gtest/gtest.h>

#include "testsupport.h"

using namespace vornelle;

namespace {
using V = std::vector<std::string>;
Drawing twoCuts() {
    Drawing d;
    const char* z[] = {"0", "1", "1", "0", "0", "1", "1", "1", "0"};
    const char* x[] = {"1.5", "1.5", "-12.5", "123.5", "-123.5", "7", "0,25", "8", "8"};
    for (int i = 0; i < 9; ++i) d.appendRecord(x[i], std::to_string(i), z[i]);
    d.finishLoad();
    return d;
}
}  // namespace

TEST(MarkerRule, WorkedPassOverTwoCuts) {
    Drawing d = twoCuts();
    EXPECT_EQ(d.List4.toVector(), (V{"D", "0", "0", "F", "D", "0", "0", "0", "F"}));
    EXPECT_EQ(d.List5.toVector(), (V{".", "1", ".", ".", ".", "2", ".", ".", "."}));
    EXPECT_EQ(d.List6.toVector(), V(9, "."));
    EXPECT_EQ(d.Text3, "2");
    // Any Z text other than exactly "0" is in the material.
    Drawing e;
    e.appendRecord("0", "0", "0");
    e.appendRecord("0", "0", "2");
    e.appendRecord("0", "0", " 0");
    e.appendRecord("0", "0", "0");
    EXPECT_EQ(e.List4.toVector(), (V{"D", "0", "0", "F"}));
}

TEST(TextList, ReplacingEntriesKeepsTheOthers) {
    TextList l;
    l.push_back(".");
    l.push_back("abc");
    l.set(0, "12");
    l.set(1, "x");
    EXPECT_EQ(l.toVector(), (V{"12", "x"}));
}

TEST(TextList, TextsOfAnyLengthAndReplacementsFromItself) {
    TextList l;
    const std::string huge((16u << 20) + 5, 'h');  // past the length a packed entry holds
    l.push_back("1");
    l.push_back(huge);
    l.push_back("0,5");
    EXPECT_EQ(l[1], huge);
    EXPECT_EQ(l[2], "0,5");
    // Replaced from views of the list itself, longer and shorter, long and short.
    l.set(0, l[2]);
    l.set(2, l[1]);
    l.set(1, "x");
    EXPECT_EQ(l[0], "0,5");
    EXPECT_EQ(l[1], "x");
    EXPECT_EQ(l[2], huge);
    l.set(2, l[2].substr(3));
    EXPECT_EQ(l[2].size(), huge.size() - 3);
    l.set(2, l[0]);
    EXPECT_EQ(l.toVector(), (std::vector<std::string>{"0,5", "x", "0,5"}));
    l.clear();
    EXPECT_TRUE(l.empty());
}

TEST(FraFile, WritePointRuleAndReadBack) {
    test::TempDir dir;
    Drawing d = twoCuts();
    std::string path = dir.file("piece.fra");
    ASSERT_TRUE(writeFra(d, path));
    std::string text = test::slurp(path);
    EXPECT_EQ(text.substr(0, 7), "0,0,0\r\n");
    EXPECT_EQ(text.substr(text.size() - 7), "0,0,0\r\n");
    EXPECT_NE(text.find("\"1,5\",\"0\",\"0\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"-12,5\",\"2\",\"1\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"123,5\",\"3\",\"0\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"-123.5\",\"4\",\"0\"\r\n"), std::string::npos);
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(lines, 11u);

    Drawing r;
    r.Text3 = "old";
    ASSERT_TRUE(readFra(r, path));
    EXPECT_EQ(r.size(), 11u);
    EXPECT_EQ(r.List1[0], "0");
    EXPECT_EQ(r.List1[1], "1,5");
    // Origin marked D, the first cut's start F with cut number 1, lift records D.
    EXPECT_EQ(r.List4.toVector(), (V{"D", "F", "0", "0", "D", "F", "0", "0", "0", "D", "F"}));
    EXPECT_EQ(r.List5[1], "1");
    EXPECT_EQ(r.List5[10], "3");
    EXPECT_EQ(r.Text3, "3");
    EXPECT_EQ(r.List6.toVector(), V(11, "."));

    // Saving a read-back drawing keeps its origin records as ordinary records.
    ASSERT_TRUE(writeFra(r, dir.file("again.fra")));
    std::string again = test::slurp(dir.file("again.fra"));
    EXPECT_EQ(again.substr(0, 20), "0,0,0\r\n\"0\",\"0\",\"0\"\r\n");
}

TEST(FraFile, ReadErrorsKeepCompleteRecords) {
    test::TempDir dir;
    test::spit(dir.file("bad.fra"), "0,0,0\r\n\"1\",\"2\",\"1\"\r\n\"3\",\"4\"\r\n");
    Drawing d;
    d.Text3 = "7";
    Status s = readFra(d, dir.file("bad.fra"));
    EXPECT_EQ(s.message, kFraUnusable);
    EXPECT_EQ(d.size(), 2u);
    EXPECT_EQ(d.Text3, "7");
    EXPECT_EQ(d.List6.size(), 2u);

    test::spit(dir.file("empty.fra"), "");
    EXPECT_FALSE(readFra(d, dir.file("empty.fra")));
    EXPECT_EQ(d.size(), 0u);
    EXPECT_FALSE(readFra(d, dir.file("missing.fra")));
}

TEST(Coordinates, CommaOrPoint) {
    EXPECT_EQ(coordinateValue("-123.4"), -123.4);
    EXPECT_EQ(coordinateValue("12,5"), 12.5);
    EXPECT_EQ(coordinateValue("1E-05"), 1e-5);
    EXPECT_FALSE(coordinateValue("1.2,3"));
    EXPECT_FALSE(coordinateValue("abc"));
    EXPECT_EQ(fraCoordinate("0.5"), "0,5");
    EXPECT_EQ(fraCoordinate(".5"), ".5");
    EXPECT_EQ(fraCoordinate("1234.5"), "1234.5");
}
