// Cut-file generation: validation order, the files written, rounding, the failure paths,
// and the replay of real drawings.
#include "cutfile/generation/generation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/fields.h"
#include "base/files.h"
#include "base/numbers.h"
#include "cutfile/details.h"
#include "cutfilerig.h"
#include "drawing/drawing.h"
#include "drawing/import/dxfimport.h"

using namespace vornelle;

namespace {

// A pass of 2 mm.
struct Rig : test::GenerationRig {
    Rig() { in.Text12 = "2"; }
    void fra(const std::string& body) { test::spit(in.text1, body); }
    GenerationResult run() {
        GenerationResult r = generate(in, work, pointer);
        EXPECT_EQ(pointer.depth, 0);
        return r;
    }
    std::vector<int> ticks() {
        std::vector<int> v;
        std::ifstream f(in.Text9 + ".def");
        int x;
        while (f >> x) v.push_back(x);
        return v;
    }
    std::vector<std::vector<double>> records(const char* file, int fields) {
        auto r = FieldReader::open(work + file);
        std::vector<std::vector<double>> out;
        std::string s;
        while (r && !r->atEnd()) {
            std::vector<double> rec;
            for (int i = 0; i < fields && r->next(s); ++i) rec.push_back(*leadingNumber(s));
            out.push_back(rec);
        }
        return out;
    }
    // Replays the cut file: positions in steps at the end of every segment of objet.
    std::vector<std::array<long, 3>> replay() {
        std::vector<int> t = ticks();
        auto objet = records("objet", 8);
        int dirW[3] = {1, 4, 16}, clkW[3] = {2, 8, 32};
        bool inv[3];
        for (int a = 0; a < 3; ++a) inv[a] = in.inversions[a] == "1";
        std::array<long, 3> pos = {0, 0, 0};
        std::vector<std::array<long, 3>> ends;
        size_t k = 0;
        for (auto& seg : objet) {
            auto m = static_cast<size_t>(std::max({seg[1], seg[3], seg[5], seg[7]}));
            for (size_t i = 0; i < m; ++i, ++k) {
                for (int a = 0; a < 3; ++a) {
                    if (!(t.at(k) & clkW[a])) continue;
                    bool negative = ((t[k] & dirW[a]) != 0) != inv[a];
                    pos[a] += negative ? -1 : 1;
                }
            }
            ends.push_back(pos);
        }
        EXPECT_EQ(k, t.size());
        return ends;
    }
};

std::string fraOf(const std::vector<std::array<const char*, 3>>& recs) {
    std::string s = "0,0,0\r\n";
    for (auto& r : recs) s += std::string("\"") + r[0] + "\",\"" + r[1] + "\",\"" + r[2] + "\"\r\n";
    return s + "0,0,0\r\n";
}

}  // namespace

TEST(ClockStream, StepsSpreadByAccumulatedSpacing) {
    EXPECT_EQ(clockStream(10, 3), "0010010010");
    EXPECT_EQ(clockStream(10, 10), "1111111111");
    EXPECT_EQ(clockStream(4, 0), "0000");
    EXPECT_EQ(clockStream(3, 1), "001");
    for (uint64_t m = 1; m <= 300; ++m) {
        for (uint64_t n = 1; n <= m; ++n) {
            std::string s = clockStream(m, n);
            ASSERT_EQ(s.size(), m);
            ASSERT_EQ(static_cast<uint64_t>(std::count(s.begin(), s.end(), '1')), n) << m << " " << n;
            ASSERT_TRUE(s[m - 1] == '1' || s[m - 2] == '1') << m << " " << n;
        }
    }
}

TEST(Generation, ValidationOrderAndMessages) {
    Rig r;
    auto expectRefusal = [&r](const char* text, const char* title, int st) {
        GenerationResult g = r.run();
        EXPECT_FALSE(g.ok);
        EXPECT_EQ(g.message.text, text);
        EXPECT_EQ(g.message.title, title);
        EXPECT_EQ(g.message.style, st);
        EXPECT_EQ(r.pointer.changes, 0);
        EXPECT_TRUE(std::filesystem::is_empty(r.work));
    };
    r.in.Text9 = "piecedef";
    r.in.Text7 = "";
    expectRefusal("Ne pas mettre d'extension au nom de fichier", "Nom fichier ", 288);
    r.in.Text9 = "";
    expectRefusal("Descriptif vide ?", "descriptif", 304);
    r.in.Text7 = " ";
    r.in.text1 = "";
    expectRefusal("Saisie du nom de fichier des coordonnées ?", "Nom fichier ?", 288);
    r.in.text1 = r.dir.file("d.fra");
    expectRefusal("Saisie du nom de fichier de decoupe ?", "Nom fichier ?", 288);
    r.in.Text9 = r.in.text1;
    expectRefusal("les noms de fichiers doivent être differents !", "Nom fichier ?", 272);
    r.in.Text9 = r.dir.file("piece");
    r.in.Text12 = "";
    expectRefusal("Saisie de la valeur de descente d'outil ?", "Nom fichier ?", 288);
    r.in.Text12 = "2";
    r.in.Text4 = "";
    expectRefusal("Saisie incomplete ?", "Saisie", 272);
    r.in.Text4 = "1";
    test::spit(r.dir.file("piece.det"), "x");
    expectRefusal("Nom de fichier découpe deja utilisé !", "Nom", 272);
    // A cut file left without its details file is refused the same way, not extended.
    removeFile(r.dir.file("piece.det"));
    test::spit(r.dir.file("piece.def"), "3\r\n");
    expectRefusal("Nom de fichier découpe deja utilisé !", "Nom", 272);
    EXPECT_EQ(test::slurp(r.dir.file("piece.def")), "3\r\n");
}

TEST(Generation, FilesOfAOneCutDrawing) {
    Rig r;
    r.in.Text7 = "ligne 1\r\nligne 2, avec virgule";
    r.in.Text4 = "1,5";  // leading number: scale 1
    r.in.Text6 = "2,5";  // decimal: 2.5 steps per mm
    r.fra(fraOf({{"2", "0", "0"}, {"2", "0", "1"}, {"4", "2", "1"}, {"4", "2", "0"}}));
    GenerationResult g = r.run();
    ASSERT_TRUE(g.ok) << g.message.text;
    EXPECT_EQ(g.message.text, "Fichier découpe créé avec succés");
    EXPECT_EQ(g.message.title, "Découpe");
    EXPECT_EQ(g.message.style, 272);
    EXPECT_EQ(r.pointer.changes, 2);

    // prem: origin first and last, unrounded values.
    std::string prem = test::slurp(r.work + "prem");
    EXPECT_EQ(prem, "0,0,0,0\r\n5,0,0,0\r\n5,0,2,0\r\n10,2,2,0\r\n10,2,0,0\r\n0,0,0,0\r\n");
    EXPECT_EQ(
        test::slurp(r.work + "objet"),
        "0,5,0,0,0,0,0,0\r\n0,0,0,0,0,2,0,0\r\n0,5,0,2,0,0,0,0\r\n0,0,0,0,1,2,0,0\r\n1,10,1,2,0,0,0,0\r\n");
    // Ticks: 5 travel, 2 plunge, 5 cut, 2 lift, 10 return.
    std::vector<int> t = r.ticks();
    ASSERT_EQ(t.size(), 24u);
    ASSERT_EQ(g.ticks, 24u);
    EXPECT_EQ(std::vector<int>(t.begin(), t.begin() + 7), (std::vector<int>{2, 2, 2, 2, 2, 32, 32}));
    EXPECT_EQ(t[12], 16 + 32);    // lift: Z direction 1 with its clock
    EXPECT_EQ(t[14], 1 | 2 | 4);  // return: X and Y directions set, X steps
    EXPECT_EQ(t[23], 1 | 2 | 4 | 8);
    // bit files: same length, direction as number fields, clocks as texts.
    EXPECT_EQ(test::slurp(r.work + "bit1").substr(0, 3), "0\r\n");
    EXPECT_EQ(test::slurp(r.work + "bit2").substr(0, 5), "\"1\"\r\n");
    EXPECT_EQ(test::slurp(r.work + "bit8").size(), 24u * 5);

    auto det = readDetails(r.dir.file("piece.det"));
    ASSERT_TRUE(det);
    EXPECT_EQ(det->fields[0], "20");
    EXPECT_EQ(det->fields[2], "1,5");
    EXPECT_EQ(det->fields[3], "2,5");
    EXPECT_EQ(det->fields[4], "ligne 1\r\nligne 2, avec virgule");
    EXPECT_EQ(det->fields[6], r.dir.file("piece.def"));
    EXPECT_EQ(g.defPath, r.dir.file("piece.def"));
    EXPECT_FALSE(fileExists(r.dir.file("piece.def.partiel")));

    // Upper-case DEF is accepted and gives piece.DEF.def.
    r.in.Text9 = r.dir.file("piece.DEF");
    ASSERT_TRUE(r.run().ok);
    EXPECT_TRUE(fileExists(r.dir.file("piece.DEF.def")));
    EXPECT_TRUE(fileExists(r.dir.file("piece.DEF.det")));
}

TEST(Generation, RoundingFollowsThePointsNotTheSegments) {
    Rig r;
    // 0 -> 2.5 steps gives 2; 2.5 -> 6 gives 4 (from the rounded 2 to 6); back 6 -> 0 gives 6.
    r.in.Text6 = "1";
    r.fra(fraOf({{"2,5", "0", "0"}, {"6", "0", "0"}}));
    ASSERT_TRUE(r.run().ok);
    auto o = r.records("objet", 8);
    EXPECT_EQ(o[0][1], 2);
    EXPECT_EQ(o[1][1], 4);
    EXPECT_EQ(o[2][1], 6);

    Rig h;
    h.fra(fraOf({{"3,5", "0", "0"}}));
    ASSERT_TRUE(h.run().ok);
    EXPECT_EQ(h.records("objet", 8)[0][1], 4);

    // Ten segments of 0,4 step: 4 steps in all, and back to 0.
    Rig t;
    std::vector<std::array<const char*, 3>> recs;
    const char* xs[] = {"0,4", "0,8", "1,2", "1,6", "2", "2,4", "2,8", "3,2", "3,6", "4"};
    for (const char* x : xs) recs.push_back({x, "0", "0"});
    t.fra(fraOf(recs));
    ASSERT_TRUE(t.run().ok);
    auto ends = t.replay();
    EXPECT_EQ(ends[9][0], 4);
    EXPECT_EQ(ends.back(), (std::array<long, 3>{0, 0, 0}));
}

TEST(Generation, InversionAndSpareWeights) {
    Rig r;
    r.in.inversions = {"1", "0", "0"};
    r.in.weights[6] = "64";
    r.in.weights[7] = "128";
    r.fra(fraOf({{"3", "0", "0"}}));
    ASSERT_TRUE(r.run().ok);
    std::vector<int> t = r.ticks();
    ASSERT_EQ(t.size(), 6u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(t[i], 1 + 2);  // positive X carries the X direction weight
    for (int i = 3; i < 6; ++i) EXPECT_EQ(t[i], 2);
    EXPECT_EQ(r.replay().back(), (std::array<long, 3>{0, 0, 0}));
}

TEST(Generation, FailuresLeaveNothingBehind) {
    auto expectClean = [](Rig& r, const char* fragment) {
        GenerationResult g = r.run();
        EXPECT_FALSE(g.ok);
        EXPECT_NE(g.message.text.find(fragment), std::string::npos) << g.message.text;
        EXPECT_FALSE(fileExists(r.in.Text9 + ".def"));
        EXPECT_FALSE(fileExists(r.in.Text9 + ".det"));
        EXPECT_FALSE(fileExists(r.in.Text9 + ".def.partiel"));
        // The user can try again at once.
        return g;
    };
    Rig missing;
    expectClean(missing, "illisible");
    Rig malformed;
    malformed.fra("0,0,0\r\n\"1\",\"2\"\r\n");
    expectClean(malformed, "n'est pas utilisable");
    Rig notNumber;
    notNumber.fra("0,0,0\r\n\"abc\",\"2\",\"0\"\r\n");
    expectClean(notNumber, "\"abc\" n'est pas un nombre");
    Rig single;
    single.fra("0,0,0\r\n");
    expectClean(single, "qu'un point");
    Rig still;
    still.fra(fraOf({{"0,1", "0", "0"}}));
    expectClean(still, "aucun déplacement");
    Rig badSteps;
    badSteps.in.Text6 = "";
    badSteps.fra(fraOf({{"1", "0", "0"}}));
    expectClean(badSteps, "pas par mm");
    if (::geteuid() != 0) {
        Rig locked;
        locked.fra(fraOf({{"1", "0", "0"}}));
        ::chmod(locked.work.c_str(), 0500);
        expectClean(locked, "work");
        ::chmod(locked.work.c_str(), 0700);
    }
    // Work folder missing altogether.
    Rig gone;
    gone.fra(fraOf({{"1", "0", "0"}}));
    std::filesystem::remove_all(gone.work);
    expectClean(gone, "work");
    // A field left open to the end of a 3 MB file, and a 2 MB number text: refused with a
    // message that names the line and quotes at most the start of the text.
    Rig openQuote;
    openQuote.fra("0,0,0\r\n\"1\",\"2\",\"0\"\r\n\"" + std::string(3 << 20, '1'));
    EXPECT_NE(expectClean(openQuote, "ligne 3").message.text.find("champ de plus de 1 Mo."),
              std::string::npos);
    Rig longNumber;
    longNumber.fra("0,0,0\r\n\"" + std::string(1 << 20, '1') + "\",\"2\",\"0\"\r\n0,0,0\r\n");
    GenerationResult g = expectClean(longNumber, "(1048576 caractères) n'est pas un nombre");
    EXPECT_LT(g.message.text.size(), 400u);
    // After a failure the same name generates.
    still.fra(fraOf({{"5", "0", "0"}}));
    EXPECT_TRUE(still.run().ok);
}

TEST(Generation, RealProfilesReplayToTheRoundedPointsAndTheOrigin) {
    const std::string samples = std::string(SAMPLES_DIR) + "/dat/";
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(samples)) {
        // The profile's points as one closed cut, at 200 steps per mm and a scale of 150.
        std::ifstream in(e.path());
        std::string line;
        std::vector<std::pair<std::string, std::string>> pts;
        while (std::getline(in, line)) {
            std::istringstream ls(line);
            std::string x, y;
            if (!(ls >> x >> y)) continue;
            if (!leadingNumber(x) || !leadingNumber(y) || std::abs(*leadingNumber(x)) > 2) continue;
            if (x.find_first_of("0123456789") != 0 && x[0] != '-' && x[0] != '.') continue;
            pts.emplace_back(x, y);
        }
        ASSERT_GT(pts.size(), 10u) << e.path();
        Rig r;
        r.in.Text4 = "150";
        r.in.Text6 = r.in.Text3 = "200";
        r.in.Text5 = "133,33";
        r.in.Text12 = "3";
        r.in.inversions = {"0", "1", "1"};
        Drawing d;
        d.appendRecord(pts[0].first, pts[0].second, "0");
        for (auto& p : pts) d.appendRecord(p.first, p.second, "1");
        d.appendRecord(pts.back().first, pts.back().second, "0");
        ASSERT_TRUE(writeFra(d, r.in.text1));
        GenerationResult g = r.run();
        ASSERT_TRUE(g.ok) << g.message.text;
        auto prem = r.records("prem", 4);
        auto ends = r.replay();
        ASSERT_EQ(ends.size() + 1, prem.size());
        for (size_t k = 0; k < ends.size(); ++k)
            for (int a = 0; a < 3; ++a)
                ASSERT_EQ(ends[k][a], static_cast<long>(roundHalfEven(prem[k + 1][a])))
                    << e.path() << " " << k;
        EXPECT_EQ(ends.back(), (std::array<long, 3>{0, 0, 0}));
        ++files;
    }
    EXPECT_GE(files, 10);
}

TEST(Generation, RealDxfDrawingsReplayToTheRoundedPointsAndTheOrigin) {
    for (const char* name :
         {"gh-skymakerolof-dxf__squareandcircle.dxf", "deb-freecad-common__Square.dxf",
          "gh-skymakerolof-dxf__polylines.dxf", "gh-ezdxf__small_r13.dxf", "gen-ezdxf__r12_rib_sheet.dxf"}) {
        Rig r;
        Drawing d;
        ImportResult imp = importDxf(std::string(SAMPLES_DIR) + "/dxf/" + name, r.work, d);
        ASSERT_TRUE(imp.ok) << name << imp.message.text;
        ASSERT_TRUE(writeFra(d, r.in.text1));
        r.in.Text4 = "1";
        r.in.Text6 = "200";
        r.in.Text3 = "133,33";
        r.in.Text5 = "400";
        r.in.inversions = {"1", "0", "1"};
        GenerationResult g = r.run();
        ASSERT_TRUE(g.ok) << name << g.message.text;
        auto prem = r.records("prem", 4);
        auto ends = r.replay();
        ASSERT_EQ(ends.size() + 1, prem.size());
        for (size_t k = 0; k < ends.size(); ++k)
            for (int a = 0; a < 3; ++a)
                ASSERT_EQ(ends[k][a], static_cast<long>(roundHalfEven(prem[k + 1][a]))) << name << " " << k;
        EXPECT_EQ(ends.back(), (std::array<long, 3>{0, 0, 0})) << name;
    }
}

TEST(Details, PathRulesAndShortFiles) {
    EXPECT_EQ(detailsPathFor("a/piece.def"), "a/piece.det");
    EXPECT_EQ(detailsPathFor("piece.DEF"), "piece.det");
    EXPECT_EQ(detailsPathFor("piece.DEF", false), "piece.DEF.det");
    EXPECT_EQ(detailsPathFor("piece.Def"), "piece.Def.det");
    test::TempDir dir;
    test::spit(dir.file("short.det"), "\"1\",\"2\",\"3\"\r\n");
    auto d = readDetails(dir.file("short.det"));
    EXPECT_FALSE(d);
    EXPECT_NE(d.error().find("incomplet"), std::string::npos);
    Details full;
    for (int i = 0; i < 10; ++i) full.fields[i] = "champ " + std::to_string(i) + ",5";
    ASSERT_TRUE(replaceDetails(dir.file("short.det"), full));
    EXPECT_EQ(*readDetails(dir.file("short.det")), full);
}
