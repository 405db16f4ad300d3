// vornelle-cli as a user runs it: real processes, real files, exit codes and JSON.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "testsupport.h"

namespace {
struct CliRun {
    int code;
    std::string out, err;
};

CliRun cli(const std::string& home, const std::string& args) {
    vornelle::test::TempDir tmp;
    std::string cmd = "cd '" + home + "' && VORNELLE_HOME='" + home + "data' " + CLI_PATH + " " + args +
                      " >'" + tmp.file("out") + "' 2>'" + tmp.file("err") + "'";
    int status = std::system(cmd.c_str());
    return {WEXITSTATUS(status), vornelle::test::slurp(tmp.file("out")),
            vornelle::test::slurp(tmp.file("err"))};
}

const char* kConfig =
    "\"200\",\"200\",\"400\",\"0,01\",\"20\",\"10\",\"2\",\"1\",\"5\",\"1\",\"2\",\"4\",\"8\",\"16\",\"32\","
    "\"64\","
    "\"128\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",0,0,1\r\n";
}  // namespace

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
    std::filesystem::create_directories(dir.file("data"));
    vornelle::test::spit(dir.file("data/vrnl1.cfg"), kConfig);
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
