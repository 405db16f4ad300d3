// "Ordre automatique" on the largest samples and on generated sheets of parts with holes:
// the travel out of the material of the file order, of nearest neighbour alone and of the
// final order, with the time the whole automatic order takes (containment, search,
// reorganisation), in milliseconds, and for the samples how far that order is from what a
// search of twenty times the time finds.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/numbers.h"
#include "drawing/import/complete/dxfcomplete.h"
#include "drawing/import/dxfimport.h"
#include "drawing/order/autoorder.h"

namespace {
using Clock = std::chrono::steady_clock;

// With `longer`, the same drawing ordered again with a budget of 20 s: the last column is the
// final travel over what that long search finds (1,000 when the usual second finds as well).
void row(const std::string& name, vornelle::Drawing d, bool longer = false) {
    const size_t records = d.size();
    vornelle::Drawing copy = d;
    auto t0 = Clock::now();
    vornelle::AutoOrderResult r = vornelle::autoOrder(d);
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    double ratio = 0;
    if (longer) {
        vornelle::AutoOrderResult l = vornelle::autoOrder(copy, {std::chrono::seconds(20)});
        ratio = l.travelAfter > 0 ? r.travelAfter / l.travelAfter : 1;
    }
    std::printf("| %-38s | %6zu | %8zu | %12.1f | %12.1f | %12.1f | %5.0f %% | %7.1f | %9.3f |\n",
                name.c_str(), r.cuts, records, r.travelBefore, r.travelNearest, r.travelAfter,
                r.travelBefore > 0 ? 100 * (r.travelAfter - r.travelBefore) / r.travelBefore : 0.0, ms,
                ratio);
}

// A sheet of parts 8 x 6 on a 10 x 8 pitch, each with a round hole of 16 sides and, one part
// in two, a square slot; in the file part by part, holes first, rows left to right.
vornelle::Drawing sheet(size_t parts) {
    vornelle::Drawing d;
    auto text = [](double v) { return vornelle::numberText(std::round(v * 1000) / 1000, ','); };
    auto cut = [&](const std::vector<std::pair<double, double>>& pts) {
        d.appendRecord(text(pts.front().first), text(pts.front().second), "0");
        for (auto [x, y] : pts) d.appendRecord(text(x), text(y), "1");
        d.appendRecord(text(pts.back().first), text(pts.back().second), "0");
    };
    const size_t perRow = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(parts))));
    for (size_t p = 0; p < parts; ++p) {
        double x0 = 10.0 * static_cast<double>(p % perRow), y0 = 8.0 * static_cast<double>(p / perRow);
        std::vector<std::pair<double, double>> hole;
        for (int k = 0; k <= 16; ++k)
            hole.emplace_back(x0 + 2.5 + 1.5 * std::cos(k % 16 * M_PI / 8),
                              y0 + 3 + 1.5 * std::sin(k % 16 * M_PI / 8));
        cut(hole);
        if (p % 2 == 0)
            cut({{x0 + 5, y0 + 2}, {x0 + 7, y0 + 2}, {x0 + 7, y0 + 4}, {x0 + 5, y0 + 4}, {x0 + 5, y0 + 2}});
        cut({{x0, y0}, {x0 + 8, y0}, {x0 + 8, y0 + 6}, {x0, y0 + 6}, {x0, y0}});
    }
    d.finishLoad();
    return d;
}
}  // namespace

int main() {
    std::printf("| %-38s | %6s | %8s | %12s | %12s | %12s | %7s | %7s | %9s |\n", "drawing", "cuts",
                "records", "file order", "nearest", "final", "change", "ms", "/ 20 s");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|%s|%s|\n", std::string(40, '-').c_str(), std::string(8, '-').c_str(),
                std::string(10, '-').c_str(), std::string(14, '-').c_str(), std::string(14, '-').c_str(),
                std::string(14, '-').c_str(), std::string(9, '-').c_str(), std::string(9, '-').c_str(),
                std::string(11, '-').c_str());
    const std::string samples = VORNELLE_SAMPLES;
    for (const char* name : {"gen-ezdxf__r12_rib_nest_large.dxf", "gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf",
                             "gen-ezdxf__r12_rib_sheet.dxf", "gh-skymakerolof-dxf__issue29.dxf"}) {
        const std::string path = samples + "/dxf/" + name;
        vornelle::Drawing classic, complete;
        std::string shortName = name;  // without the source prefix and the extension
        shortName = shortName.substr(shortName.find("__") + 2);
        shortName = shortName.substr(0, shortName.size() - 4);
        if (vornelle::importDxf(path, "/tmp/", classic).ok) row(shortName + ", classic", classic, true);
        if (vornelle::importDxfComplete(path, {}, complete).ok) row(shortName + ", complete", complete, true);
    }
    row("sheet of 4,000 parts (10,000 cuts)", sheet(4000));
    row("sheet of 10,000 parts (25,000 cuts)", sheet(10000));
    return 0;
}
