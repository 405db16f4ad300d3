// The spiral the generation and decode benchmarks cut, its cut file's input and its timed
// generation; see spiral.h.
#include "spiral.h"

#include <chrono>
#include <cmath>
#include <string>
#include <utility>

#include "base/numbers.h"

namespace vornelle::bench {
namespace {
struct NoPointer : BusyPointer {
    void setBusy(bool) override {}
};
}  // namespace

std::filesystem::path freshFolder(const char* name) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / name;
    fs::remove_all(dir);
    fs::create_directories(dir / "work");
    return dir;
}

Drawing spiral(long turns, const std::filesystem::path& dir) {
    Drawing d;
    const int perTurn = 720;
    auto pt = [](double r, double a) {
        return std::make_pair(numberText(r * std::cos(a), ','), numberText(r * std::sin(a), ','));
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
    writeFra(d, (dir / "spirale.fra").string());
    return d;
}

GenerationInput spiralInput(const std::filesystem::path& dir) {
    GenerationInput in;
    in.text1 = (dir / "spirale.fra").string();
    in.Text9 = (dir / "spirale").string();
    in.Text7 = "banc d'essai";
    in.Text4 = "1";
    in.Text12 = "2";
    in.Text6 = in.Text3 = "200";
    in.Text5 = "400";
    in.weights = {"1", "2", "4", "8", "16", "32", "64", "128"};
    in.inversions = {"0", "0", "1"};
    return in;
}

GenerationResult timedGeneration(const GenerationInput& in, const std::filesystem::path& dir,
                                 double& seconds) {
    NoPointer pointer;
    auto t0 = std::chrono::steady_clock::now();
    GenerationResult r = generate(in, (dir / "work/").string(), pointer);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return r;
}

}  // namespace vornelle::bench
