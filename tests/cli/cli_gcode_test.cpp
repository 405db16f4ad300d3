// vornelle-cli generate-gcode: the JSON of a sample, the cut file `check` decodes ending where
// the program ends (X and Y scaled, depths as written), refusals exiting 1 with their line
// and writing nothing, and a usage error for a tolerance that is not one.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "clirun.h"

namespace {

TEST(CliGcode, SamplesBecomeCutFilesAndRefusalsWriteNothing) {
    vornelle::test::TempDir dir;
    configureHome(dir);
    const std::string inch = vornelle::test::sample("gcode/gh-cncjs__circle-inch.gcode");
    CliRun ok = cli(dir.path(), "generate-gcode '" + inch + "' cercle --arc-tolerance 0.02");
    ASSERT_EQ(ok.code, 0) << ok.err;
    auto j = nlohmann::json::parse(ok.out);
    EXPECT_EQ(j["def"], "cercle.def");
    EXPECT_EQ(j["det"], "cercle.det");
    EXPECT_EQ(j["lines"], 11);
    EXPECT_EQ(j["moves"], nlohmann::json::parse(R"({"rapid":4,"linear":2,"arc":4})"));
    EXPECT_EQ(j["feeds"].size(), 2u);
    EXPECT_EQ(j["feeds"][1]["f"], 2.5);
    EXPECT_EQ(j["units"], "inch");
    CliRun check = cli(dir.path(), "check cercle.def");
    ASSERT_EQ(check.code, 0) << check.err;
    auto c = nlohmann::json::parse(check.out);
    EXPECT_EQ(c["records"], j["ticks"]);
    EXPECT_DOUBLE_EQ(c["position"]["mm"]["z"].get<double>(), -6.35);  // ends 0,25 in above zero
    EXPECT_DOUBLE_EQ(c["extents"]["x"]["min"].get<double>(), -12.7);

    const std::string freecad = vornelle::test::sample("gcode/gh-freecad__test_linuxcnc_00.ngc");
    CliRun scaled = cli(dir.path(), "generate-gcode '" + freecad + "' profil --scale 2");
    ASSERT_EQ(scaled.code, 0) << scaled.err;
    c = nlohmann::json::parse(cli(dir.path(), "check profil.def").out);
    EXPECT_DOUBLE_EQ(c["position"]["mm"]["x"].get<double>(), -2.0);
    EXPECT_DOUBLE_EQ(c["position"]["mm"]["y"].get<double>(), 2.0);
    EXPECT_DOUBLE_EQ(c["position"]["mm"]["z"].get<double>(), -15.0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("profil.rythme")));

    const std::string helix = vornelle::test::sample("gcode/gh-cncjs__helical-thread-milling.gcode");
    CliRun refused = cli(dir.path(), "generate-gcode '" + helix + "' filetage");
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err.rfind("ligne 5 : ", 0), 0u) << refused.err;
    EXPECT_EQ(refused.out, "");
    for (const char* name : {"filetage.def", "filetage.det", "filetage.rythme"})
        EXPECT_FALSE(std::filesystem::exists(dir.file(name))) << name;
    EXPECT_EQ(cli(dir.path(), "generate-gcode '" + helix + "' f --arc-tolerance x").code, 2);
}

}  // namespace
