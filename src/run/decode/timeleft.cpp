// Time left; see timeleft.h.
#include "timeleft.h"

#include <algorithm>
#include <cmath>

#include "port/step.h"

namespace vornelle {

std::optional<double> recordSeconds(double feed, double c) {
    // The scroll bar holds whole positions: V = 100 - feed, rounded as the run sets it.
    auto n = pauseCount(std::nearbyint(100 - feed), c);
    if (!n) return std::nullopt;
    return 2.0 * static_cast<double>(*n) * 10e-9;
}

std::optional<double> secondsLeft(const Decoded& d, uint64_t doneIn, uint64_t doneOut, double feedIn,
                                  double feedOut, double c) {
    auto in = recordSeconds(feedIn, c), out = recordSeconds(feedOut, c);
    if (!in || !out) return std::nullopt;
    uint64_t inLeft = d.ticksIn - std::min(doneIn, d.ticksIn);
    uint64_t outLeft = d.ticksOut - std::min(doneOut, d.ticksOut);
    uint64_t leadingLeft = d.leadingTicks - std::min(doneOut, d.leadingTicks);
    return static_cast<double>(inLeft + leadingLeft) * *in +
           static_cast<double>(outLeft - leadingLeft) * *out;
}

}  // namespace vornelle
