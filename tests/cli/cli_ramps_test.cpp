// vornelle-cli generate with the ramps' options or settings file: NOM.rythme beside an
// unchanged cut file, `check` taking its duration from it; the five options go together.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "clirun.h"
#include "cutfile/pacing/pacingfile.h"

namespace {

const std::string kRamps = " --accel-x 500 --accel-y 500,5 --accel-z 200 --start-speed 5 --corner 0.05";

struct RampCase {
    std::string options;
    bool settingsFile;
    int code;
    bool paced;
    std::string error;
};

TEST(CliRamps, TheFiveOptionsOrTheSettingsFileWriteThePacingFileAndCheckFollowsIt) {
    vornelle::test::TempDir dir;
    configureHome(dir);
    ASSERT_EQ(cli(dir.path(), "import-dxf '" + kSquareAndCircle + "' d").code, 0);
    ASSERT_EQ(cli(dir.path(), "generate d.fra plain --scale 1 --depth 1 --note n").code, 0);
    ASSERT_FALSE(std::filesystem::exists(dir.file("plain.rythme")));
    auto plain = nlohmann::json::parse(cli(dir.path(), "check plain.def").out);
    const RampCase cases[] = {
        {kRamps, false, 0, true, ""},
        {"", true, 0, true, ""},
        {kRamps, true, 0, true, ""},
        {" --accel-x 500 --accel-y 500 --accel-z 200 --start-speed 5", false, 2, false, "vont ensemble"},
        {" --accel-x 500 --accel-y abc --accel-z 200 --start-speed 5 --corner 0", false, 2, false,
         "Accélération Y \"abc\" invalide"},
        {" --accel-x 500 --accel-y 500 --accel-z 200 --start-speed 0 --corner 0", false, 2, false,
         "Vitesse de démarrage \"0\" invalide"},
    };
    int n = 0;
    for (const RampCase& c : cases) {
        const std::string name = "r" + std::to_string(n++);
        if (c.settingsFile)
            vornelle::test::spit(dir.file("data/vrnlrampes.cfg"),
                                 "\"400\",\"400\",\"100\",\"4\",\"0,02\"\r\n");
        else
            std::filesystem::remove(dir.file("data/vrnlrampes.cfg"));
        CliRun gen = cli(dir.path(), "generate d.fra " + name + " --scale 1 --depth 1 --note n" + c.options);
        ASSERT_EQ(gen.code, c.code) << c.options << gen.err;
        EXPECT_NE(gen.err.find(c.error), std::string::npos) << gen.err;
        EXPECT_EQ(std::filesystem::exists(dir.file(name + ".rythme")), c.paced) << c.options;
        if (!c.paced) {
            EXPECT_FALSE(std::filesystem::exists(dir.file(name + ".det"))) << c.options;
            continue;
        }
        // The cut file keeps its bytes; the ramps only lengthen the pauses.
        EXPECT_EQ(vornelle::test::slurp(dir.file(name + ".def")),
                  vornelle::test::slurp(dir.file("plain.def")));
        auto planned = nlohmann::json::parse(gen.out);
        auto checked = nlohmann::json::parse(cli(dir.path(), "check " + name + ".def").out);
        EXPECT_EQ(checked["rythme"], name + ".rythme");
        EXPECT_NEAR(checked["duration"].get<double>(), planned["ramps"]["duration"].get<double>(), 1e-6);
        EXPECT_GT(checked["duration"].get<double>(), plain["duration"].get<double>());
    }
}

}  // namespace

TEST(CliRamps, AGcodeJobsPacingFileIsMultipliedIntoFromTheSettingsFile) {
    vornelle::test::TempDir dir;
    configureHome(dir);
    vornelle::test::spit(dir.file("p.nc"), "G21 G90\nG0 X5\nG1 Z-1 F100\nG1 X10 Y5\nM0\nG1 X0 Y0\nG0 Z0\n");
    std::vector<double> durations;
    for (bool ramps : {false, true}) {
        if (ramps)
            vornelle::test::spit(dir.file("data/vrnlrampes.cfg"),
                                 "\"400\",\"400\",\"100\",\"4\",\"0,02\"\r\n");
        const std::string name = ramps ? "r" : "p";
        CliRun gen = cli(dir.path(), "generate-gcode p.nc " + name);
        ASSERT_EQ(gen.code, 0) << gen.err;
        auto p = vornelle::readPacing(dir.file(name + ".rythme"));  // the pause point's own file
        ASSERT_TRUE(p) << p.error();
        int pauses = 0;
        for (const vornelle::PacingRun& r : p->runs) pauses += r.pauseAfter;
        EXPECT_EQ(pauses, 1);
        durations.push_back(nlohmann::json::parse(cli(dir.path(), "check " + name + ".def").out)["duration"]);
    }
    EXPECT_GT(durations[1], durations[0]);
}

// A cut generated again under the name of a ramped one, its cut and details files deleted:
// the old pacing file goes with the new bytes, unless the generation failed before them.
TEST(CliRamps, AGenerationWithoutRampsRemovesThePacingFileOfTheSameName) {
    vornelle::test::TempDir dir;
    configureHome(dir);
    ASSERT_EQ(cli(dir.path(), "import-dxf '" + kSquareAndCircle + "' d").code, 0);
    const struct {
        std::string drawing, ramps;
        int code;
        bool paced;
    } steps[] = {
        {"d.fra", kRamps, 0, true},
        {"absent.fra", "", 1, true},
        {"d.fra", "", 0, false},
    };
    for (const auto& s : steps) {
        std::filesystem::remove(dir.file("g.def"));
        std::filesystem::remove(dir.file("g.det"));
        CliRun gen = cli(dir.path(), "generate " + s.drawing + " g --scale 1 --depth 1 --note n" + s.ramps);
        ASSERT_EQ(gen.code, s.code) << s.drawing << s.ramps << gen.err;
        EXPECT_EQ(std::filesystem::exists(dir.file("g.rythme")), s.paced) << s.drawing << s.ramps;
    }
    CliRun check = cli(dir.path(), "check g.def");
    EXPECT_EQ(check.code, 0) << check.err;
    EXPECT_FALSE(nlohmann::json::parse(check.out).contains("rythme"));
}
