// The G-code reader: words and modal state, refusals with their line, arcs and their chords.
#include "cutfile/gcode/gcodeinterpreter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "cutfile/gcode/gcodearc.h"

namespace vornelle {
namespace {

struct Recorder : GcodeSink {
    std::vector<GcodeMove> moves;
    std::vector<double> dwells;
    int pauses = 0;
    void move(const GcodeMove& m) override { moves.push_back(m); }
    void dwell(double s, long) override { dwells.push_back(s); }
    void pause(long) override { ++pauses; }
};

std::string read(const std::string& text, Recorder& r, GcodeSummary& s) {
    return readGcodeText(text, r, s);
}

TEST(GcodeInterpreter, EveryListedRefusalNamesItsLine) {
    struct Case {
        const char* program;
        const char* message;  // the start of the refusal
    };
    const Case cases[] = {
        {"G0 X1\nG18", "ligne 2 : plan G18"},
        {"G19 G2 X1", "ligne 1 : plan G18 / G19"},
        {"G0 X1\n\nG41 D1", "ligne 3 : correction de rayon"},
        {"G42 D08", "ligne 1 : correction de rayon"},
        {"G81 X1 Y1 Z-1 R1", "ligne 1 : cycle fixe"},
        {"G1 X1 F100\nM6 T2", "ligne 2 : changement d'outil ligne 2 : coupez le fichier à cet endroit"},
        {"#1=2", "ligne 1 : paramètres et expressions"},
        {"G0 X[1+2]", "ligne 1 : paramètres et expressions"},
        {"(sub)\nO100 sub", "ligne 2 : sous-programme O"},
        {"G28", "ligne 1 : retour machine"},
        {"G30 Z5", "ligne 1 : retour machine"},
        {"G53 G0 X0", "ligne 1 : coordonnées machine G53"},
        {"G0 A10", "ligne 1 : axe A"},
        {"G0 X1 K1", "ligne 1 : mot K1 non pris en charge"},
        {"G0 X1 E2", "ligne 1 : mot E2 non pris en charge"},
        {"M48", "ligne 1 : mot M48 non pris en charge"},
        {"G7", "ligne 1 : mot G7 non pris en charge"},
        {"G2 X10 Y0 I4 J0", "ligne 1 : le rayon à l'arrivée (6 mm) diffère du rayon au départ (4 mm)"},
        {"G2 X10 Y0 R2", "ligne 1 : rayon R 2 mm plus court que la moitié de la corde (5 mm)"},
        {"G0 X5\nG2 X5 Y0 R5", "ligne 2 : arc R qui finit où il commence"},
        {"N0090 G19", "ligne 1 (N0090) : plan G18"},
        {"G0 X1 (comment", "ligne 1 : commentaire"},
        {"G1 X1 G0 Y1", "ligne 1 : deux déplacements"},
        {"G4", "ligne 1 : G4 sans durée P"},
        {"G0 X1 X2", "ligne 1 : mot X deux fois"},
        {"G1 X1 I2", "ligne 1 : I, J ou R sans arc"},
        {"G2 X1 Y1", "ligne 1 : arc sans centre"},
        {"G80\nX1", "ligne 2 : déplacement sans G0"},
        {"G0 X1.2.3", "ligne 1 : nombre"},
        {"H1", "ligne 1 : mot H sans G43"},
        {"G0 X1 P2", "ligne 1 : mot P sans G4 ni G64"},
    };
    for (const Case& c : cases) {
        Recorder r;
        GcodeSummary s;
        std::string why = read(c.program, r, s);
        EXPECT_EQ(why.substr(0, std::string(c.message).size()), c.message) << c.program << "\n" << why;
    }
}

TEST(GcodeInterpreter, PreamblesCommentsAndSpellingsAreAcceptedAsTheNoOpsTheyAre) {
    // FreeCAD-style preamble with G43 H and M6, CamBam-style G64, lower case, spaces anywhere.
    const char* program =
        "%\n(FreeCAD) ; a comment\nG17 G21 G90 G40 G49 G80 G94 G54\nG61 G61.1 G64 P0.01 Q0.02\n"
        "M6 T1\nG0 G43 H1 Z15\nM3 S12000\nM8 M7\nM9\ng 0 1 x 1 . 5 y-2. f 300\nN10 G1 X.5 ; end\nM5\nM30\n"
        "G18 (after the end: not read)\n%\n";
    Recorder r;
    GcodeSummary s;
    ASSERT_EQ(read(program, r, s), "");
    EXPECT_EQ(s.lines, 15);
    EXPECT_TRUE(s.ended);
    ASSERT_EQ(r.moves.size(), 3u);
    EXPECT_EQ(r.moves[0].kind, MoveKind::Rapid);
    EXPECT_DOUBLE_EQ(r.moves[0].to.z, 15);
    EXPECT_EQ(r.moves[1].kind, MoveKind::Linear);
    EXPECT_DOUBLE_EQ(r.moves[1].to.x, 1.5);
    EXPECT_DOUBLE_EQ(r.moves[1].to.y, -2);
    EXPECT_DOUBLE_EQ(r.moves[2].to.x, 0.5);
    EXPECT_DOUBLE_EQ(r.moves[2].feed, 300);
    EXPECT_EQ(s.feeds, std::vector<double>{300});
    EXPECT_EQ(s.rapid + s.linear + s.arc, 3u);
}

TEST(GcodeInterpreter, UnitsDistancesDwellsAndPausesFollowTheModalState) {
    Recorder r;
    GcodeSummary s;
    // Inch, then incremental moves and incremental arc centres, then absolute centres (G90.1).
    ASSERT_EQ(
        read("G20 G91\nG1 X1 Y1 F10\nX1\nG90 G21\nG4 P0.5\nM0\nG90.1 G3 X25.4 Y50.8 I25.4 J25.4\nM1", r, s),
        "");
    EXPECT_TRUE(s.inch);
    ASSERT_EQ(r.moves.size(), 3u);
    EXPECT_DOUBLE_EQ(r.moves[0].to.x, 25.4);
    EXPECT_DOUBLE_EQ(r.moves[1].to.x, 50.8);
    EXPECT_DOUBLE_EQ(r.moves[1].to.y, 25.4);
    EXPECT_DOUBLE_EQ(r.moves[1].feed, 254);  // 10 in/min
    EXPECT_DOUBLE_EQ(r.moves[2].cx, 25.4);
    EXPECT_DOUBLE_EQ(r.moves[2].cy, 25.4);
    EXPECT_EQ(s.feeds, std::vector<double>{10});
    EXPECT_EQ(r.dwells, std::vector<double>{0.5});
    EXPECT_EQ(r.pauses, 2);
}

// The radial stray of every chord of `m` from its arc, the largest (mm), and the sweep covered.
double largestStray(const GcodeMove& m, double tolerance) {
    uint32_t n = arcChordCount(m, tolerance);
    double worst = 0;
    Point3 a = m.from;
    const double r = std::hypot(m.from.x - m.cx, m.from.y - m.cy);
    for (uint32_t k = 1; k <= n; ++k) {
        Point3 b = arcPoint(m, k, n);
        for (double f : {0.0, 0.5}) {
            double x = a.x + (b.x - a.x) * f - m.cx, y = a.y + (b.y - a.y) * f - m.cy;
            worst = std::max(worst, std::fabs(std::hypot(x, y) - r));
        }
        a = b;
    }
    return worst;
}

TEST(GcodeInterpreter, ArcsTakeTheirCentreAndSweepAndTheirChordsStayWithinTheTolerance) {
    struct Case {
        const char* program;
        double sweep;  // radians, counter-clockwise positive
        double zEnd;
    };
    const double pi = 3.14159265358979323846;
    const Case cases[] = {
        {"G0 X10\nG3 X0 Y10 R10", pi / 2, 0},       // short arc
        {"G0 X10\nG3 X0 Y10 R-10", 3 * pi / 2, 0},  // long arc
        {"G0 X10\nG2 X0 Y10 R10", -pi / 2, 0},
        {"G0 X10\nG2 X0 Y-10 R-10", -3 * pi / 2, 0},
        {"G0 X10\nG2 X10 Y0 Z-3 I-10 J0", -2 * pi, -3},  // helix entry, full turn
        {"G0 X-10\nG2 X10 Y0 I10 J0", -pi, 0},           // half turn by I J
        {"G0 X10\nG3 X-10 Y0 R10", pi, 0},               // half turn by R
    };
    for (const Case& c : cases) {
        Recorder r;
        GcodeSummary s;
        ASSERT_EQ(read(c.program, r, s), "") << c.program;
        const GcodeMove& m = r.moves.back();
        EXPECT_NEAR(arcSweep(m), c.sweep, 1e-9) << c.program;
        EXPECT_NEAR(std::hypot(m.from.x - m.cx, m.from.y - m.cy), 10, 1e-9) << c.program;
        const uint32_t n = arcChordCount(m, 0.01);
        Point3 end = arcPoint(m, n, n), mid = arcPoint(m, n / 2, n);
        EXPECT_EQ(end.z, c.zEnd);
        EXPECT_NEAR(mid.z, c.zEnd * (n / 2) / n, 1e-9);
        for (double tol : {0.001, 0.01, 0.5, 20.0}) EXPECT_LE(largestStray(m, tol), tol) << c.program;
    }
}

}  // namespace
}  // namespace vornelle
