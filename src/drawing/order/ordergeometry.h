// The geometry the cut-order search shares between its parts: where a cut starts and ends
// for an entry point, which points may be entry points, and the size of the drawing.
#pragma once

#include <algorithm>
#include <vector>

#include "containment.h"

namespace vornelle::order {

constexpr Point2 kOrigin{0, 0};

inline Point2 startOf(const Shape& s, uint32_t e) {
    return s.closed ? s.pts[e] : s.pts.front();
}
inline Point2 endOf(const Shape& s, uint32_t e) {
    return s.closed ? s.pts[e] : s.pts.back();
}
// The points a closed cut may be entered at: all but the last, which is the first again.
inline uint32_t entryCount(const Shape& s) {
    return s.closed && s.pts.size() > 1 ? static_cast<uint32_t>(s.pts.size() - 1) : 1;
}

struct Extent {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the origin always inside
};
inline Extent extentOf(const std::vector<Shape>& shapes) {
    Extent e;
    for (const Shape& s : shapes)
        for (Point2 p : s.pts) {
            e.x0 = std::min(e.x0, p.x), e.y0 = std::min(e.y0, p.y);
            e.x1 = std::max(e.x1, p.x), e.y1 = std::max(e.y1, p.y);
        }
    return e;
}

// Improvements smaller than this are rounding noise: without it two moves could undo each
// other for ever.
inline double noiseOf(const Extent& e) {
    return 1e-10 * std::max({1.0, e.x1 - e.x0, e.y1 - e.y0});
}

}  // namespace vornelle::order
