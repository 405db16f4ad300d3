// The FRA drawing as the cut strategy needs it whole: its travel points and its cuts (the
// runs of in-material records), in millimetres after scaling, in drawing order.
#pragma once

#include <string>
#include <vector>

namespace vornelle {

struct Pt {
    double x = 0, y = 0;
};

struct DrawingCut {
    std::vector<Pt> pts;  // the in-material points in drawing order
    double zFlag = 1;     // the drawing's Z flag: the depth is the pass depth times it
    int number = 0;       // 1 for the drawing's first cut
    bool closed = false;  // its last point is its first
};

// One record of the drawing's path: a travel point out of the material, or a whole cut.
struct DrawingItem {
    bool isCut = false;
    Pt travel;
    size_t cut = 0;  // index in DrawingCuts::cuts
};

struct DrawingCuts {
    std::vector<DrawingItem> items;
    std::vector<DrawingCut> cuts;
};

// Reads the FRA file `fra`, every coordinate times `scale` (mm). The failure's French message,
// empty on success.
std::string readDrawingCuts(const std::string& fra, double scale, DrawingCuts& out);

}  // namespace vornelle
