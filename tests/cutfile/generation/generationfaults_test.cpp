// Generation against its limits and a failing disk: sizes refused before any tick is written,
// absurd step counts, a disk that fills, a folder that refuses files, a rename that fails,
// and the process killed in the middle.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/files.h"
#include "cutfile/generation/generation.h"
#include "cutfilerig.h"

using namespace vornelle;

namespace {

struct Rig : test::GenerationRig {
    // One cut to (x, y) and back to the origin.
    void fra(const std::string& x, const std::string& y = "0") {
        test::spit(in.text1, "0,0,0\r\n\"" + x + "\",\"" + y + "\",\"0\"\r\n0,0,0\r\n");
    }
    GenerationResult run() { return generate(in, work, pointer); }
    // Nothing of the generation is left: no cut file, no details, no work file.
    void expectNothingLeft() {
        for (const char* ext : {".def", ".det", ".def.partiel"})
            EXPECT_FALSE(fileExists(in.Text9 + ext)) << ext;
        for (const char* name : kWorkFiles) EXPECT_FALSE(fileExists(work + name)) << name;
    }
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(GenerationSize, RefusedBeforeWritingWhenTheCutFileWouldNotFit) {
    Rig r;
    // 1000 mm at a million steps per mm: 1E9 ticks, 5 bytes each at most in the cut file
    // and 32 in the work files.
    r.in.Text6 = "1000000";
    r.fra("1000");
    test::FaultyDisk disk;
    disk.free = 3'000'000'000;
    GenerationResult g = r.run();
    EXPECT_FALSE(g.ok);
    EXPECT_TRUE(
        contains(g.message.text, "Le fichier découpe demanderait 10 Go, il reste 3 Go sur le disque."))
        << g.message.text;
    // Only the points and segments were written, then removed: no tick at all.
    EXPECT_LT(disk.written, 1000u);
    r.expectNothingLeft();

    // Room for the cut file but not for its work files beside it.
    disk.free = 12'500'000'000;
    g = r.run();
    EXPECT_TRUE(contains(g.message.text,
                         "Le fichier découpe demanderait 10 Go et ses fichiers de travail 64 Go, "
                         "il reste 12 Go sur le disque."))
        << g.message.text;
    r.expectNothingLeft();
}

TEST(GenerationSize, SmallNeedsInMegabytesAndAFittingDiskGenerates) {
    Rig r;
    r.fra("100000");  // 2E5 ticks: at most 1 Mo of cut file, 6,4 Mo of work files
    test::FaultyDisk disk;
    disk.free = 2'000'000;
    GenerationResult g = r.run();
    EXPECT_TRUE(contains(g.message.text,
                         "Le fichier découpe demanderait 1 Mo et ses fichiers de travail 7 Mo, "
                         "il reste 2 Mo sur le disque."))
        << g.message.text;
    r.expectNothingLeft();
    disk.free = 8'000'000;
    g = r.run();
    ASSERT_TRUE(g.ok) << g.message.text;
    EXPECT_EQ(g.ticks, 200000u);
    EXPECT_LE(g.bytesWritten, 8'000'000u);
}

TEST(GenerationSize, AbsurdStepCountsAreRefusedWithTheirCause) {
    struct Case {
        const char *x, *scale, *spmm, *expected;
    } cases[] = {
        {"2147483648", "1", "1", "le point est à 2147483648 pas sur l'axe X"},
        {"1", "1E308", "1", "le point est à 1E+308 pas sur l'axe X"},
        {"10", "1E308", "1", "le point est à plus de 1E+308 pas sur l'axe X"},
        {"1", "1", "2147483648", "le point est à 2147483648 pas sur l'axe X"},
        {"1", "1", "1E308", "le point est à 1E+308 pas"},
    };
    for (const Case& c : cases) {
        Rig r;
        r.in.Text4 = c.scale;
        r.in.Text6 = c.spmm;
        r.fra(c.x);
        GenerationResult g = r.run();
        EXPECT_FALSE(g.ok);
        EXPECT_TRUE(contains(g.message.text, c.expected)) << g.message.text;
        EXPECT_TRUE(contains(g.message.text, "ligne 2")) << g.message.text;
        r.expectNothingLeft();
    }
    // The largest position allowed still gives a size that is checked, not a crash.
    Rig edge;
    edge.fra("2147483647");
    test::FaultyDisk disk;
    disk.free = 1'000'000'000;
    GenerationResult g = edge.run();
    EXPECT_TRUE(contains(g.message.text, "Le fichier découpe demanderait 22 Go, il reste 1 Go"))
        << g.message.text;
}

TEST(GenerationFaults, DiskFullFolderLockedAndRenameFailedLeaveNothing) {
    for (uint64_t after : {0ull, 100ull, 1'000'000ull, 3'000'000ull}) {
        Rig r;
        r.fra("50000", "20000");
        test::FaultyDisk disk;
        disk.fullAfter = after;
        GenerationResult g = r.run();
        EXPECT_FALSE(g.ok) << after;
        EXPECT_TRUE(contains(g.message.text, "plus de place sur le support")) << after << g.message.text;
        EXPECT_TRUE(contains(g.message.text, "Aucun fichier découpe n'a été créé.")) << g.message.text;
        EXPECT_GE(disk.faults, 1);
        r.expectNothingLeft();
    }
    {
        Rig r;
        r.fra("50");
        test::FaultyDisk disk;
        disk.lockedFolder = r.work;
        GenerationResult g = r.run();
        EXPECT_TRUE(contains(g.message.text, "permission refusée")) << g.message.text;
        r.expectNothingLeft();
    }
    {
        Rig r;
        r.fra("50");
        test::FaultyDisk disk;
        disk.failRename = true;
        GenerationResult g = r.run();
        EXPECT_TRUE(contains(g.message.text, "Impossible de nommer le fichier découpe")) << g.message.text;
        r.expectNothingLeft();
    }
    // The same rig generates once the disk is back.
    Rig r;
    r.fra("50");
    {
        test::FaultyDisk disk;
        disk.fullAfter = 0;
        EXPECT_FALSE(r.run().ok);
    }
    EXPECT_TRUE(r.run().ok);
}

// Runs the generation in a child killed by SIGKILL at its first write of `victim`.
void generateKilledAt(Rig& r, const std::string& victim) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        diskLayer().fault = [&victim](DiskLayer::Op op, const std::string& path, uint64_t) {
            if (op == DiskLayer::Op::Write && path == victim) ::kill(::getpid(), SIGKILL);
            return 0;
        };
        r.run();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
}

TEST(GenerationFaults, KilledDuringTheCutFileLeavesOnlyThePartialFile) {
    Rig r;
    r.fra("300000", "1000");
    generateKilledAt(r, r.in.Text9 + ".def.partiel");
    EXPECT_FALSE(fileExists(r.in.Text9 + ".def"));
    EXPECT_TRUE(fileExists(r.in.Text9 + ".def.partiel"));
    // Killed in the streams: not even a partial cut file.
    Rig early;
    early.fra("300000", "1000");
    generateKilledAt(early, early.work + "bit3");
    EXPECT_FALSE(fileExists(early.in.Text9 + ".def"));
    EXPECT_FALSE(fileExists(early.in.Text9 + ".def.partiel"));
}

}  // namespace
