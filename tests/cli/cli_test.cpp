// vornelle-cli as a user runs it: real processes, real files, exit codes and JSON.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "base/numbers.h"
#include "base/version.h"
#include "clirun.h"
#include "config/configmachine.h"
#include "cutfile/toolfields.h"
#include "drawing/import/complete/dxfcomplete.h"
#include "drawing/import/dxfimport.h"
#include "drawing/order/autoorder.h"
#include "drawing/order/cutorder.h"
#include "port/backends/simulatedmachine.h"
#include "testsupport.h"

TEST(Cli, GenerateUsageConfigurationAndSuccess) {
    vornelle::test::TempDir dir;
    vornelle::test::spit(dir.file("d.fra"),
                         "0,0,0\r\n\"1,5\",\"0\",\"0\"\r\n\"1,5\",\"0\",\"1\"\r\n0,0,0\r\n");
    EXPECT_EQ(cli(dir.path(), "").code, 2);
    EXPECT_EQ(cli(dir.path(), "generate d.fra").code, 2);
    EXPECT_EQ(cli(dir.path(), "frobnicate").code, 2);
    EXPECT_EQ(cli(dir.path(), "generate d.fra p --scale 1 --depth 1 --note n --bogus 1").code, 2);

    CliRun none = cli(dir.path(), "generate d.fra p --scale 1 --depth 1 --note n");
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find("Vous devez configurer en fonction de votre machine"), std::string::npos);

    vornelle::test::spit(dir.file("data/vrnl1.cfg"), kConfig);
    CliRun ok = cli(dir.path(), "generate d.fra p --scale 1 --depth '0,5' --note 'mon essai' --feed-in 30");
    EXPECT_EQ(ok.code, 0) << ok.err;
    // 300 steps out, 0 steps of Z (leading number of 0,5 is 0), 300 back.
    EXPECT_EQ(ok.out, "{\"def\":\"p.def\",\"det\":\"p.det\",\"ticks\":600}\n");
    EXPECT_EQ(vornelle::test::slurp(dir.file("p.det")).substr(0, 12), "\"30\",\"d.fra\"");

    CliRun again = cli(dir.path(), "generate d.fra p --scale 1 --depth 1 --note n");
    EXPECT_EQ(again.code, 1);
    EXPECT_EQ(again.err, "Nom de fichier découpe deja utilisé !\n");
}

TEST(Cli, SampleDrawingFromImportToCutFileToPlay) {
    vornelle::test::TempDir dir;
    configureHome(dir);
    std::string sample = std::string(SAMPLES_DIR) + "/dxf/gh-skymakerolof-dxf__squareandcircle.dxf";
    CliRun imp = cli(dir.path(), "import-dxf '" + sample + "' piece");
    ASSERT_EQ(imp.code, 0) << imp.err;
    EXPECT_EQ(imp.out, "{\"fra\":\"piece.fra\",\"cuts\":2,\"records\":83,\"skipped\":{}}\n");
    EXPECT_EQ(cli(dir.path(), "import-dxf '" + sample + "' piece").err, "Nom deja utilisé \n");

    CliRun gen = cli(dir.path(), "generate piece.fra coupe --scale 1 --depth 3 --note 'carré et cercle'");
    ASSERT_EQ(gen.code, 0) << gen.err;
    CliRun play = cli(dir.path(), "play coupe.def --trace trace.txt");
    ASSERT_EQ(play.code, 0) << play.err;
    // The drawing read from the FRA file starts and ends at the origin: so does the machine.
    EXPECT_NE(play.out.find("\"position\":{\"x\":0,\"y\":0,\"z\":0}"), std::string::npos) << play.out;
    size_t ticks = std::stoul(gen.out.substr(gen.out.find("\"ticks\":") + 8));
    EXPECT_NE(
        play.out.find("\"records\":" + std::to_string(ticks) + ",\"writes\":" + std::to_string(2 * ticks)),
        std::string::npos)
        << play.out;
    std::string trace = vornelle::test::slurp(dir.file("trace.txt"));
    EXPECT_EQ(static_cast<size_t>(std::count(trace.begin(), trace.end(), '\n')), 2 * ticks);

    vornelle::test::spit(dir.file("p.dat"), "T\n1.0 0.0\n0.5 0.1\n0.0 0.0\n");
    CliRun dat = cli(dir.path(), "import-dat p.dat profil");
    EXPECT_EQ(dat.out, "{\"fra\":\"profil.fra\",\"cuts\":1,\"records\":5,\"skipped\":{}}\n");
    EXPECT_EQ(cli(dir.path(), "import-dat p.DAT x").err, "choisir un fichier DAT\n");
    EXPECT_EQ(cli(dir.path(), "play missing.def").err, "Fichier introuvable !\n");
    EXPECT_EQ(cli(dir.path(), "play").code, 2);
}

TEST(Cli, HelpVersionAndUsageErrors) {
    vornelle::test::TempDir dir;
    CliRun help = cli(dir.path(), "--help");
    EXPECT_EQ(help.code, 0);
    for (const char* c : {"generate", "play", "import-dxf", "import-dat", "--version"})
        EXPECT_NE(help.out.find(c), std::string::npos) << c;
    // How to reach a real port: the driver and the group the device belongs to.
    for (const char* c : {"sudo modprobe ppdev", "sudo adduser $USER lp"})
        EXPECT_NE(help.out.find(c), std::string::npos) << c;
    for (const char* c : {"generate", "play", "import-dxf", "import-dat"}) {
        CliRun h = cli(dir.path(), std::string(c) + " --help");
        EXPECT_EQ(h.code, 0) << c;
        EXPECT_NE(h.out.find(std::string("vornelle-cli ") + c), std::string::npos) << h.out;
    }
    EXPECT_NE(cli(dir.path(), "import-dat --help").out.find("--entry INDICE=NUMERO"), std::string::npos);
    CliRun version = cli(dir.path(), "--version");
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("vornelle-cli ") + vornelle::kVersion + "\n");

    CliRun unknown = cli(dir.path(), "frobnicate x");
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.err.rfind("commande inconnue : frobnicate\n", 0), 0u) << unknown.err;
    EXPECT_EQ(cli(dir.path(), "generate d.fra p --scale 1 --depth 1 --note").code, 2);
    EXPECT_EQ(cli(dir.path(), "play a.def b.def").code, 2);
    EXPECT_EQ(cli(dir.path(), "import-dxf a.dxf").code, 2);
    EXPECT_EQ(cli(dir.path(), "import-dxf a.dxf p --bogus").code, 2);
    for (const char* bad : {"5", "=1", "x=1", "-1=1", "1.5=2"}) {
        CliRun r = cli(dir.path(), std::string("import-dat a.dat p --entry '") + bad + "'");
        EXPECT_EQ(r.code, 2) << bad;
        EXPECT_NE(r.err.find("INDICE=NUMERO"), std::string::npos) << r.err;
    }
    // A negative value is a value, not an option.
    configureHome(dir);
    CliRun negative = cli(dir.path(), "generate d.fra p --scale 1 --depth -1 --note n");
    EXPECT_EQ(negative.code, 1);  // the generation ran and found no drawing
    EXPECT_EQ(negative.err.rfind("Le fichier FRA d.fra", 0), 0u) << negative.err;
}

TEST(Cli, EntryPointsReorderTheSampleAndTheCutFollowsThem) {
    vornelle::test::TempDir dir;
    configureHome(dir);
    // The square (records 76 to 82) first from its corner 10,10; the circle (0 to 75) next,
    // from its point at 180 degrees, 0,5.
    CliRun imp = cli(dir.path(), "import-dxf '" + kSquareAndCircle + "' piece --entry 79=1 --entry 37=2");
    ASSERT_EQ(imp.code, 0) << imp.err;
    EXPECT_EQ(imp.out, "{\"fra\":\"piece.fra\",\"cuts\":2,\"records\":83,\"skipped\":{}}\n");

    // The same choices made through the engine the drawing page calls give the same file.
    vornelle::Drawing d;
    ASSERT_TRUE(vornelle::importDxf(kSquareAndCircle, dir.path(), d).ok);
    ASSERT_TRUE(vornelle::validate(d, 79, "1"));
    ASSERT_TRUE(vornelle::validate(d, 37, "2"));
    ASSERT_TRUE(vornelle::reorganise(d));
    ASSERT_TRUE(vornelle::writeFra(d, dir.file("engine.fra")));
    EXPECT_EQ(vornelle::test::slurp(dir.file("piece.fra")), vornelle::test::slurp(dir.file("engine.fra")));

    ASSERT_EQ(cli(dir.path(), "import-dxf '" + kSquareAndCircle + "' plain").code, 0);
    for (const char* name : {"plain", "piece"}) {
        std::string n = name;
        CliRun gen = cli(dir.path(), "generate " + n + ".fra " + n + " --scale 1 --depth 3 --note essai");
        ASSERT_EQ(gen.code, 0) << gen.err;
        CliRun play = cli(dir.path(), "play " + n + ".def --trace " + n + ".txt");
        ASSERT_EQ(play.code, 0) << play.err;
        EXPECT_NE(play.out.find("\"position\":{\"x\":0,\"y\":0,\"z\":0}"), std::string::npos) << play.out;
    }
    // 200 steps per millimetre on X and Y.
    using P = std::vector<std::array<long, 2>>;
    EXPECT_EQ(plunges(dir.path(), dir.file("plain.txt")), (P{{2000, 1000}, {0, 0}}));
    EXPECT_EQ(plunges(dir.path(), dir.file("piece.txt")), (P{{2000, 2000}, {0, 1000}}));
}

TEST(Cli, RefusedEntriesWriteNothing) {
    vornelle::test::TempDir dir;
    std::filesystem::create_directories(dir.file("data"));
    auto refused = [&](const std::string& args, int code, const std::string& err) {
        CliRun r = cli(dir.path(), args);
        EXPECT_EQ(r.code, code) << args;
        EXPECT_EQ(r.err, err) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_FALSE(std::filesystem::exists(dir.file("p.fra"))) << args;
    };
    std::string dxf = "import-dxf '" + kSquareAndCircle + "' p ";
    refused(dxf + "--entry 83=1", 2, "--entry 83=1 : le dessin a 83 enregistrements, numérotés de 0 à 82\n");
    refused(dxf + "--entry 79=1 --entry 75=2", 1,
            "Ne pas mettre de point d'entrée hors de la matière (quand les coordonnées Z sont à 0)\n");
    refused(dxf + "--entry 0=1", 1,
            "Ne pas mettre de point d'entrée hors de la matière (quand les coordonnées Z sont à 0)\n");
    refused(dxf + "--entry 79=un", 1,
            "Le numéro d'ordre de la découpe doit être un nombre (par exemple 1, 2, 3...).\n");
    refused(dxf + "--entry 79=1", 1, "le nombre de découpes est incompatible avec le fichier d'origine\n");
    refused(dxf + "--entry 79=1 --entry 80=2", 1,
            "le nombre de découpes est incompatible avec le fichier d'origine\n");
    // A real profile is open at its trailing edge: entered only at its ends.
    std::string dat = "import-dat '" + std::string(SAMPLES_DIR) + "/dat/gen-xfoil__naca0012_save.dat' p ";
    refused(dat + "--entry 80=1", 1, "Point d'entrée impossible : cette découpe n'est pas fermée.\n");
    CliRun end = cli(dir.path(), dat + "--entry 160=1");
    EXPECT_EQ(end.code, 0) << end.err;
    EXPECT_EQ(end.out, "{\"fra\":\"p.fra\",\"cuts\":1,\"records\":162,\"skipped\":{}}\n");
}

TEST(Cli, PacedPlayWritesTheSameBytesAtTheRunsPace) {
    vornelle::test::TempDir dir;
    configureHome(dir);
    vornelle::test::spit(dir.file("d.fra"),
                         "0,0,0\r\n\"1,5\",\"0\",\"0\"\r\n\"1,5\",\"0\",\"1\"\r\n0,0,0\r\n");
    CliRun gen = cli(dir.path(), "generate d.fra p --scale 1 --depth 1 --note n");
    ASSERT_EQ(gen.code, 0) << gen.err;
    size_t ticks = std::stoul(gen.out.substr(gen.out.find("\"ticks\":") + 8));
    CliRun fast = cli(dir.path(), "play p.def --trace fast.txt");
    ASSERT_EQ(fast.code, 0) << fast.err;
    CliRun paced = cli(dir.path(), "play p.def --paced --trace paced.txt --timing timing.txt");
    ASSERT_EQ(paced.code, 0) << paced.err;
    EXPECT_EQ(paced.out, fast.out);
    EXPECT_EQ(vornelle::test::slurp(dir.file("paced.txt")), vornelle::test::slurp(dir.file("fast.txt")));
    // One line per write: nanoseconds since the first write, then the byte. Feeds 20 and 10
    // make pauses of V - 1 = 79 and 89 us; the schedule holds every write at least half a
    // pause, so no two writes are closer than 39 us.
    std::ifstream timing(dir.file("timing.txt"));
    std::ifstream bytes(dir.file("paced.txt"));
    long long t, last = -1;
    int v, expected;
    size_t lines = 0;
    while (timing >> t >> v) {
        ASSERT_TRUE(bytes >> expected);
        EXPECT_EQ(v, expected);
        if (last >= 0) {
            EXPECT_GE(t - last, 39000) << "write " << lines;
        } else {
            EXPECT_EQ(t, 0);
        }
        last = t;
        ++lines;
    }
    EXPECT_EQ(lines, 2 * ticks);
}

TEST(Cli, ExtendedImportJoinsTheWingRibsAndKeepsTheClassicAsItWas) {
    vornelle::test::TempDir dir;
    const std::string rib =
        "'" + std::string(SAMPLES_DIR) + "/dxf/gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf' ";
    CliRun classic = cli(dir.path(), "import-dxf " + rib + "classic");
    ASSERT_EQ(classic.code, 0) << classic.err;
    EXPECT_EQ(
        classic.out,
        "{\"fra\":\"classic.fra\",\"cuts\":149,\"records\":956,\"skipped\":{\"ARC\":72,\"LWPOLYLINE\":238,"
        "\"VIEWPORT\":1}}\n");
    CliRun halves = cli(dir.path(), "import-dxf " + rib + "halves --extended");
    ASSERT_EQ(halves.code, 0) << halves.err;
    EXPECT_EQ(halves.out,
              "{\"fra\":\"halves.fra\",\"cuts\":63,\"records\":3112,\"skipped\":{},\"closed\":27,\"open\":36,"
              "\"units\":\"mm\"}\n");
    // --join with a comma or a point; options after or before the arguments.
    CliRun comma = cli(dir.path(), "import-dxf --extended " + rib + "comma --join 0,51");
    CliRun point = cli(dir.path(), "import-dxf " + rib + "point --join 0.51 --extended --tolerance 0,01");
    ASSERT_EQ(comma.code, 0) << comma.err;
    ASSERT_EQ(point.code, 0) << point.err;
    EXPECT_NE(comma.out.find("\"cuts\":45,\"records\":3040,\"skipped\":{},\"closed\":45,\"open\":0"),
              std::string::npos)
        << comma.out;
    EXPECT_EQ(vornelle::test::slurp(dir.file("comma.fra")), vornelle::test::slurp(dir.file("point.fra")));
    // The file is the engine's drawing, as the drawing page would save it.
    vornelle::Drawing d;
    vornelle::CompleteOptions o;
    o.join = 0.51;
    ASSERT_TRUE(vornelle::importDxfComplete(
                    std::string(SAMPLES_DIR) + "/dxf/gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf", o, d)
                    .ok);
    ASSERT_TRUE(vornelle::writeFra(d, dir.file("engine.fra")));
    EXPECT_EQ(vornelle::test::slurp(dir.file("comma.fra")), vornelle::test::slurp(dir.file("engine.fra")));

    // Usage errors and refusals write nothing.
    CliRun bad = cli(dir.path(), "import-dxf " + rib + "bad --extended --tolerance un");
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err, "--tolerance un : un nombre est attendu (0,01 ou 0.01)\n");
    CliRun needs = cli(dir.path(), "import-dxf " + rib + "bad --join 0,5");
    EXPECT_EQ(needs.code, 2);
    EXPECT_NE(needs.err.find("--join demande --extended"), std::string::npos) << needs.err;
    CliRun zero = cli(dir.path(), "import-dxf " + rib + "bad --extended --tolerance 0");
    EXPECT_EQ(zero.code, 1);
    CliRun missing = cli(dir.path(), "import-dxf nulle-part.dxf bad --extended");
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "Fichier introuvable !\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.fra")));
}

TEST(Cli, EntryPointsAfterAnExtendedImport) {
    vornelle::test::TempDir dir;
    // The complete import of the square-and-circle sample: the circle (records 0 to 52, its
    // plunge at 1) then the square (53 to 59).
    CliRun imp =
        cli(dir.path(), "import-dxf '" + kSquareAndCircle + "' piece --extended --entry 56=1 --entry 20=2");
    ASSERT_EQ(imp.code, 0) << imp.err;
    EXPECT_EQ(imp.out,
              "{\"fra\":\"piece.fra\",\"cuts\":2,\"records\":60,\"skipped\":{},\"closed\":2,\"open\":0,"
              "\"units\":\"mm\"}\n");
    vornelle::Drawing d;
    ASSERT_TRUE(vornelle::importDxfComplete(kSquareAndCircle, {}, d).ok);
    ASSERT_TRUE(vornelle::validate(d, 56, "1"));
    ASSERT_TRUE(vornelle::validate(d, 20, "2"));
    ASSERT_TRUE(vornelle::reorganise(d));
    ASSERT_TRUE(vornelle::writeFra(d, dir.file("engine.fra")));
    EXPECT_EQ(vornelle::test::slurp(dir.file("piece.fra")), vornelle::test::slurp(dir.file("engine.fra")));
}

namespace {
// A configured home with the square and circle sample made into coupe.def at scale 1, 3 mm deep.
void sampleCut(const vornelle::test::TempDir& dir) {
    configureHome(dir);
    ASSERT_EQ(cli(dir.path(), "import-dxf '" + kSquareAndCircle + "' piece").code, 0);
    ASSERT_EQ(cli(dir.path(), "generate piece.fra coupe --scale 1 --depth 3 --note n").code, 0);
}
}  // namespace

TEST(Cli, CheckDecodesTheSampleCutAsPlayStepsItAndGivesItsDuration) {
    vornelle::test::TempDir dir;
    ASSERT_NO_FATAL_FAILURE(sampleCut(dir));
    CliRun play = cli(dir.path(), "play coupe.def");
    ASSERT_EQ(play.code, 0) << play.err;
    CliRun check = cli(dir.path(), "check coupe.def");
    ASSERT_EQ(check.code, 0) << check.err;
    auto p = nlohmann::json::parse(play.out), c = nlohmann::json::parse(check.out);
    EXPECT_EQ(c["records"], p["records"]);
    for (const char* axis : {"x", "y", "z"}) {
        EXPECT_EQ(c["position"]["steps"][axis], 0) << axis;
        EXPECT_EQ(c["position"]["mm"][axis], 0.0) << axis;
        EXPECT_EQ(c["steps"][axis]["plus"].get<long>() + c["steps"][axis]["minus"].get<long>(),
                  p["steps"][axis].get<long>())
            << axis;
        EXPECT_GT(c["peak_rate"][axis].get<double>(), 0) << axis;
    }
    // The square and circle drawing at scale 1, 3 mm deep, in millimetres.
    EXPECT_GT(c["extents"]["x"]["max"].get<double>() - c["extents"]["x"]["min"].get<double>(), 1);
    EXPECT_DOUBLE_EQ(c["extents"]["z"]["max"].get<double>(), 3.0);
    EXPECT_EQ(c["ticks"]["in"].get<long>() + c["ticks"]["out"].get<long>(), c["records"].get<long>());
    EXPECT_GT(c["length"]["in"].get<double>(), 0);
    EXPECT_TRUE(c["problems"].empty());
    double seconds = c["duration"].get<double>();
    EXPECT_GT(seconds, 0);
    // A slower feed in the material (higher pause) makes the cut longer; travel untouched.
    CliRun slow = cli(dir.path(), "check coupe.def --feed-in 5 --feed-out 10");
    ASSERT_EQ(slow.code, 0) << slow.err;
    EXPECT_GT(nlohmann::json::parse(slow.out)["duration"].get<double>(), seconds);

    EXPECT_EQ(cli(dir.path(), "check").code, 2);
    CliRun feed = cli(dir.path(), "check coupe.def --feed-in 120");
    EXPECT_EQ(feed.code, 1);
    EXPECT_NE(feed.err.find("invalide"), std::string::npos) << feed.err;
    vornelle::test::spit(dir.file("bad.def"), "2\r\nxx\r\n");
    CliRun bad = cli(dir.path(), "check bad.def");
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("Fichier découpe bad.def"), std::string::npos) << bad.err;
    EXPECT_EQ(cli(dir.path(), "check missing.def").code, 1);
}

TEST(Cli, CheckPngDrawsTheDecodedPathAtTheAskedSize) {
    vornelle::test::TempDir dir;
    ASSERT_NO_FATAL_FAILURE(sampleCut(dir));
    CliRun r = cli(dir.path(), "check coupe.def --png trajet.png --size 320x240");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(nlohmann::json::parse(r.out)["records"].is_null());
    QImage image(QString::fromStdString(dir.file("trajet.png")));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(320, 240));
    // Cuts are black, travels red, the rest white or grey: the path shows both.
    long black = 0, red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            if (qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60) ++black;
            if (qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60) ++red;
        }
    EXPECT_GT(black, 400);  // the square and the circle, 10 mm across in about 190 pixels
    EXPECT_GT(red, 20);
    // The 10 mm square's left side: a column of black pixels as tall as the square.
    int tallest = 0;
    for (int x = 0; x < image.width(); ++x) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            n += qRed(image.pixel(x, y)) < 60 && qGreen(image.pixel(x, y)) < 60;
        tallest = std::max(tallest, n);
    }
    EXPECT_GT(tallest, 150);
    EXPECT_EQ(cli(dir.path(), "check coupe.def --png t.png --size 10x10").code, 2);
    EXPECT_EQ(cli(dir.path(), "check coupe.def --png t.png --size large").code, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("t.png")));
    EXPECT_EQ(cli(dir.path(), "check coupe.def --png /nonexistent/t.png").code, 1);
}

TEST(Cli, LatencyCountsEveryPauseInItsHistogramAndRefusesBadOptions) {
    vornelle::test::TempDir dir;
    CliRun run = cli(dir.path(), "latency --seconds 0,05 --delay-us 50");
    ASSERT_EQ(run.code, 0) << run.err;
    auto j = nlohmann::json::parse(run.out);
    long total = 0;
    for (const auto& b : j["histogram"]) total += b["count"].get<long>();
    EXPECT_EQ(total, j["pauses"].get<long>());
    EXPECT_GT(total, 0);
    EXPECT_NEAR(j["pause_us"].get<double>(), 50, 0.1);
    EXPECT_LE(j["median_us"].get<double>(), j["p99_us"].get<double>());
    EXPECT_LE(j["p99_us"].get<double>(), j["max_us"].get<double>());
    EXPECT_EQ(j["verdict"].get<std::string>().rfind("Rythme", 0), 0u);
    EXPECT_EQ(cli(dir.path(), "latency --seconds -1").code, 2);
    EXPECT_EQ(cli(dir.path(), "latency --delay-us 0").code, 2);
}
