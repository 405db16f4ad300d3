// "Réorganisation coupes" on a large drawing: a million records in ten thousand closed
// contours, each entered in its middle and the order reversed. Prints the time of setting the
// entry points and of the reorganisation, in milliseconds.
#include <chrono>
#include <cstdio>
#include <string>

#include "drawing/order/cutorder.h"

namespace {
using Clock = std::chrono::steady_clock;
double ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}
}  // namespace

int main() {
    const size_t cuts = 10000, perCut = 100;  // records per cut: approach, 98 in the material, lift
    vornelle::Drawing d;
    for (size_t c = 0; c < cuts; ++c) {
        auto point = [&](size_t k) {
            size_t j = k % (perCut - 3);  // the last in-material point closes on the first
            return std::pair{std::to_string(c) + "," + std::to_string(j), std::to_string(j) + ",5"};
        };
        auto [x0, y0] = point(0);
        d.appendRecord(x0, y0, "0");
        for (size_t k = 0; k < perCut - 2; ++k) {
            auto [x, y] = point(k);
            d.appendRecord(x, y, "1");
        }
        auto [xl, yl] = point(perCut - 3);
        d.appendRecord(xl, yl, "0");
    }
    d.finishLoad();

    auto t0 = Clock::now();
    std::string text1 = "1";
    for (size_t c = cuts; c-- > 0;) {
        size_t s = c * perCut + perCut / 2;
        if (!vornelle::canEnter(d, s)) return 1;
        vornelle::Validation v = vornelle::validate(d, s, text1);
        if (!v) {
            std::printf("Valider refused: %s\n", v.message.text.c_str());
            return 1;
        }
        text1 = v.text1;
    }
    auto t1 = Clock::now();
    vornelle::CutOrderResult r = vornelle::reorganise(d);
    auto t2 = Clock::now();
    std::printf("%zu records, %s cuts: %zu entry points set in %.1f ms, reorganised in %.1f ms%s\n", d.size(),
                d.Text3.c_str(), cuts, ms(t0, t1), ms(t1, t2), r ? "" : "  (FAILED)");
    // The first cut is now the last one imported, entered at its middle.
    std::printf("first records: %s;%s %s;%s (Z %s, %s)\n", std::string(d.List1[0]).c_str(),
                std::string(d.List2[0]).c_str(), std::string(d.List1[1]).c_str(),
                std::string(d.List2[1]).c_str(), std::string(d.List3[0]).c_str(),
                std::string(d.List3[1]).c_str());
    return r ? 0 : 1;
}
