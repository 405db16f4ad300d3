// DXF and DAT imports and the save checks, on hand-made files and on every sample.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "base/files.h"
#include "base/numbers.h"
#include "drawing/import/datimport.h"
#include "drawing/import/dxfimport.h"
#include "drawing/import/trig.h"
#include "drawing/save.h"
#include "testsupport.h"

using namespace vornelle;

namespace {
using V = std::vector<std::string>;

std::string dxf(const std::vector<std::pair<int, std::string>>& entities) {
    std::string s = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
    for (auto& [c, v] : entities) s += std::to_string(c) + "\r\n" + v + "\r\n";
    return s + "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
}
using P = std::vector<std::pair<int, std::string>>;

P polyline(const std::vector<std::pair<const char*, const char*>>& pts, int flags,
           const char* bulge = nullptr) {
    P p = {{0, "POLYLINE"},
           {8, "0"},
           {62, "3"},
           {66, "1"},
           {10, "0.0"},
           {20, "0.0"},
           {70, std::to_string(flags)}};
    for (auto& [x, y] : pts) {
        p.push_back({0, "VERTEX"});
        p.push_back({8, "0"});
        p.push_back({10, x});
        p.push_back({20, y});
        if (bulge) p.push_back({42, bulge});
    }
    p.push_back({0, "SEQEND"});
    return p;
}
P line(const char* x1, const char* y1, const char* x2, const char* y2, const char* colour = nullptr) {
    P p = {{0, "LINE"}, {8, "0"}};
    if (colour) p.push_back({62, colour});
    for (auto& g : P{{10, x1}, {20, y1}, {30, "0"}, {11, x2}, {21, y2}, {31, "0"}}) p.push_back(g);
    return p;
}
P circle(const char* x, const char* y, const char* r) {
    return {{0, "CIRCLE"}, {8, "0"}, {10, x}, {20, y}, {40, r}};
}
P arc(const char* start) {
    return {{0, "ARC"}, {8, "0"}, {62, "5"}, {10, "1"}, {20, "1"}, {40, "2"}, {50, start}, {51, "90"}};
}
P operator+(P a, const P& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Rig {
    test::TempDir dir;
    Drawing d;
    ImportResult load(const std::string& text) {
        test::spit(dir.file("f.dxf"), text);
        return importDxf(dir.file("f.dxf"), dir.path(), d);
    }
};
}  // namespace

TEST(DxfImport, EntitiesBecomeCuts) {
    Rig r;
    ImportResult res = r.load(dxf(polyline({{"0", "0"}, {"10", "0"}, {"10", "10"}, {"0", "10"}}, 1)));
    ASSERT_TRUE(res.ok) << res.message.text;
    EXPECT_EQ(r.d.List1.toVector(), (V{"0", "0", "10", "10", "0", "0", "0"}));
    EXPECT_EQ(r.d.List3.toVector(), (V{"0", "1", "1", "1", "1", "1", "0"}));
    EXPECT_EQ(r.d.List4.toVector(), (V{"D", "0", "0", "0", "0", "0", "F"}));
    EXPECT_EQ(r.d.List5.toVector(), (V{".", "1", ".", ".", ".", ".", "."}));
    EXPECT_EQ(r.d.List6.size(), 7u);
    EXPECT_EQ(
        test::slurp(r.dir.file("tempX")),
        "\"0\",\"0\"\r\n\"19\",\"19\"\r\n\"0\",\"0\"\r\n\"10\",\"0\"\r\n\"10\",\"10\"\r\n\"0\",\"10\"\r\n"
        "\"0\",\"0\"\r\n\"1\",\"1\"\r\n");

    // Open polyline (flag 129 closes, 0 does not), with bulges that change nothing.
    res = r.load(dxf(polyline({{"12.5", "-3.25"}, {"-123.4", "2"}, {"5", "6"}}, 0, "0.41421356")));
    ASSERT_TRUE(res.ok);
    EXPECT_EQ(r.d.List1.toVector(), (V{"12,5", "12,5", "-123.4", "5", "5"}));
    EXPECT_EQ(r.d.List2.toVector(), (V{"-3,25", "-3,25", "2", "6", "6"}));
    EXPECT_EQ(r.d.List4.toVector(), (V{"D", "0", "0", "0", "F"}));
    res = r.load(dxf(polyline({{"0", "0"}, {"1", "0"}, {"2", "2"}}, 129)));
    EXPECT_EQ(r.d.size(), 6u);

    // Line: four records; circle: 76 records on the circle from (15, 0) back to (15, 0).
    res = r.load(dxf(line("1", "2", "3", "4")));
    EXPECT_EQ(r.d.List1.toVector(), (V{"1", "1", "3", "3"}));
    EXPECT_EQ(r.d.List4.toVector(), (V{"D", "0", "0", "F"}));
    res = r.load(dxf(circle("10", "0", "5")));
    ASSERT_EQ(r.d.size(), 76u);
    EXPECT_EQ(r.d.List1[0], "15");
    EXPECT_EQ(r.d.List2[0], "0");
    EXPECT_EQ(r.d.List1[75], "15");
    EXPECT_EQ(r.d.List1[1 + 18], "10");  // 90 degrees: exactly the centre's X
    EXPECT_EQ(r.d.List2[1 + 18], "5");
    EXPECT_EQ(r.d.List1[1 + 12], "12,5");  // 60 degrees: cos is exactly 0,5
    for (size_t i = 0; i < r.d.size(); ++i) {
        double x = *coordinateValue(r.d.List1[i]) - 10, y = *coordinateValue(r.d.List2[i]);
        EXPECT_NEAR(std::hypot(x, y), 5, 1e-12);
    }
    EXPECT_GT(*coordinateValue(r.d.List2[2]), 0);  // increasing angle

    // An arc adds nothing; two polylines, a line and a circle give 4 cuts numbered in order.
    res =
        r.load(dxf(polyline({{"0", "0"}, {"1", "0"}}, 0) + arc("0") + polyline({{"2", "0"}, {"3", "0"}}, 1) +
                   line("0", "5", "1", "5") + circle("0", "0", "1")));
    ASSERT_TRUE(res.ok);
    EXPECT_EQ(r.d.Text3, "4");
    V numbers;
    for (size_t i = 0; i < r.d.size(); ++i)
        if (r.d.List5[i] != ".") numbers.push_back(std::string(r.d.List5[i]));
    EXPECT_EQ(numbers, (V{"1", "2", "3", "4"}));
    EXPECT_EQ(res.skipped, (std::map<std::string, long>{{"ARC", 1}}));
}

TEST(DxfImport, OtherEntitiesAndColoursDoNotCorruptTheDrawing) {
    Rig r;
    // An LWPOLYLINE whose vertex X is exactly 0 or 1 would read as a polyline start or end.
    P lw = {{0, "LWPOLYLINE"}, {8, "0"}, {90, "2"}, {70, "1"}, {10, "0"}, {20, "5"}, {10, "1"}, {20, "1"}};
    P text = {{0, "TEXT"}, {8, "0"}, {10, "1"}, {20, "1"}, {40, "2.5"}, {1, "ENDSEC"}};
    ImportResult res = r.load(dxf(lw + text + line("2", "3", "4", "5", "256") + circle("1", "1", "1")));
    ASSERT_TRUE(res.ok) << res.message.text;
    EXPECT_EQ(r.d.Text3, "2");
    EXPECT_EQ(r.d.List1[0], "2");  // the colour 256 keeps the line's first point
    EXPECT_EQ(r.d.List2[0], "3");
    EXPECT_EQ(r.d.size(), 4u + 76u);
    EXPECT_EQ(res.skipped, (std::map<std::string, long>{{"LWPOLYLINE", 1}, {"TEXT", 1}}));
    // Colour 1 to 7 writes its own placeholder.
    res = r.load(dxf(line("2", "3", "4", "5", "7")));
    EXPECT_NE(test::slurp(r.dir.file("tempX")).find("\"17\",\"17\""), std::string::npos);
    EXPECT_EQ(r.d.List1[0], "2");

    // An arc starting at angle 0 and a vertex at x = 1 start or end nothing.
    res = r.load(dxf(arc("0") + polyline({{"1", "5"}, {"1", "6"}, {"2", "7"}}, 0)));
    ASSERT_TRUE(res.ok);
    EXPECT_EQ(r.d.Text3, "1");
    EXPECT_EQ(r.d.List1.toVector(), (V{"1", "1", "1", "2", "2"}));

    // Only entities that cut nothing: said, and the drawing stays.
    Drawing before = r.d;
    P spline = {{0, "SPLINE"}, {8, "0"}, {10, "1"}, {20, "2"}};
    res = r.load(dxf(lw + lw + spline));
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.message.text.find("Aucune entité à découper : 2 LWPOLYLINE, 1 SPLINE ignorées"), 0u);
    EXPECT_EQ(r.d.List1.toVector(), before.List1.toVector());
}

TEST(DxfImport, DamagedFilesAreRefusedWithTheLine) {
    Rig r;
    ASSERT_TRUE(r.load(dxf(line("1", "2", "3", "4"))).ok);
    V kept = r.d.List1.toVector();
    auto refused = [&](const std::string& text, const std::string& fragment) {
        ImportResult res = r.load(text);
        EXPECT_FALSE(res.ok);
        EXPECT_NE(res.message.text.find(fragment), std::string::npos) << res.message.text;
        EXPECT_EQ(r.d.List1.toVector(), kept);
    };
    refused("  0\r\nSECTION\r\n  2\r\nHEADER\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n", "ENTITIES");
    std::string noEnd = dxf(line("1", "2", "3", "4"));
    refused(noEnd.substr(0, noEnd.find("  0\r\nENDSEC")), "ENDSEC");
    std::string cut = dxf(polyline({{"0", "0"}, {"1", "1"}}, 0));
    refused(cut.substr(0, cut.find("SEQEND") - 3) + "  0\r\nENDSEC\r\n", "SEQEND");
    refused(dxf(line("1", "abc", "3", "4")), "ligne 12 : coordonnée \"abc\" illisible");
    refused(dxf({{0, "LINE"}, {10, "1"}, {20, "2"}}), "LINE incomplète");
    // A circle far larger than any machine (a damaged number): refused, not 76 absurd records.
    refused(dxf(circle("1", "2", "3e13")), "ligne 14 : rayon de CIRCLE \"3e13\" au-delà de 10^12 unités");
    refused(dxf(circle("-2e15", "2", "3")), "ligne 10 : centre de CIRCLE");
    refused("garbage\r\n", "illisible");
    ImportResult empty = importDxf("", r.dir.path(), r.d);
    EXPECT_EQ(empty.message.text, "Nom du fichier ?");
    EXPECT_EQ(empty.message.title, "Saisie incomplette !");
    ImportResult missing = importDxf(r.dir.file("none.dxf"), r.dir.path(), r.d);
    EXPECT_EQ(missing.message.text, "Fichier introuvable !");
}

TEST(DxfImport, EndlessLinesAreRefusedWithAShortMessage) {
    Rig r;
    ASSERT_TRUE(r.load(dxf(line("1", "2", "3", "4"))).ok);
    V kept = r.d.List1.toVector();
    // A layer name of 2 MB: past the 1 MB a line may hold; the drawing is unchanged.
    P layer = line("1", "2", "3", "4");
    layer[1].second = std::string(2 << 20, 'A');
    ImportResult res = r.load(dxf(layer));
    EXPECT_FALSE(res.ok);
    EXPECT_NE(res.message.text.find("ligne de plus de 1 Mo"), std::string::npos)
        << res.message.text.substr(0, 200);
    EXPECT_EQ(r.d.List1.toVector(), kept);
    // A coordinate of 900,000 digits is read but not a number: quoted by its start only.
    std::string digits(900000, '1');
    res = r.load(dxf(line(digits.c_str(), "2", "3", "4")));
    EXPECT_FALSE(res.ok);
    EXPECT_NE(res.message.text.find("(900000 caractères) illisible"), std::string::npos)
        << res.message.text.substr(0, 200);
    EXPECT_LT(res.message.text.size(), 400u);
    EXPECT_EQ(r.d.List1.toVector(), kept);
}

TEST(DxfImport, EverySampleImportsInsideItsExtents) {
    const std::string dir = std::string(SAMPLES_DIR) + "/dxf/";
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        // What the file holds, counted independently: cut entities and their extents.
        std::string text = test::slurp(e.path().string());
        std::vector<std::string> lines;
        std::istringstream in(text);
        std::string l;
        while (std::getline(in, l)) {
            while (!l.empty() && (l.back() == '\r' || l.back() == ' ')) l.pop_back();
            size_t s = l.find_first_not_of(' ');
            lines.push_back(s == std::string::npos ? "" : l.substr(s));
        }
        long expected = 0;
        double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
        bool inEntities = false, cutEntity = false, header = false;
        double cx = 0, r = 0;
        for (size_t i = 0; i + 1 < lines.size(); i += 2) {
            const std::string &c = lines[i], &v = lines[i + 1];
            if (c == "2" && v == "ENTITIES") inEntities = true;
            if (!inEntities) continue;
            if (c == "0") {
                if (v == "ENDSEC") break;
                cutEntity = v == "POLYLINE" || v == "VERTEX" || v == "LINE" || v == "CIRCLE";
                header = v == "POLYLINE";
                if (v == "POLYLINE" || v == "LINE" || v == "CIRCLE") ++expected;
                r = 0;
            } else if (cutEntity && !header && (c == "10" || c == "11")) {
                cx = std::stod(v);
                minX = std::min(minX, cx), maxX = std::max(maxX, cx);
            } else if (cutEntity && !header && (c == "20" || c == "21")) {
                double y = std::stod(v);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            } else if (cutEntity && c == "40" && !header) {
                r = std::stod(v);
                minX = std::min(minX, cx - r), maxX = std::max(maxX, cx + r);
                minY = std::min(minY, -1e300), maxY = std::max(maxY, 1e300);  // Y extents of circles: wide
            }
        }
        test::TempDir work;
        Drawing d;
        ImportResult res = importDxf(e.path().string(), work.path(), d);
        ASSERT_TRUE(res.ok) << e.path() << ": " << res.message.text;
        EXPECT_EQ(d.Text3, std::to_string(expected)) << e.path();
        for (size_t i = 0; i < d.size(); ++i) {
            double x = *coordinateValue(d.List1[i]), y = *coordinateValue(d.List2[i]);
            ASSERT_GE(x, minX - 1e-9) << e.path();
            ASSERT_LE(x, maxX + 1e-9) << e.path();
            ASSERT_GE(y, minY - 1e-9) << e.path();
            ASSERT_LE(y, maxY + 1e-9) << e.path();
        }
        EXPECT_EQ(d.List4.size(), d.size());
        ++files;
    }
    EXPECT_EQ(files, 11);
}

// The classic import gives, for every sample, exactly the drawing and the FRA bytes it gave
// before the complete import was written beside it: a digest of the FRA file, the markers, the
// cut numbers, Text3 and the skipped counts, recorded once from the import as it was.
TEST(DxfImport, EverySampleGivesTheDrawingItAlwaysGave) {
    const std::map<std::string, std::string> recorded = {
        {"deb-freecad-common__Square.dxf", "502975655729180927 4"},
        {"gen-ezdxf__r12_rib_nest_large.dxf", "7587314619913440028 480"},
        {"gen-ezdxf__r12_rib_sheet.dxf", "10279343131236977682 33 ARC=1 POINT=5 TEXT=5"},
        {"gen-ezdxf__r2000_mixed.dxf",
         "9482132911779236870 5 ARC=1 ELLIPSE=1 INSERT=1 LWPOLYLINE=1 MTEXT=1 SPLINE=1 TEXT=1"},
        {"gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf",
         "14874470281160465603 149 ARC=72 LWPOLYLINE=238 VIEWPORT=1"},
        {"gh-ezdxf__POLI-ALL210_12.dxf", "15329122592462770451 30 3DFACE=1"},
        {"gh-ezdxf__R12_with_trash_beyond_EOF.dxf", "1915028026572783330 1"},
        {"gh-ezdxf__small_r13.dxf", "8462343456280140756 16"},
        {"gh-skymakerolof-dxf__issue29.dxf", "2970551348187052161 29"},
        {"gh-skymakerolof-dxf__polylines.dxf", "7133525607758320470 2"},
        {"gh-skymakerolof-dxf__squareandcircle.dxf", "8015279361662308586 2"},
    };
    auto fnv = [](std::string_view bytes, uint64_t h) {
        for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
        return h;
    };
    const std::string dir = std::string(SAMPLES_DIR) + "/dxf/";
    std::map<std::string, std::string> got;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        test::TempDir work;
        Drawing d;
        ImportResult res = importDxf(e.path().string(), work.path(), d);
        ASSERT_TRUE(res.ok) << e.path();
        ASSERT_TRUE(writeFra(d, work.file("out.fra")).ok());
        uint64_t h = fnv(test::slurp(work.file("out.fra")), 14695981039346656037ull);
        for (const TextList* l : {&d.List4, &d.List5, &d.List6})
            for (size_t i = 0; i < l->size(); ++i) h = fnv(std::string((*l)[i]) + "\n", h);
        std::string skipped;
        for (const auto& [type, n] : res.skipped) skipped += " " + type + "=" + std::to_string(n);
        got[e.path().filename().string()] = std::to_string(h) + " " + d.Text3 + skipped;
    }
    EXPECT_EQ(got, recorded);
}

TEST(Trig, TablesAreExactWhereTheTrueValueIs) {
    const TrigTables& t = trigTables();
    EXPECT_EQ(t.sine[30], 0.5);
    EXPECT_EQ(t.sine[90], 1.0);
    EXPECT_EQ(t.sine[180], 0.0);
    EXPECT_EQ(t.sine[210], -0.5);
    EXPECT_EQ(t.sine[270], -1.0);
    EXPECT_EQ(t.cosine[60], 0.5);
    EXPECT_EQ(t.cosine[90], 0.0);
    EXPECT_EQ(t.cosine[120], -0.5);
    EXPECT_EQ(t.cosine[360], 1.0);
    EXPECT_EQ(t.sine[45], t.cosine[45]);
    EXPECT_EQ(t.sine[45], 0.70710678118654757);
    for (int k = 0; k <= 362; ++k) EXPECT_NEAR(t.sine[k], std::sin(k * M_PI / 180), 1e-15);
}

TEST(DatImport, ProfileRecordsAndTheCounterRule) {
    test::TempDir dir;
    Drawing d;
    test::spit(dir.file("p.dat"), "NACA 0012\r\n1.0000 0.0013\r\n0.5000 0.0300\r\n0.0000 0.0000\r\n");
    ASSERT_TRUE(importDat(dir.file("p.dat"), d).ok);
    EXPECT_EQ(d.List1.toVector(), (V{"0", "0", "0,5", "1", "1"}));
    EXPECT_EQ(d.List2.toVector(), (V{"0,5013", "0,5013", "0,53", "0,5", "0,5"}));
    EXPECT_EQ(d.List3.toVector(), (V{"0", "1", "1", "1", "0"}));
    // Rebuilt by the marker rule, so the view and the entry points work on it.
    EXPECT_EQ(d.List4.toVector(), (V{"D", "0", "0", "0", "F"}));
    EXPECT_EQ(d.List5.toVector(), (V{".", "1", ".", ".", "."}));
    EXPECT_EQ(d.Text3, "1");
    EXPECT_EQ(d.List6.size(), 5u);

    // No title: no approach; two titles: none either; a blank line inside doubles again.
    test::spit(dir.file("a.dat"), "1.0 0.0\n0.5 0.1\n");
    ASSERT_TRUE(importDat(dir.file("a.dat"), d).ok);
    EXPECT_EQ(d.List3.toVector(), (V{"1", "1", "0"}));
    test::spit(dir.file("b.dat"), "T1\nT2\n1.0 0.0\n0.5 0.1\n");
    ASSERT_TRUE(importDat(dir.file("b.dat"), d).ok);
    EXPECT_EQ(d.List3.toVector(), (V{"1", "1", "0"}));
    test::spit(dir.file("c.dat"), "T\n1.0 0.0\n\n0.5 0.1\n");
    ASSERT_TRUE(importDat(dir.file("c.dat"), d).ok);
    EXPECT_EQ(d.List3.toVector(), (V{"0", "1", "0", "1", "0"}));

    // Tabs and exponents, LF line ends; x = 0,99999 and the rewrite of small values.
    test::spit(dir.file("e.dat"), "T\n1.0\t0.126E-02\n0.99999   -0.5\n0.0 0.0");
    ASSERT_TRUE(importDat(dir.file("e.dat"), d).ok);
    EXPECT_EQ(d.List2[0], "0,50126");
    // 0,99999 read correctly rounded: 1 - x is 9,99999999995449E-06.
    EXPECT_EQ(d.List1[2], "0,0000099999");
    EXPECT_EQ(d.List2[2], "0");

    ImportResult upper = importDat(dir.file("PROFIL.DAT"), d);
    EXPECT_EQ(upper.message.text, "choisir un fichier DAT");
    EXPECT_EQ(upper.message.title, "essaie encore");
    EXPECT_EQ(importDat(dir.file("none.dat"), d).message.text, "Fichier introuvable !");
    test::spit(dir.file("empty.dat"), "");
    V before = d.List1.toVector();
    ImportResult empty = importDat(dir.file("empty.dat"), d);
    EXPECT_EQ(empty.message.text.substr(0, 35), "le fichier choisi n'est pas utilisa");
    EXPECT_EQ(d.List1.toVector(), before);
}

TEST(DatImport, SmallValueTexts) {
    std::string z;
    EXPECT_EQ(datText(1.00000000000655e-05, z), "0,000010000");
    EXPECT_EQ(z, "0000");
    EXPECT_EQ(datText(1 - 0.99999, z), "0,0000099999");
    EXPECT_EQ(datText(-1.23456789e-5, z), "-0,0000123456");
    EXPECT_EQ(datText(0.5, z), "0,5");
    // A short mantissa and a long exponent come out whole rather than mixed with the exponent.
    EXPECT_EQ(datText(1e-5, z), "0,00001");
    EXPECT_EQ(datText(2.5e-12, z), "0,0000000000025");
}

TEST(DatImport, EverySampleGivesOneProfile) {
    for (const auto& e : std::filesystem::directory_iterator(std::string(SAMPLES_DIR) + "/dat/")) {
        Drawing d;
        ImportResult r = importDat(e.path().string(), d);
        ASSERT_TRUE(r.ok) << e.path() << r.message.text;
        EXPECT_GT(d.size(), 50u) << e.path();
        for (size_t i = 0; i < d.size(); ++i) {
            double x = *coordinateValue(d.List1[i]), y = *coordinateValue(d.List2[i]);
            ASSERT_GE(x, -0.01) << e.path() << " " << d.List1[i];
            ASSERT_LE(x, 1.01) << e.path();
            ASSERT_GT(y, 0.2) << e.path();
            ASSERT_LT(y, 0.8) << e.path();
        }
    }
}

TEST(Save, ChecksThenWritesAndRemembers) {
    test::TempDir dir;
    Drawing d;
    d.appendRecord("1.5", "2", "0");
    DrawingShared shared;
    EXPECT_EQ(saveDrawing(d, "", shared).message.text, "Nom du fichier ?");
    for (const char* bad : {"pdxf", "p.dat", "ppro"}) {
        SaveResult r = saveDrawing(d, dir.file(bad), shared);
        EXPECT_EQ(r.message.text, "Ne pas mettre d'extension au fichier");
        EXPECT_EQ(r.message.title, "essaie encore");
    }
    SaveResult ok = saveDrawing(d, dir.file("aile"), shared);
    ASSERT_TRUE(ok.ok);
    EXPECT_EQ(shared.lastSavedFra, dir.file("aile.fra"));
    EXPECT_EQ(test::slurp(dir.file("aile.fra")), "0,0,0\r\n\"1,5\",\"2\",\"0\"\r\n0,0,0\r\n");
    EXPECT_EQ(saveDrawing(d, dir.file("aile"), shared).message.text, "Nom deja utilisé ");
    EXPECT_TRUE(saveDrawing(d, dir.file("x.DXF"), shared).ok);
    EXPECT_TRUE(fileExists(dir.file("x.DXF.fra")));
    d.List2.push_back("3");
    EXPECT_EQ(saveDrawing(d, dir.file("other"), shared).message.text, "Nombre de X <> Y<> Z ");
    SaveResult nowhere = saveDrawing(Drawing{}, dir.file("no/such/folder/p"), shared);
    EXPECT_FALSE(nowhere.ok);
    EXPECT_EQ(nowhere.message.text.substr(0, 30), "Une erreur est survenue pendan");
}
