// Cut-file generation end to end on a synthetic drawing: a spiral of many short segments at
// 200 steps per mm, about 30 million ticks. Prints ticks per second, seconds per stage,
// bytes written, peak memory, and the time of one large sequential write of the same
// number of bytes (the floor), with the ratio to it.
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

namespace {
struct NoPointer : vornelle::BusyPointer {
    void setBusy(bool) override {}
};
}  // namespace

int main(int argc, char** argv) {
    long turns = argc > 1 ? std::atol(argv[1]) : 225;
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "vornelle-gen-bench";
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
    NoPointer pointer;
    auto t0 = std::chrono::steady_clock::now();
    vornelle::GenerationResult r = vornelle::generate(in, (dir / "work/").string(), pointer);
    double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!r.ok) {
        std::fprintf(stderr, "%s\n", r.message.text.c_str());
        return 1;
    }
    rusage ru;
    getrusage(RUSAGE_SELF, &ru);

    // Floor: the same number of bytes in one large sequential write.
    std::string block(8 << 20, '0');
    auto f0 = std::chrono::steady_clock::now();
    {
        std::FILE* f = std::fopen((dir / "floor").c_str(), "wb");
        uint64_t left = r.bytesWritten;
        while (left > 0) {
            size_t n = left < block.size() ? left : block.size();
            std::fwrite(block.data(), 1, n, f);
            left -= n;
        }
        std::fclose(f);
    }
    double floor = std::chrono::duration<double>(std::chrono::steady_clock::now() - f0).count();

    std::printf("drawing: %zu points, %llu ticks\n", d.size(), static_cast<unsigned long long>(r.ticks));
    std::printf("total: %.3f s, %.2f million ticks/s\n", total, r.ticks / total / 1e6);
    std::printf("stages: points %.3f s, segments %.3f s, streams %.3f s, cut file %.3f s\n",
                r.stageSeconds[0], r.stageSeconds[1], r.stageSeconds[2], r.stageSeconds[3]);
    std::printf("bytes written: %.1f MB (cut file %.1f MB)\n", r.bytesWritten / 1e6,
                fs::file_size(in.Text9 + ".def") / 1e6);
    std::printf("floor (one sequential write of the same bytes): %.3f s; ratio %.2f\n", floor, total / floor);
    std::printf("peak memory (max RSS): %.1f MB\n", ru.ru_maxrss / 1024.0);
    fs::remove_all(dir);
}
