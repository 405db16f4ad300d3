// The move back to a stop; see bringback.h. A step with the (inverted) DIR line low counts
// up, so moving an axis towards larger counts sets DIR to its inversion flag.
#include "bringback.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "manual/motion.h"

namespace vornelle {

std::array<Leg, 4> bringBackLegs(const std::array<long, 3>& from, const std::array<long, 3>& to,
                                 double clearance) {
    if (from == to) return {Leg{2, 0, false}, Leg{0, 0, false}, Leg{1, 0, false}, Leg{2, 0, true}};
    // Above both the tool's place now and the stop's depth, whichever is higher (Z smaller).
    long lift = clearance > 0 ? static_cast<long>(std::floor(clearance)) : 0;
    long safe = std::min(from[2], to[2]) - lift;
    return {Leg{2, safe - from[2], false}, Leg{0, to[0] - from[0], false}, Leg{1, to[1] - from[1], false},
            Leg{2, to[2] - safe, true}};
}

Status bringBack(PortLibrary& port, int16_t address, Yield& yield, Pacer& pacer, const BringBackSetup& setup,
                 const std::array<long, 3>& from, const std::array<long, 3>& to) {
    int pace = setup.paceOut;
    MoveContext m{port,
                  address,
                  yield,
                  pacer,
                  [&pace] { return static_cast<double>(pace); },
                  [&setup] { return setup.coefficient; },
                  setup.stopRequested};
    for (const Leg& leg : bringBackLegs(from, to, setup.clearance)) {
        if (leg.steps == 0) continue;
        pace = leg.in ? setup.paceIn : setup.paceOut;
        const Wiring& w = setup.wiring;
        bool dirHigh = leg.steps > 0 ? w.inv[leg.axis] : !w.inv[leg.axis];
        StepBytes b = stepBytes(w.dir[leg.axis], w.clk[leg.axis], dirHigh);
        if (Status s = emitSteps(m, b, static_cast<double>(std::labs(leg.steps))); !s) return s;
        if (setup.stopRequested()) break;
    }
    return Status::success();
}

}  // namespace vornelle
