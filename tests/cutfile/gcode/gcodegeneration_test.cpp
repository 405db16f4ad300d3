// G-code programs into cut files: the samples of several post-processors and small programs in
// their styles follow every move; refusals name their line and write nothing; dwells become
// idle ticks; a job the run's Z tracking would pace wrongly gets its pacing file.
#include "cutfile/gcode/gcodegeneration.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/numbers.h"
#include "cutfile/details.h"
#include "cutfile/pacing/pacingfile.h"
#include "cutfilerig.h"
#include "gcodepath.h"

namespace vornelle {
namespace {

using test::followsProgram;
using test::PathCheck;

// 100 steps per mm on every axis, the weights in order, feeds 20 and 10, c = 0,01: a tick of a
// dwell lasts two pauses of 7900 iterations of 10 ns.
struct GcodeRig : test::GenerationRig {
    GcodeRig() {
        in.Text6 = in.Text3 = in.Text5 = "100";
        in.text1 = dir.file("job.nc");
        o.Text2 = "0,01";
        check.tickSeconds = 2 * 7900 * 10e-9;
    }
    GcodeResult run(const std::string& program) {
        test::spit(in.text1, program);
        return runFile(in.text1);
    }
    GcodeResult runFile(const std::string& path) {
        in.text1 = path;
        in.Text4 = numberText(check.scale, '.');
        o.tolerance = check.tolerance;
        return generateGcode(in, o, work, pointer);
    }
    // Files beside the job (the work folder left out).
    std::vector<std::string> written() const {
        std::vector<std::string> names;
        for (auto& e : std::filesystem::directory_iterator(dir.path()))
            if (e.is_regular_file() && e.path().filename() != "job.nc") names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    GcodeOptions o;
    PathCheck check;
};

TEST(GcodeGeneration, TheSamplesBecomeCutFilesThatFollowEveryMove) {
    struct Case {
        const char* file;
        double scale;
    };
    for (const Case& c : {Case{"gh-bcnc__sample.gcode", 1}, Case{"gh-cncjs__circle-inch.gcode", 1},
                          Case{"gh-freecad__test_linuxcnc_00.ngc", 2}, Case{"gh-linuxcnc__plasmatest.ngc", 1},
                          Case{"gh-pcb2gcode__multivibrator_milldrill_nom6.ngc", 1},
                          Case{"gh-ugs__arc_rword_test.gcode", 1}}) {
        GcodeRig rig;
        rig.check.scale = c.scale;
        GcodeResult r = rig.runFile(test::sample(std::string("gcode/") + c.file));
        ASSERT_TRUE(r.generation.ok) << c.file << ": " << r.generation.message.text;
        EXPECT_TRUE(followsProgram(r.generation.defPath, rig.in.text1, rig.check)) << c.file;
        auto details = readDetails(r.generation.detPath);
        ASSERT_TRUE(details.ok());
        EXPECT_EQ(details->fields[1], rig.in.text1);  // the program where a drawing is named
    }
}

TEST(GcodeGeneration, RefusedProgramsNameTheirLineAndWriteNothing) {
    struct Case {
        const char* program;  // a sample, or a program's text
        const char* message;
    };
    for (const Case& c : {Case{"gh-cncjs__helical-thread-milling.gcode", "ligne 5 : correction de rayon"},
                          Case{"gh-linuxcnc__daisy.ngc", "ligne 3 : sous-programme O"},
                          Case{"G1 Z-1 F100\nG1 X10\nM6 T2\nG1 X0", "ligne 3 : changement d'outil ligne 3"},
                          Case{"M3 S1000\nM5", "Le programme"},
                          Case{"G1 Z-1 F100\nG0 X30000000", "ligne 2 : le point est à 3000000000 pas"}}) {
        GcodeRig rig;
        std::string text = c.program;
        GcodeResult r = text.find(".ngc") != std::string::npos || text.find(".gcode") != std::string::npos
                            ? rig.runFile(test::sample("gcode/" + text))
                            : rig.run(text);
        EXPECT_FALSE(r.generation.ok);
        EXPECT_EQ(r.generation.message.text.rfind(c.message, 0), 0u) << r.generation.message.text;
        EXPECT_EQ(rig.written(), std::vector<std::string>{}) << c.program;
    }
}

TEST(GcodeGeneration, ProgramsInTheStylesOfSeveralPostProcessorsFollowTheirMoves) {
    const char* programs[] = {
        // FreeCAD: G43 H and M6 in the preamble, passes in depth.
        "(FreeCAD)\nG17 G90 G21\nM6 T1\nG43 H1\nM3 S10000\nG0 Z5\nG0 X10 Y10\nG1 Z-1 F100\nG1 X20\nG1 Y20\n"
        "G1 Z-2\nG1 Y10\nG0 Z5\nM5\nM2\n",
        // CamBam: G64 with P, I J arcs, N words.
        "N1 G21 G90 G64 P0.02\nN2 G0 Z3\nN3 G0 X5 Y0\nN4 G1 Z-0.5 F300\nN5 G3 X0 Y5 I-5 J0\nN6 G3 X-5 Y0 I0 "
        "J-5\n"
        "N7 G0 Z3\nN8 M30\n",
        // pcb2gcode: a board outline in inches, no drills.
        "G94\nG20\nG90\nG0 Z0.1\nG0 X0 Y0\nG1 Z-0.06 F10\nG1 X1.5\nG1 Y1\nG1 X0\nG1 Y0\nG0 Z0.1\nM2\n",
        // dxf2gcode: I J arcs clockwise, lower case, spaces.
        "g21\ng0 x10 y0 z2\ng1 z -1 f200\ng2 x 0 y -10 i -10 j 0\ng2 x -10 y 0 i 0 j 10\ng0 z 2\n",
        // Incremental moves.
        "G21 G91\nG0 X5 Y5\nG1 Z-1 F100\nX10\nY10\nX-10\nY-10\nG0 Z1\nG90\n",
        // R arcs, short and long (negative R).
        "G21 G90\nG0 X10\nG1 Z-0.5 F100\nG3 X0 Y10 R10\nG3 X10 Y0 R-10\nG0 Z1\n",
        // Helix entry: full turns by I J going down, then a circle at depth.
        "G21 G90\nG0 X5 Y0 Z1\nG1 Z0 F100\nG2 X5 Y0 Z-1 I-5 J0\nG2 X5 Y0 Z-2 I-5 J0\nG2 X5 Y0 I-5 J0\nG0 "
        "Z1\n",
        // G90.1: absolute arc centres.
        "G21 G90 G90.1\nG0 X10 Y0\nG1 Z-1 F100\nG3 X0 Y10 I0 J0\nG0 Z1\n",
    };
    for (const char* p : programs) {
        GcodeRig rig;
        GcodeResult r = rig.run(p);
        ASSERT_TRUE(r.generation.ok) << p << r.generation.message.text;
        EXPECT_TRUE(followsProgram(r.generation.defPath, rig.in.text1, rig.check)) << p;
    }
}

TEST(GcodeGeneration, ADwellBecomesIdleTicksAtTheInMaterialPace) {
    GcodeRig rig;
    GcodeResult r = rig.run("G1 Z-1 F100\nG4 P0.5\nG1 X1\nG4 P0\n");
    ASSERT_TRUE(r.generation.ok) << r.generation.message.text;
    const uint64_t idle = 3165;  // 0,5 s / 158 µs
    EXPECT_EQ(r.generation.ticks, 100 + idle + 100);
    EXPECT_TRUE(followsProgram(r.generation.defPath, rig.in.text1, rig.check));
    EXPECT_EQ(r.pacingPath, "");  // plunge first, then cut: the run's own tracking is right
}

TEST(GcodeGeneration, ClimbingWhileCuttingComesWithAPacingFileOfTheCutFile) {
    GcodeRig rig;
    GcodeResult r = rig.run("G1 Z-1 F100\nG1 X10 Z-0.5\nG1 X20 Z-1\nG0 Z1\nG0 X0\n");
    ASSERT_TRUE(r.generation.ok) << r.generation.message.text;
    ASSERT_EQ(r.pacingPath, rig.in.Text9 + ".rythme");
    auto p = readPacing(r.pacingPath);
    ASSERT_TRUE(p.ok()) << p.error();
    EXPECT_EQ(pacingMismatch(*p, r.generation.defPath), "");
    EXPECT_EQ(p->cut.records, r.generation.ticks);
    // Plunge, relief and second slope in the material (100 + 1000 + 1000 ticks), then out.
    ASSERT_EQ(p->runs.size(), 2u);
    EXPECT_EQ(p->runs[0].count, 2100u);
    EXPECT_EQ(p->runs[0].feed, PacingFeed::In);
    EXPECT_EQ(p->runs[1].feed, PacingFeed::Out);
    EXPECT_EQ(test::slurp(r.pacingPath).substr(0, 10), "RYTHME 1\r\n");
}

TEST(GcodeGeneration, AnM0BecomesAPausePointAfterTheMovesBeforeIt) {
    GcodeRig rig;
    // Plunge 100 ticks, 0,5 s of dwell (3165 idle ticks), cut 100, M0, cut 100, M1 at the end.
    GcodeResult r = rig.run("G1 Z-1 F100\nG4 P0.5\nG1 X1\nM0\nG1 X2\nM1\nM30\n");
    ASSERT_TRUE(r.generation.ok) << r.generation.message.text;
    ASSERT_NE(r.pacingPath, "");  // the run's feed would be right: the pause points need it
    auto p = readPacing(r.pacingPath);
    ASSERT_TRUE(p.ok()) << p.error();
    std::vector<uint64_t> pausedAfter;
    uint64_t at = 0;
    for (const PacingRun& run : p->runs) {
        at += run.count;
        if (run.pauseAfter) pausedAfter.push_back(at);
    }
    EXPECT_EQ(pausedAfter, (std::vector<uint64_t>{100 + 3165 + 100, 100 + 3165 + 200}));
}

}  // namespace
}  // namespace vornelle

namespace vornelle {
namespace {

TEST(GcodeGeneration, FeedMovesBelowTheFirstRiseAreInTheMaterialWhenZeroIsTheStocksBottom) {
    GcodeRig rig;
    GcodeResult r = rig.run("G0 Z15\nG0 X10\nG1 Z9 F100\nG1 X20\nG0 Z15\n");
    ASSERT_TRUE(r.generation.ok) << r.generation.message.text;
    auto p = readPacing(r.pacingPath);
    ASSERT_TRUE(p.ok()) << p.error();
    std::string runs;
    for (const PacingRun& run : p->runs)
        runs += std::to_string(run.count) + static_cast<char>(run.feed) + " ";
    EXPECT_EQ(runs, "2500H 1600M 600H ");
}

}  // namespace
}  // namespace vornelle
