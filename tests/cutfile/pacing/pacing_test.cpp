// The pacing file: written and read back, refused when damaged or when its cut file changed;
// and the run's own choice of feed from the Z steps, mirrored.
#include <gtest/gtest.h>

#include "cutfile/pacing/pacingfile.h"
#include "cutfile/pacing/runfeed.h"
#include "testsupport.h"

namespace vornelle {
namespace {

TEST(Pacing, WrittenAsPinnedReadBackAndTiedToItsCutFile) {
    test::TempDir dir;
    const std::string def = dir.file("p.def"), rythme = dir.file("p.rythme");
    test::spit(def, "32\r\n32\r\n1\r\n0\r\n48\r\n");
    auto stamp = cutStampOf(def);
    ASSERT_TRUE(stamp.ok());
    EXPECT_EQ(stamp->records, 5u);
    EXPECT_EQ(stamp->digest, fnv1a(kFnvStart, "32\r\n32\r\n1\r\n0\r\n48\r\n", 18));
    EXPECT_EQ(fnv1a(kFnvStart, "a", 1), 0xaf63dc4c8601ec8cull);  // the published FNV-1a 64 of "a"
    Pacing p{
        *stamp,
        {{2, 1, PacingFeed::In}, {1, 1, PacingFeed::In}, {1, 1.5, PacingFeed::Out}, {1, 1, PacingFeed::Out}}};
    ASSERT_TRUE(writePacing(rythme, p).ok());
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(stamp->digest));
    EXPECT_EQ(test::slurp(rythme),
              std::string("RYTHME 1\r\nrecords=5 digest=") + digest + "\r\n3 1 M\r\n1 1.5 H\r\n1 1 H\r\n");
    auto back = readPacing(rythme);
    ASSERT_TRUE(back.ok()) << back.error();
    EXPECT_EQ(back->runs.size(), 3u);
    EXPECT_EQ(back->runs[1].factor, 1.5);
    EXPECT_EQ(pacingMismatch(*back, def), "");
    test::spit(def, "32\r\n32\r\n1\r\n0\r\n49\r\n");
    EXPECT_NE(pacingMismatch(*back, def), "");
}

TEST(Pacing, PausePointsSplitTheRunsAndReadBack) {
    std::vector<PacingRun> runs{{4, 1, PacingFeed::In}, {3, 2, PacingFeed::Out}};
    markPauses(runs, {0, 2, 4, 7, 9});  // before the first record and past the end: ignored
    std::string kept;
    for (const PacingRun& r : runs) kept += std::to_string(r.count) + (r.pauseAfter ? "P " : " ");
    EXPECT_EQ(kept, "2P 2P 3P ");
    test::TempDir dir;
    Pacing p{{7, 1}, runs};
    ASSERT_TRUE(writePacing(dir.file("p.rythme"), p).ok());
    EXPECT_NE(test::slurp(dir.file("p.rythme")).find("2 1 M P\r\n2 1 M P\r\n3 2 H P\r\n"), std::string::npos);
    auto back = readPacing(dir.file("p.rythme"));
    ASSERT_TRUE(back.ok()) << back.error();
    ASSERT_EQ(back->runs.size(), 3u);
    EXPECT_TRUE(back->runs[0].pauseAfter && back->runs[2].pauseAfter);
}

TEST(Pacing, DamagedFilesAreRefused) {
    test::TempDir dir;
    const std::string path = dir.file("p.rythme");
    const char* head = "RYTHME 1\r\nrecords=3 digest=00000000000000ff\r\n";
    for (std::string body :
         {std::string("RYTHME 2\r\nrecords=3 digest=00000000000000ff\r\n3 1 M\r\n"),
          std::string("RYTHME 1\r\nrecords=3 digest=ff\r\n3 1 M\r\n"), head + std::string("2 1 M\r\n"),
          head + std::string("3 0.5 M\r\n"), head + std::string("3 1 X\r\n"),
          head + std::string("0 1 M\r\n3 1 M\r\n"), head + std::string("3 1,5 M\r\n"),
          head + std::string("3 1 M Q\r\n")}) {
        test::spit(path, body);
        EXPECT_FALSE(readPacing(path).ok()) << body;
    }
    test::spit(path, head + std::string("1 1 M\n2 2 H\n"));  // LF alone is read too
    EXPECT_TRUE(readPacing(path).ok());
}

TEST(Pacing, TheRunsFeedFollowsTheZStepsAsTheRunDoes) {
    // Z DIR weight 16, CLOCK 32. Without inversion a step down is 32, up 48; inverted, down 48.
    struct Case {
        bool invZ;
        std::vector<int> records;
        std::string feeds;
    };
    const Case cases[] = {
        {false,
         {1, 3, 32, 1, 48, 1, 32, 16},
         "MMMMHHMM"},                      // at the in-material pace until the first step down
        {false, {48, 1, 32, 48}, "MMMH"},  // a step up first changes nothing
        {true, {32, 1, 48, 2, 32}, "MMMMH"},
        {false, {34, 50, 16, 0}, "MHHH"},  // other lines do not matter
    };
    for (const Case& c : cases) {
        RunFeedTracker run(16, 32, c.invZ);
        std::string got;
        for (int r : c.records) got += static_cast<char>(run.next(r));
        EXPECT_EQ(got, c.feeds);
    }
}

}  // namespace
}  // namespace vornelle
