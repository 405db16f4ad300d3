// The configuration save against a failing disk and a killed process: the old vrnl1.cfg and
// vrnlman.cfg always stay whole, and each failure says why.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/files.h"
#include "config/configmachine.h"
#include "testsupport.h"

using namespace vornelle;

namespace {

configmachine record(const char* pasmm) {
    configmachine c;
    for (std::string* t : c.texts()) *t = "1";
    c.pasmmX = pasmm;
    return c;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ConfigFaults, DiskFullLockedFolderAndFailedRenameKeepTheOldFile) {
    test::TempDir dir;
    ASSERT_TRUE(sauveconfig(dir.path(), record("200")));
    ASSERT_TRUE(sauvefleches(dir.path(), {true, false, true}));
    const std::string before = test::slurp(dir.file(kConfigFile));
    const std::string arrows = test::slurp(dir.file(kArrowFile));
    struct Fault {
        const char* name;
        void (*set)(test::FaultyDisk&, const std::string&);
        const char* reason;
    } faults[] = {
        {"disque plein", [](test::FaultyDisk& d, const std::string&) { d.fullAfter = 0; },
         "plus de place sur le support"},
        {"disque plein en cours", [](test::FaultyDisk& d, const std::string&) { d.fullAfter = 5; },
         "plus de place sur le support"},
        {"dossier verrouillé", [](test::FaultyDisk& d, const std::string& f) { d.lockedFolder = f; },
         "permission refusée"},
        {"renommage refusé", [](test::FaultyDisk& d, const std::string&) { d.failRename = true; },
         "Impossible de remplacer le fichier"},
    };
    for (const Fault& f : faults) {
        test::FaultyDisk disk;
        f.set(disk, dir.path());
        Status s = sauveconfig(dir.path(), record("400"));
        EXPECT_FALSE(s) << f.name;
        EXPECT_TRUE(contains(s.message, "La configuration n'a pas pu être enregistrée.")) << s.message;
        EXPECT_TRUE(contains(s.message, f.reason)) << f.name << ": " << s.message;
        Status a = sauvefleches(dir.path(), {false, false, false});
        EXPECT_FALSE(a) << f.name;
        EXPECT_EQ(test::slurp(dir.file(kConfigFile)), before) << f.name;
        EXPECT_EQ(test::slurp(dir.file(kArrowFile)), arrows) << f.name;
        EXPECT_FALSE(fileExists(dir.file(std::string(kConfigFile) + ".nouveau"))) << f.name;
        EXPECT_GE(disk.faults, 1) << f.name;
    }
    EXPECT_EQ(lisconfig(dir.path()).config, record("200"));
    // Once the disk is back the save goes through.
    ASSERT_TRUE(sauveconfig(dir.path(), record("400")));
    EXPECT_EQ(lisconfig(dir.path()).config, record("400"));
}

// Saves in a child killed by SIGKILL at the first operation `at` on a file of the folder.
void saveKilledAt(const std::string& folder, DiskLayer::Op at) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        diskLayer().fault = [at](DiskLayer::Op op, const std::string&, uint64_t) {
            if (op == at) ::kill(::getpid(), SIGKILL);
            return 0;
        };
        sauveconfig(folder, record("999"));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
}

TEST(ConfigFaults, KilledDuringTheSaveLeavesTheOldConfiguration) {
    for (DiskLayer::Op at : {DiskLayer::Op::Create, DiskLayer::Op::Write, DiskLayer::Op::Rename}) {
        test::TempDir dir;
        ASSERT_TRUE(sauveconfig(dir.path(), record("200")));
        const std::string before = test::slurp(dir.file(kConfigFile));
        saveKilledAt(dir.path(), at);
        EXPECT_EQ(test::slurp(dir.file(kConfigFile)), before);
        ConfigRead r = lisconfig(dir.path());
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(r.config, record("200"));
        // The next save replaces whatever the killed one left beside it.
        ASSERT_TRUE(sauveconfig(dir.path(), record("300")));
        EXPECT_EQ(lisconfig(dir.path()).config, record("300"));
        EXPECT_FALSE(fileExists(dir.file(std::string(kConfigFile) + ".nouveau")));
    }
}

}  // namespace
