// Decoding a cut file beside generating it: the spiral of generation_bench (about 30 million
// ticks at the default 225 turns) is generated, then decoded as `check` decodes it. Prints
// both speeds in ticks per second, their ratio, and the peak memory before and after the
// decode (the decoder streams the file, so it should not grow).
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/numbers.h"
#include "cutfile/generation/generation.h"
#include "drawing/drawing.h"
#include "run/decode/decoder.h"

namespace {
struct NoPointer : vornelle::BusyPointer {
    void setBusy(bool) override {}
};
long peakKb() {
    rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}
}  // namespace

int main(int argc, char** argv) {
    long turns = argc > 1 ? std::atol(argv[1]) : 225;
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "vornelle-decode-bench";
    fs::remove_all(dir);
    fs::create_directories(dir / "work");

    // Spiral: 720 points per turn, radius growing 1 mm per turn, one cut.
    vornelle::Drawing d;
    const int perTurn = 720;
    auto pt = [](double r, double a) {
        return std::make_pair(vornelle::numberText(r * std::cos(a), ','),
                              vornelle::numberText(r * std::sin(a), ','));
    };
    auto first = pt(5, 0);
    d.appendRecord(first.first, first.second, "0");
    for (long i = 0; i <= turns * perTurn; ++i) {
        double a = 2 * M_PI * i / perTurn;
        auto p = pt(5 + static_cast<double>(i) / perTurn, a);
        d.appendRecord(p.first, p.second, "1");
    }
    auto last = pt(5 + turns, 0);
    d.appendRecord(last.first, last.second, "0");
    std::string fra = (dir / "spirale.fra").string();
    vornelle::writeFra(d, fra);

    vornelle::GenerationInput in;
    in.text1 = fra;
    in.Text9 = (dir / "spirale").string();
    in.Text7 = "banc d'essai";
    in.Text4 = "1";
    in.Text12 = "2";
    in.Text6 = in.Text3 = "200";
    in.Text5 = "400";
    in.weights = {"1", "2", "4", "8", "16", "32", "64", "128"};
    in.inversions = {"0", "0", "1"};
    in.Text10 = "20";
    in.Text11 = "10";
    NoPointer pointer;
    auto t0 = std::chrono::steady_clock::now();
    vornelle::GenerationResult r = vornelle::generate(in, (dir / "work/").string(), pointer);
    double gen = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!r.ok) {
        std::fprintf(stderr, "%s\n", r.message.text.c_str());
        return 1;
    }
    long before = peakKb();

    vornelle::DecoderSetup s;
    s.weights = {1, 2, 4, 8, 16, 32, 64, 128};
    s.inv = {false, false, true};
    s.variant = vornelle::RunVariant::Command12;
    s.stepsPerMm = {200, 200, 400};
    s.feedIn = 20, s.feedOut = 10, s.c = 0.01;
    auto t1 = std::chrono::steady_clock::now();
    vornelle::Decoded dec = vornelle::decodeCutFile(r.defPath, s);
    double decode = std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count();
    if (!dec.ok()) {
        std::fprintf(stderr, "%s\n", dec.error.c_str());
        return 1;
    }
    std::printf("ticks                %llu\n", static_cast<unsigned long long>(r.ticks));
    std::printf("generation           %.2f s, %.3g ticks/s\n", gen, r.ticks / gen);
    std::printf("decode               %.2f s, %.3g ticks/s (%.1f%% of the generation time)\n", decode,
                dec.records / decode, 100 * decode / gen);
    std::printf("end (steps)          %ld %ld %ld\n", dec.axes[0].position, dec.axes[1].position,
                dec.axes[2].position);
    std::printf("cut duration         %.1f s at feeds 20 / 10\n", dec.seconds);
    std::printf("peak memory          %ld kB before the decode, %ld kB after\n", before, peakKb());
    fs::remove_all(dir);
    return 0;
}
