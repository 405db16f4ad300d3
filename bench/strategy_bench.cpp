// The cut strategy's generation beside the classic generation of the same drawing, in one
// run: the 160 wing ribs of r12_rib_nest_large at 200 steps per mm, cut on the line in one pass
// (classic), then with a 2 mm tool compensated, 4 passes of 0,75 mm and 2 tabs per outline.
// Prints the ticks, seconds and million ticks per second of each, the strategy's planning time
// (reading, offsets, passes and tabs, before the stages), the seconds of each stage and the
// ratio of the two rates.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cutfile/strategy/plan.h"
#include "cutfile/strategy/strategygeneration.h"
#include "drawing/drawing.h"
#include "drawing/import/dxfimport.h"
#include "spiral.h"

namespace {

using Clock = std::chrono::steady_clock;
double since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

struct NoPointer : vornelle::BusyPointer {
    void setBusy(bool) override {}
};

}  // namespace

int main(int argc, char** argv) {
    using namespace vornelle;
    const std::string sample =
        argc > 1 ? argv[1] : std::string(VORNELLE_SAMPLES) + "/dxf/gen-ezdxf__r12_rib_nest_large.dxf";
    namespace fs = std::filesystem;
    fs::path dir = bench::freshFolder("vornelle-strategy-bench");
    const std::string work = (dir / "work/").string();
    Drawing d;
    ImportResult imp = importDxf(sample, work, d);
    if (!imp.ok || !writeFra(d, (dir / "nest.fra").string())) {
        std::fprintf(stderr, "%s : import impossible. %s\n", sample.c_str(), imp.message.text.c_str());
        return 1;
    }
    GenerationInput in = bench::spiralInput(dir);
    in.text1 = (dir / "nest.fra").string();
    in.Text12 = "3";
    NoPointer pointer;

    const StrategyTexts t{"2", "", "0,75", "2", "4", "0,75", ""};
    StrategySettings s;
    StrategyPlan plan;
    auto t1 = Clock::now();
    const bool planned = !parseStrategy(t, 3, s) && !planStrategy(in.text1, 1, s, plan);
    const double planSeconds = since(t1);
    std::printf("drawing: %s, %zu records\n", fs::path(sample).filename().c_str(), d.size());
    std::printf("strategy planning alone: %.3f s (%zu points)\n", planSeconds, plan.points.size());

    // Two rounds, each classic then strategy, the files of a round removed before the next:
    // the second round shows how much the page cache of the first weighs.
    for (int round = 1; round <= 2 && planned; ++round) {
        in.Text9 = (dir / ("classic" + std::to_string(round))).string();
        auto t0 = Clock::now();
        GenerationResult classic = generate(in, work, pointer);
        const double classicSeconds = since(t0);
        in.Text9 = (dir / ("strategy" + std::to_string(round))).string();
        auto t2 = Clock::now();
        StrategyOutcome strategy = generateWithStrategy(in, t, work, pointer);
        const double strategySeconds = since(t2);
        if (!classic.ok || !strategy.result.ok) {
            std::fprintf(stderr, "%s\n%s\n", classic.message.text.c_str(),
                         strategy.result.message.text.c_str());
            return 1;
        }
        const double classicRate = classic.ticks / classicSeconds / 1e6;
        const double strategyRate = strategy.result.ticks / strategySeconds / 1e6;
        std::printf("round %d classic:  %llu ticks in %.3f s, %.2f Mticks/s\n", round,
                    static_cast<unsigned long long>(classic.ticks), classicSeconds, classicRate);
        std::printf(
            "round %d strategy: %llu ticks in %.3f s, %.2f Mticks/s (%d pass depths, %d tabs, %d outside, "
            "%d inside, %zu not cut on their own)\n",
            round, static_cast<unsigned long long>(strategy.result.ticks), strategySeconds, strategyRate,
            strategy.summary.passes, strategy.summary.tabs, strategy.summary.report.outside,
            strategy.summary.report.inside, strategy.summary.report.notCut().size());
        for (const GenerationResult* g : {&classic, &strategy.result})
            std::printf(
                "round %d %s stages: points %.3f s, segments %.3f s, streams %.3f s, cut file %.3f s\n",
                round, g == &classic ? "classic " : "strategy", g->stageSeconds[0], g->stageSeconds[1],
                g->stageSeconds[2], g->stageSeconds[3]);
        std::printf("round %d rate ratio strategy / classic: %.2f\n", round, strategyRate / classicRate);
        for (const char* name : {"classic", "strategy"})
            for (const char* ext : {".def", ".det"}) fs::remove(dir / (name + std::to_string(round) + ext));
    }
    if (!planned) {
        std::fprintf(stderr, "La stratégie ne peut pas être appliquée à ce dessin.\n");
        return 1;
    }
    fs::remove_all(dir);
}
