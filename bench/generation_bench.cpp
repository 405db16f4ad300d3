// Cut-file generation end to end on a synthetic drawing: a spiral of many short segments at
// 200 steps per mm, about 30 million ticks. Prints ticks per second, seconds per stage,
// bytes written, peak memory, and the time of one large sequential write of the same
// number of bytes (the floor), with the ratio to it.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "spiral.h"

int main(int argc, char** argv) {
    long turns = argc > 1 ? std::atol(argv[1]) : 225;
    namespace fs = std::filesystem;
    fs::path dir = vornelle::bench::freshFolder("vornelle-gen-bench");
    vornelle::Drawing d = vornelle::bench::spiral(turns, dir);

    vornelle::GenerationInput in = vornelle::bench::spiralInput(dir);
    double total = 0;
    vornelle::GenerationResult r = vornelle::bench::timedGeneration(in, dir, total);
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
