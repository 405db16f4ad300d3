// The trace and timing files of `play`: refused before the run when the disk (or, for the
// times kept in memory, the limit) cannot hold them, and the times written back exactly.
#include "cli/playoutputs.h"

#include <gtest/gtest.h>

#include <sstream>

#include "testsupport.h"

using namespace vornelle;
using namespace vornelle::cli;

namespace {
struct FreeSpace {
    explicit FreeSpace(uint64_t bytes) {
        diskLayer().freeSpace = [bytes](const std::string&) -> Outcome<uint64_t> { return bytes; };
    }
    ~FreeSpace() { diskLayer().freeSpace = nullptr; }
};
}  // namespace

TEST(PlayOutputs, RefusedWhenTheDiskOrTheMemoryCannotHoldThem) {
    test::TempDir dir;
    const std::string trace = dir.file("t.txt"), timing = dir.file("m.txt");
    // 1,000 records: 2,064 writes, 8,256 bytes of trace and 51,600 of times.
    {
        FreeSpace free(8256);
        EXPECT_EQ(playOutputsShortage(1000, trace, std::nullopt), "");
        EXPECT_EQ(playOutputsShortage(1000, std::nullopt, std::nullopt), "");
        std::string m = playOutputsShortage(1001, trace, std::nullopt);
        EXPECT_NE(m.find("Le fichier trace " + trace + " demanderait"), std::string::npos) << m;
    }
    {
        // One disk for both: each fits alone, not the two together.
        FreeSpace free(51600);
        EXPECT_EQ(playOutputsShortage(1000, std::nullopt, timing), "");
        std::string m = playOutputsShortage(1000, trace, timing);
        EXPECT_NE(m.find("Le fichier des temps " + timing), std::string::npos) << m;
        EXPECT_NE(m.find("avec l'autre fichier"), std::string::npos) << m;
    }
    {
        FreeSpace free(uint64_t{1} << 60);
        // The times are kept in memory: a cut of more writes than the limit is refused, even
        // with room on the disk; a trace alone is not.
        const uint64_t tooMany = kMaxTimedWrites / kWritesPerRecord;
        EXPECT_NE(playOutputsShortage(tooMany, std::nullopt, timing).find("--stop-after"), std::string::npos);
        EXPECT_EQ(playOutputsShortage(tooMany, trace, std::nullopt), "");
        // A record count near 2^64 does not wrap round to a small need.
        EXPECT_NE(playOutputsShortage(UINT64_MAX / 2 + 5, trace, std::nullopt), "");
    }
}

TEST(PlayOutputs, TimesAreWrittenAsNanosecondsFromTheFirstWrite) {
    test::TempDir dir;
    WriteTimes t;
    const auto start = WriteTimes::Clock::now();
    const int n = 300000;  // past the 1 MB pieces the text is written in
    for (int i = 0; i < n; ++i) t.add(start + std::chrono::microseconds(7 * i), static_cast<uint8_t>(i % 256));
    std::ofstream f(dir.file("m.txt"), std::ios::binary);
    ASSERT_TRUE(t.writeTo(f));
    std::istringstream in(test::slurp(dir.file("m.txt")));
    long long ns;
    int byte, count = 0;
    while (in >> ns >> byte) {
        ASSERT_EQ(ns, 7000LL * count);
        ASSERT_EQ(byte, count % 256);
        ++count;
    }
    EXPECT_EQ(count, n);
}
