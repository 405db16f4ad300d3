// The tool's moves along one path: the pass depths down to the full depth, the holding tabs
// spread along an outline, and the points of every pass (rising over the tabs), in mm with Z
// counted down into the material from its surface.
#pragma once

#include <vector>

#include "compensation.h"

namespace vornelle {

struct Pt3 {
    double x = 0, y = 0, z = 0;
};

// The depths of the passes: step, 2 × step, ... always ending at `depth` exactly (one pass
// when `step` is 0), with `tabTop` added when it lies strictly between 0 and `depth` and no
// pass falls on it (negative: no tabs).
std::vector<double> passDepths(double depth, double step, double tabTop);

struct Tab {
    double from = 0, to = 0;  // mm along the path from its start
};

// `count` tabs of `width` mm spread evenly along the closed `path`, their centres kept `width`
// away (along the path) from its start and from each position of `avoid`; a tab that finds no
// room, or would overlap another, is left out.
std::vector<Tab> placeTabs(const std::vector<Pt>& path, int count, double width,
                           const std::vector<double>& avoid);

// Appends the passes of `path` at `depths`: a closed path goes down to the next depth at its
// start, an open one is cut back and forth. On the passes deeper than `tabTop` the tool rises
// vertically to it over each tab and comes down again after it.
void appendPasses(const ToolPath& path, const std::vector<double>& depths, const std::vector<Tab>& tabs,
                  double tabTop, std::vector<Pt3>& out);

}  // namespace vornelle
