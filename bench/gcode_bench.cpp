// The whole conversion of a 100,000-line G-code program into a cut file (reading it twice,
// the points, segments, streams and cut file, the feed comparison) beside the classic
// generation of the same spiral drawn as an FRA drawing, at about the same tick count, in the
// same run (the best of three rounds each). The program is the benchmarks' spiral as a CAM program would
// write it: every other point a G1, the others G3 arcs about the centre. Prints both times and their ratio.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "cutfile/gcode/gcodegeneration.h"
#include "cutfile/gcode/gcodeticks.h"
#include "spiral.h"

namespace {

namespace fs = std::filesystem;
using vornelle::GenerationResult;

struct NoPointer : vornelle::BusyPointer {
    void setBusy(bool) override {}
};

// The spiral of spiral.h (720 points a turn, from 5 mm, 1 mm a turn) in `lines` lines.
void writeProgram(const fs::path& path, long lines) {
    std::ofstream f(path);
    f << "(spirale du banc d'essai)\nG21 G90 G17\nG0 X5 Y0\nG1 Z-2 F600\n";
    char text[96];
    for (long i = 1; i <= lines - 7; ++i) {
        const double a = 2 * M_PI * i / 720, r = 5 + i / 720.0;
        const double x = r * std::cos(a), y = r * std::sin(a);
        const double px = (5 + (i - 1) / 720.0) * std::cos(2 * M_PI * (i - 1) / 720);
        const double py = (5 + (i - 1) / 720.0) * std::sin(2 * M_PI * (i - 1) / 720);
        if (i % 2)
            std::snprintf(text, sizeof text, "G1 X%.4f Y%.4f\n", x, y);
        else
            std::snprintf(text, sizeof text, "G3 X%.4f Y%.4f I%.4f J%.4f\n", x, y, -px, -py);
        f << text;
    }
    f << "G0 Z0\nG0 X0 Y0\nM30\n";
}

struct Nothing : vornelle::GcodeSink {
    void move(const vornelle::GcodeMove&) override {}
    void dwell(double, long) override {}
};

double seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
    const long lines = 100000;
    fs::path dir = vornelle::bench::freshFolder("vornelle-gcode-bench");
    writeProgram(dir / "spirale.nc", lines);
    vornelle::bench::spiral(139, dir);  // 100,081 points: about the program's ticks
    double classic = 1e9, gcode = 1e9, reading = 1e9, comparing = 1e9;
    GenerationResult c, g;
    for (int round = 0; round < 3; ++round) {
        vornelle::GenerationInput in = vornelle::bench::spiralInput(dir);
        in.Text10 = "20";
        in.Text11 = "50";
        in.Text9 = (dir / ("classique" + std::to_string(round))).string();
        double s = 0;
        c = vornelle::bench::timedGeneration(in, dir, s);
        classic = std::min(classic, s);

        in.text1 = (dir / "spirale.nc").string();
        in.Text9 = (dir / ("gcode" + std::to_string(round))).string();
        vornelle::GcodeOptions o;
        o.Text2 = "0,01";
        NoPointer pointer;
        auto t0 = std::chrono::steady_clock::now();
        vornelle::GcodeResult r = vornelle::generateGcode(in, o, (dir / "work/").string(), pointer);
        gcode = std::min(gcode, seconds(t0));
        g = r.generation;
        if (!c.ok || !g.ok) {
            std::fprintf(stderr, "%s\n", (!c.ok ? c.message : g.message).text.c_str());
            return 1;
        }
        // Two parts of its own: reading the program once, comparing the feeds over the cut file.
        Nothing nothing;
        vornelle::GcodeSummary summary;
        t0 = std::chrono::steady_clock::now();
        vornelle::readGcodeFile(in.text1, nothing, summary);
        reading = std::min(reading, seconds(t0));
        vornelle::CutStamp stamp;
        bool differs;
        t0 = std::chrono::steady_clock::now();
        vornelle::compareFeeds(in.Text9 + ".def", {{g.ticks, 1, vornelle::PacingFeed::In}},
                               vornelle::RunFeedTracker(16, 32, true), stamp, differs);
        comparing = std::min(comparing, seconds(t0));
        for (const char* base : {"classique", "gcode"})
            for (const char* ext : {".def", ".det", ".rythme"})
                fs::remove(dir / (base + std::to_string(round) + ext));
    }
    std::printf(
        "G-code: %ld lines, %llu ticks, %.3f s (%.2f million ticks/s); points %.3f s, segments %.3f s, "
        "streams %.3f s, cut file %.3f s\n",
        lines, static_cast<unsigned long long>(g.ticks), gcode, g.ticks / gcode / 1e6, g.stageSeconds[0],
        g.stageSeconds[1], g.stageSeconds[2], g.stageSeconds[3]);
    std::printf("classic drawing: %llu ticks, %.3f s (%.2f million ticks/s); points %.3f s\n",
                static_cast<unsigned long long>(c.ticks), classic, c.ticks / classic / 1e6,
                c.stageSeconds[0]);
    std::printf(
        "of the G-code conversion: one reading of the program %.3f s, the feed comparison over the cut "
        "file %.3f s\n",
        reading, comparing);
    std::printf("ratio G-code / classic: %.2f (per tick %.2f)\n", gcode / classic,
                (gcode / g.ticks) / (classic / c.ticks));
    fs::remove_all(dir);
}
