// `play` on the virtual clock (every pause added exactly to a clock of 10 ns iterations) and
// `play --home-check` on the simulated machine, as a user runs them.
#include <gtest/gtest.h>

#include <fstream>

#include "clirun.h"
#include "cutfile/pacing/pacingfile.h"

namespace {
// A drawing of one cut 1,5 mm along X, generated at `scale` as p.def.
void cutFile(const vornelle::test::TempDir& dir, const std::string& scale) {
    configureHome(dir);
    vornelle::test::spit(dir.file("d.fra"),
                         "0,0,0\r\n\"1,5\",\"0\",\"0\"\r\n\"1,5\",\"0\",\"1\"\r\n0,0,0\r\n");
    CliRun gen = cli(dir.path(), "generate d.fra p --scale " + scale + " --depth 1 --note n");
    ASSERT_EQ(gen.code, 0) << gen.err;
}
}  // namespace

TEST(CliVirtualClock, EveryPauseCountsExactlyWithThePacingFilesFactor) {
    vornelle::test::TempDir dir;
    cutFile(dir, "1");
    ASSERT_EQ(cli(dir.path(), "play p.def --trace bytes.txt").code, 0);
    // Every record at the in-material feed 20 (V = 80, c = 0,01: 7900 iterations) lengthened
    // 2,5 times: 19750 iterations of 10 ns per pause.
    auto stamp = vornelle::cutStampOf(dir.file("p.def"));
    ASSERT_TRUE(stamp);
    vornelle::Pacing pacing{*stamp, {{stamp->records, 2.5, vornelle::PacingFeed::In, false}}};
    ASSERT_TRUE(vornelle::writePacing(dir.file("p.rythme"), pacing));
    CliRun run = cli(dir.path(), "play p.def --paced --virtual-clock --timing t.txt");
    ASSERT_EQ(run.code, 0) << run.err;
    const long long pause = 197500;
    std::ifstream timing(dir.file("t.txt")), bytes(dir.file("bytes.txt"));
    long long t, expected = 0;
    int v, b;
    while (timing >> t >> v) {
        ASSERT_TRUE(bytes >> b);
        ASSERT_EQ(v, b);
        ASSERT_EQ(t, expected);
        expected += pause;
    }
    EXPECT_EQ(expected, 2 * static_cast<long long>(stamp->records) * pause);
    // The clock ends after the last record's second pause.
    EXPECT_NE(run.out.find("\"clock_ns\":" + std::to_string(expected) + "}"), std::string::npos) << run.out;
}

TEST(CliHomeCheck, AnInjectedLossIsFoundAndNoneWithout) {
    vornelle::test::TempDir dir;
    cutFile(dir, "20");  // 6000 X steps out and back, 400 Z steps down and up
    struct Case {
        std::string lose, check;
    };
    const Case cases[] = {
        {"", "{\"x\":0,\"y\":0,\"z\":0,\"verdict\":\"Aucun pas perdu\"}"},
        {"--lose-steps X:1000",
         "{\"x\":6,\"y\":0,\"z\":0,\"verdict\":\"X a perdu 6 pas (0,03 mm) : réduisez la vitesse ou "
         "l'accélération\"}"},
        {"--lose-steps z:100",
         "{\"x\":0,\"y\":0,\"z\":4,\"verdict\":\"Z a perdu 4 pas (0,01 mm) : réduisez la vitesse ou "
         "l'accélération\"}"},
    };
    for (const Case& c : cases) {
        CliRun run = cli(dir.path(), "play p.def --home-check --repeatability 0 " + c.lose);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_NE(run.out.find("\"home_check\":" + c.check + "}"), std::string::npos) << run.out;
        // The cut's own figures are those of a play without the check.
        EXPECT_NE(run.out.find("\"steps\":{\"x\":12000,\"y\":0,\"z\":800}"), std::string::npos) << run.out;
    }
    EXPECT_EQ(cli(dir.path(), "play p.def --home-check --repeatability 0 --lose-steps X:0").code, 1);
    EXPECT_EQ(cli(dir.path(), "play p.def --home-check").err,
              "--home-check demande --repeatability R (en pas).\n");
}
