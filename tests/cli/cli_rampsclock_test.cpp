// The ramps as the machine would feel them: shared samples generated with ramps and played
// on the virtual clock; every record's time is read back from the timing file and judged
// move by move against the settings, the moves taken from the generation's objet file.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "clirun.h"

namespace {

const std::string kRamps = " --accel-x 500 --accel-y 500 --accel-z 200 --start-speed 5 --corner 0,05";
constexpr double kAccel[3] = {500, 500, 200}, kStart = 5, kCorner = 0.05;
constexpr double kStepsPerMm[3] = {200, 200, 400};  // the test configuration's

struct Move {
    size_t first = 0, count = 0;
    double step = 0, accel = 0;  // mm a record along the path; mm/s² the tightest axis allows
    std::array<double, 3> u{};
};

// Moves of the objet work file: per line the sign (1: negative) and steps of X, Y and Z.
std::vector<Move> movesOf(const std::string& objet) {
    std::ifstream in(objet);
    std::vector<Move> moves;
    size_t first = 0;
    for (std::string line; std::getline(in, line);) {
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream fields(line);
        double v[8] = {};
        for (double& x : v) fields >> x;
        Move mv;
        std::array<double, 3> mm{};
        for (int a = 0; a < 3; ++a) {
            mv.count = std::max(mv.count, static_cast<size_t>(v[2 * a + 1]));
            mm[a] = (v[2 * a] == 1 ? -1 : 1) * v[2 * a + 1] / kStepsPerMm[a];
        }
        if (mv.count == 0) continue;
        const double len = std::hypot(mm[0], mm[1], mm[2]);
        mv.first = first, mv.step = len / mv.count, mv.accel = 1e300;
        for (int a = 0; a < 3; ++a) {
            mv.u[a] = mm[a] / len;
            if (mm[a] != 0) mv.accel = std::min(mv.accel, kAccel[a] / std::abs(mv.u[a]));
        }
        moves.push_back(mv);
        first += mv.count;
    }
    return moves;
}

// The speed a move may keep into the next one: √(A·D·s/(1−s)), s = sin(θ/2), θ between the
// reversed incoming direction and the outgoing one; straight on, no limit.
double junction(const Move& a, const Move& b) {
    const double cosTheta = -(a.u[0] * b.u[0] + a.u[1] * b.u[1] + a.u[2] * b.u[2]);
    const double s = std::sqrt(std::max(0.0, (1 - cosTheta) / 2));
    if (s > 1 - 1e-9) return 1e300;
    return std::max(kStart, std::sqrt(std::min(a.accel, b.accel) * kCorner * s / (1 - s)));
}

struct Judged {
    double steepest = 0;    // the largest speed change over ten records, in the move's accelerations
    double fastestEnd = 0;  // the fastest start or end of a move, in its allowed speed
};

// `starts`: each record's direction write (ns), then the clock's end.
Judged judge(const std::vector<Move>& moves, const std::vector<double>& starts) {
    Judged j;
    auto speed = [&](const Move& mv, size_t k, size_t n) { return n * mv.step / ((starts[k + n] - starts[k]) * 1e-9); };
    for (size_t i = 0; i < moves.size(); ++i) {
        const Move& mv = moves[i];
        const size_t last = mv.first + mv.count - 1;
        const double in = i > 0 ? junction(moves[i - 1], mv) : kStart;
        const double out = i + 1 < moves.size() ? junction(mv, moves[i + 1]) : kStart;
        j.fastestEnd = std::max({j.fastestEnd, speed(mv, mv.first, 1) / in, speed(mv, last, 1) / out});
        // The speed of ten records against that of the ten after them, between their middles.
        for (size_t k = mv.first; k + 20 <= mv.first + mv.count; ++k) {
            const double a = speed(mv, k, 10), b = speed(mv, k + 10, 10);
            const double dt = ((starts[k + 20] + starts[k + 10]) - (starts[k + 10] + starts[k])) / 2 * 1e-9;
            j.steepest = std::max(j.steepest, std::abs(b - a) / dt / mv.accel);
        }
    }
    return j;
}

TEST(CliRampsClock, SharedSamplesRampWithinTheirSettingsAndCheckTellsTheClocksDuration) {
    for (const char* name : {"gen-ezdxf__r12_rib_sheet", "gh-dxf2gcode__AFluegel_Rippen_b2_0201"}) {
        vornelle::test::TempDir dir;
        configureHome(dir);
        const std::string dxf = vornelle::test::sample(std::string("dxf/") + name + ".dxf");
        ASSERT_EQ(cli(dir.path(), "import-dxf '" + dxf + "' d --auto-order").code, 0) << name;
        CliRun gen = cli(dir.path(), "generate d.fra r --scale 1 --depth 1 --note n" + kRamps);
        ASSERT_EQ(gen.code, 0) << gen.err;
        CliRun play = cli(dir.path(), "play r.def --paced --virtual-clock --timing t.txt");
        ASSERT_EQ(play.code, 0) << play.err;
        const double clock = nlohmann::json::parse(play.out)["clock_ns"];
        const double checked = nlohmann::json::parse(cli(dir.path(), "check r.def").out)["duration"];
        EXPECT_NEAR(checked, clock * 1e-9, checked * 1e-3) << name;

        // Two writes a record: its direction, then its clock.
        std::ifstream timing(dir.file("t.txt"));
        std::vector<double> starts;
        double ns = 0;
        int byte = 0;
        for (size_t w = 0; timing >> ns >> byte; ++w)
            if (w % 2 == 0) starts.push_back(ns);
        starts.push_back(clock);
        const std::vector<Move> moves = movesOf(dir.file("data/work/objet"));
        ASSERT_FALSE(moves.empty());
        ASSERT_EQ(moves.back().first + moves.back().count + 1, starts.size()) << name;

        const Judged j = judge(moves, starts);
        std::cout << name << ": steepest " << j.steepest << " × the acceleration, fastest start or end "
                  << j.fastestEnd << " × the speed allowed\n";
        EXPECT_LE(j.steepest, 1.05) << name;
        EXPECT_GT(j.steepest, 0.5) << name;  // the ramps are there, not a crawl
        EXPECT_LE(j.fastestEnd, 1 + 1e-9) << name;
    }
}

}  // namespace
