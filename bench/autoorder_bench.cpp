// "Ordre automatique" on the largest samples and on generated sheets of parts with holes:
// the travel out of the material of the file order, of nearest neighbour alone and of the
// final order, with the time the whole automatic order takes (containment, search,
// reorganisation), in milliseconds.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/numbers.h"
#include "drawing/order/autoorder.h"
#include "drawing/import/complete/dxfcomplete.h"
#include "drawing/import/dxfimport.h"

namespace {
using Clock = std::chrono::steady_clock;

void row(const std::string& name, vornelle::Drawing d) {
    const size_t records = d.size();
    auto t0 = Clock::now();
    vornelle::AutoOrderResult r = vornelle::autoOrder(d);
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    std::printf("| %-38s | %6zu | %8zu | %12.1f | %12.1f | %12.1f | %5.0f %% | %7.1f |\n", name.c_str(),
                r.cuts, records, r.travelBefore, r.travelNearest, r.travelAfter,
                r.travelBefore > 0 ? 100 * (r.travelAfter - r.travelBefore) / r.travelBefore : 0.0, ms);
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
    std::printf("| %-38s | %6s | %8s | %12s | %12s | %12s | %7s | %7s |\n", "drawing", "cuts", "records",
                "file order", "nearest", "final", "change", "ms");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|%s|\n", std::string(40, '-').c_str(), std::string(8, '-').c_str(),
                std::string(10, '-').c_str(), std::string(14, '-').c_str(), std::string(14, '-').c_str(),
                std::string(14, '-').c_str(), std::string(9, '-').c_str(), std::string(9, '-').c_str());
    const std::string samples = VORNELLE_SAMPLES;
    for (const char* name : {"gen-ezdxf__r12_rib_nest_large.dxf", "gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf",
                             "gen-ezdxf__r12_rib_sheet.dxf", "gh-skymakerolof-dxf__issue29.dxf"}) {
        const std::string path = samples + "/dxf/" + name;
        vornelle::Drawing classic, complete;
        std::string shortName = name;  // without the source prefix and the extension
        shortName = shortName.substr(shortName.find("__") + 2);
        shortName = shortName.substr(0, shortName.size() - 4);
        if (vornelle::importDxf(path, "/tmp/", classic).ok) row(shortName + ", classic", classic);
        if (vornelle::importDxfComplete(path, {}, complete).ok) row(shortName + ", complete", complete);
    }
    row("sheet of 4,000 parts (10,000 cuts)", sheet(4000));
    row("sheet of 10,000 parts (25,000 cuts)", sheet(10000));
    return 0;
}
