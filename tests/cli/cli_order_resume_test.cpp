// vornelle-cli on whole roads that reorder or resume a cut: automatic order then generation and
// play, and a cut stopped and resumed whose traces make the uninterrupted one.
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

TEST(Cli, StopAfterThenResumeTracesMakeTheUninterruptedTraceForEveryStopPoint) {
    vornelle::test::TempDir dir;
    configureHome(dir);
    std::string sample = std::string(SAMPLES_DIR) + "/dxf/deb-freecad-common__Square.dxf";
    ASSERT_EQ(cli(dir.path(), "import-dxf '" + sample + "' carre").code, 0);
    CliRun gen = cli(dir.path(), "generate carre.fra c --scale 1 --depth 1 --note n");
    ASSERT_EQ(gen.code, 0) << gen.err;
    CliRun whole = cli(dir.path(), "play c.def --trace whole.txt");
    ASSERT_EQ(whole.code, 0) << whole.err;
    std::string full = vornelle::test::slurp(dir.file("whole.txt"));
    auto wholeJson = nlohmann::json::parse(whole.out);
    uint64_t total = wholeJson["records"];
    ASSERT_GT(total, 10000u);
    ASSERT_GT(wholeJson["steps"]["x"], 0);  // travels, plunges, cuts and lifts
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.reprise")));

    std::vector<uint64_t> stops = {1, 2, 3, total / 2, total - 1, total};
    for (uint64_t n = 5; n < total; n += total / 23) stops.push_back(n);
    for (uint64_t n : stops) {
        SCOPED_TRACE("stop after " + std::to_string(n));
        CliRun a = cli(dir.path(), "play c.def --stop-after " + std::to_string(n) + " --trace a.txt");
        ASSERT_EQ(a.code, 0) << a.err;
        auto aj = nlohmann::json::parse(a.out);
        EXPECT_EQ(aj["records"], n);
        EXPECT_EQ(aj["reprise"], "c.reprise");
        ASSERT_TRUE(std::filesystem::exists(dir.file("c.reprise")));
        CliRun b = cli(dir.path(), "play c.def --resume --trace b.txt");
        ASSERT_EQ(b.code, 0) << b.err;
        EXPECT_EQ(vornelle::test::slurp(dir.file("a.txt")) + vornelle::test::slurp(dir.file("b.txt")), full);
        auto bj = nlohmann::json::parse(b.out);
        // From the start of the cut, as the uninterrupted play gives them.
        EXPECT_EQ(bj["records"], total);
        EXPECT_EQ(bj["position"], wholeJson["position"]);
        EXPECT_EQ(bj["writes"], 2 * (total - n));
        EXPECT_FALSE(bj.contains("reprise"));
        EXPECT_FALSE(std::filesystem::exists(dir.file("c.reprise")));
    }
    CliRun none = cli(dir.path(), "play c.def --resume");
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.err, "Aucune découpe à reprendre : c.reprise introuvable.\n");

    // A cut file changed since the stop is refused and left as it is.
    ASSERT_EQ(cli(dir.path(), "play c.def --stop-after 4").code, 0);
    std::string def = vornelle::test::slurp(dir.file("c.def"));
    vornelle::test::spit(dir.file("c.def"), def + "0\r\n");
    CliRun changed = cli(dir.path(), "play c.def --resume --trace x.txt");
    EXPECT_EQ(changed.code, 1);
    EXPECT_EQ(changed.err,
              "Le fichier découpe c.def a changé depuis l'interruption : la découpe ne peut pas être "
              "reprise.\n");
    EXPECT_EQ(vornelle::test::slurp(dir.file("x.txt")), "");
    EXPECT_TRUE(std::filesystem::exists(dir.file("c.reprise")));
    EXPECT_EQ(cli(dir.path(), "play c.def --stop-after x").code, 2);
}

TEST(Cli, AutoOrderThenGenerateAndPlayEndsAtTheOrigin) {
    vornelle::test::TempDir dir;
    configureHome(dir);
    const std::string rib = std::string(SAMPLES_DIR) + "/dxf/gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf";
    CliRun imp = cli(dir.path(), "import-dxf '" + rib + "' ribs --extended --auto-order");
    ASSERT_EQ(imp.code, 0) << imp.err;
    auto j = nlohmann::json::parse(imp.out);
    EXPECT_EQ(j["cuts"], 63);
    EXPECT_EQ(j["records"], 3112);
    ASSERT_TRUE(j["travel_before"].is_number_float());
    ASSERT_TRUE(j["travel_after"].is_number_float());
    EXPECT_LT(j["travel_after"].get<double>(), j["travel_before"].get<double>());
    // The figures are those of the saved file's records, to the last bit.
    vornelle::Drawing saved;
    ASSERT_TRUE(vornelle::readFra(saved, dir.file("ribs.fra")));
    // Read back, the FRA drawing has an origin record at each end, both out of the material.
    EXPECT_EQ(vornelle::drawingTravel(saved), j["travel_after"].get<double>());
    vornelle::Drawing imported;
    ASSERT_TRUE(vornelle::importDxfComplete(rib, {}, imported).ok);
    EXPECT_EQ(vornelle::drawingTravel(imported), j["travel_before"].get<double>());

    CliRun gen = cli(dir.path(), "generate ribs.fra ribs --scale 1 --depth 3 --note auto");
    ASSERT_EQ(gen.code, 0) << gen.err;
    CliRun play = cli(dir.path(), "play ribs.def --trace ribs.txt");
    ASSERT_EQ(play.code, 0) << play.err;
    EXPECT_NE(play.out.find("\"position\":{\"x\":0,\"y\":0,\"z\":0}"), std::string::npos) << play.out;
    // As many plunges as cuts: every cut made once.
    EXPECT_EQ(plunges(dir.path(), dir.file("ribs.txt")).size(), 63u);
}

TEST(Cli, AutoOrderIsTheEnginesAndRefusedWithEntries) {
    vornelle::test::TempDir dir;
    CliRun imp = cli(dir.path(), "import-dxf '" + kSquareAndCircle + "' piece --auto-order");
    ASSERT_EQ(imp.code, 0) << imp.err;
    vornelle::Drawing d;
    ASSERT_TRUE(vornelle::importDxf(kSquareAndCircle, dir.path(), d).ok);
    vornelle::AutoOrderResult r = vornelle::autoOrder(d);
    ASSERT_TRUE(r.reordered);
    ASSERT_TRUE(vornelle::writeFra(d, dir.file("engine.fra")));
    EXPECT_EQ(vornelle::test::slurp(dir.file("piece.fra")), vornelle::test::slurp(dir.file("engine.fra")));
    nlohmann::ordered_json expected = {{"fra", "piece.fra"},
                                       {"cuts", 2},
                                       {"records", 83},
                                       {"skipped", nlohmann::ordered_json::object()},
                                       {"travel_before", r.travelBefore},
                                       {"travel_after", r.travelAfter}};
    EXPECT_EQ(imp.out, expected.dump() + "\n");

    CliRun both = cli(dir.path(), "import-dxf '" + kSquareAndCircle + "' p --auto-order --entry 79=1");
    EXPECT_EQ(both.code, 2);
    EXPECT_NE(both.err.find("--auto-order et --entry"), std::string::npos) << both.err;
    EXPECT_EQ(both.out, "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("p.fra")));

    // One cut: saved as imported, the travel unchanged.
    const std::string dat = std::string(SAMPLES_DIR) + "/dat/gen-xfoil__naca0012_save.dat";
    CliRun one = cli(dir.path(), "import-dat '" + dat + "' profil --auto-order");
    ASSERT_EQ(one.code, 0) << one.err;
    auto j = nlohmann::json::parse(one.out);
    EXPECT_EQ(j["cuts"], 1);
    EXPECT_EQ(j["travel_after"], j["travel_before"]);
    ASSERT_EQ(cli(dir.path(), "import-dat '" + dat + "' plain").code, 0);
    EXPECT_EQ(vornelle::test::slurp(dir.file("profil.fra")), vornelle::test::slurp(dir.file("plain.fra")));
}
