// Decoding a cut file beside generating it: the spiral of generation_bench (about 30 million
// ticks at the default 225 turns) is generated, then decoded as `check` decodes it. Prints
// both speeds in ticks per second, their ratio, and the peak memory before and after the
// decode (the decoder streams the file, so it should not grow).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "run/decode/decoder.h"
#include "spiral.h"

namespace {
long peakKb() {
    rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}
}  // namespace

int main(int argc, char** argv) {
    long turns = argc > 1 ? std::atol(argv[1]) : 225;
    namespace fs = std::filesystem;
    fs::path dir = vornelle::bench::freshFolder("vornelle-decode-bench");
    vornelle::Drawing d = vornelle::bench::spiral(turns, dir);  // held to the end, in the peak memory

    vornelle::GenerationInput in = vornelle::bench::spiralInput(dir);
    in.Text10 = "20";
    in.Text11 = "10";
    double gen = 0;
    vornelle::GenerationResult r = vornelle::bench::timedGeneration(in, dir, gen);
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
