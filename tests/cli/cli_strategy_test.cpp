// vornelle-cli generate with the cut strategy, on the road a user takes: a sheet of wing ribs
// imported and ordered, cut with a compensated tool in passes with tabs, checked and played.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "clirun.h"
#include "testsupport.h"

TEST(CliStrategy, WingRibsFromImportThroughTheStrategyToPlay) {
    vornelle::test::TempDir dir;
    configureHome(dir);
    const std::string rib =
        "'" + std::string(SAMPLES_DIR) + "/dxf/gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf' ";
    ASSERT_EQ(cli(dir.path(), "import-dxf " + rib + "ribs --extended --join 0,51 --auto-order").code, 0);
    CliRun classic = cli(dir.path(), "generate ribs.fra classic --scale 1 --depth 3 --note n");
    ASSERT_EQ(classic.code, 0) << classic.err;
    EXPECT_EQ(classic.out.find("passes"), std::string::npos);

    const std::string strategy = " --tool-diameter 2 --step-down 1 --tabs 2 --tab-width 4 --tab-height 1.5";
    CliRun gen = cli(dir.path(), "generate ribs.fra coupe --scale 1 --depth 3 --note n" + strategy);
    ASSERT_EQ(gen.code, 0) << gen.err;
    auto j = nlohmann::json::parse(gen.out);
    EXPECT_EQ(j["passes"], 4);  // 1, 1,5 (the tabs' top), 2 and 3 mm
    const auto& c = j["compensation"];
    const int cut = c["outside"].get<int>() + c["inside"].get<int>() + c["on_line"].get<int>();
    EXPECT_EQ(cut + static_cast<int>(c["not_cut"].size()), 45) << gen.out;
    EXPECT_EQ(j["tabs"], 2 * c["outside"].get<int>()) << gen.out;

    // Outlines cut outside: the tool's centre reaches 1 mm further than on the line, to a step
    // (the smallest extents are the origin's, where both start).
    auto extents = [&](const std::string& def) {
        CliRun check = cli(dir.path(), "check " + def);
        EXPECT_EQ(check.code, 0) << check.err;
        return nlohmann::json::parse(check.out)["extents"];
    };
    auto a = extents("classic.def"), b = extents("coupe.def");
    for (const char* axis : {"x", "y"}) {
        EXPECT_NEAR(b[axis]["max"].get<double>(), a[axis]["max"].get<double>() + 1, 0.01 + 1.5 / 200) << axis;
    }
    EXPECT_NEAR(b["z"]["max"].get<double>(), 3, 1.0 / 400);
    CliRun play = cli(dir.path(), "play coupe.def");
    ASSERT_EQ(play.code, 0) << play.err;
    EXPECT_NE(play.out.find("\"position\":{\"x\":0,\"y\":0,\"z\":0}"), std::string::npos) << play.out;

    // Refusals exit 1 with the message and write nothing.
    for (const char* bad :
         {" --tool-diameter -2", " --step-down 0", " --step-down 4", " --tabs 2 --tab-width 4 --tab-height 4",
          " --tabs 1 --tab-width 100000 --tab-height 1"}) {
        CliRun r = cli(dir.path(), std::string("generate ribs.fra refus --scale 1 --depth 3 --note n") + bad);
        EXPECT_EQ(r.code, 1) << bad;
        EXPECT_FALSE(r.err.empty()) << bad;
        EXPECT_FALSE(std::filesystem::exists(dir.file("refus.det"))) << bad;
        EXPECT_FALSE(std::filesystem::exists(dir.file("refus.def"))) << bad;
    }
}
