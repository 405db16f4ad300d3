// The drawing the import targets start from, and the test that a refused input left it as
// it was (every list, the cut count and the marker rule).
#pragma once

#include "drawing/drawing.h"
#include "fuzzsupport.h"

namespace vornelle::fuzz {

inline Drawing startingDrawing() {
    Drawing d;
    d.appendRecord("1", "2", "0");
    d.appendRecord("3,5", "4", "1");
    d.finishLoad();
    return d;
}

inline bool sameDrawing(const Drawing& a, const Drawing& b) {
    const TextList Drawing::*lists[] = {&Drawing::List1,  &Drawing::List2, &Drawing::List3, &Drawing::List4,
                                        &Drawing::List5,  &Drawing::List6, &Drawing::List7, &Drawing::List9,
                                        &Drawing::List10, &Drawing::List11};
    for (auto l : lists)
        if ((a.*l).toVector() != (b.*l).toVector()) return false;
    return a.Text3 == b.Text3 && a.phase == b.phase && a.counter == b.counter;
}

// A successful import gives parallel lists of one record per point.
inline void checkImported(const Drawing& d) {
    if (d.List1.size() != d.List2.size() || d.List2.size() != d.List3.size() ||
        d.List3.size() != d.List6.size())
        broken("listes parallèles");
}

}  // namespace vornelle::fuzz
