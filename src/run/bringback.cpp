// The move back to a stop; see bringback.h. A step with the (inverted) DIR line low counts
// up, so moving an axis towards larger counts sets DIR to its inversion flag.
#include "bringback.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "manual/motion.h"

namespace vornelle {

std::array<Leg, 4> bringBackLegs(const std::array<long, 3>& from, const std::array<long, 3>& to,
                                 double clearance, long surface) {
    if (from == to) return {Leg{2, 0, false}, Leg{0, 0, false}, Leg{1, 0, false}, Leg{2, 0, true}};
    // A clearance beyond any travel is refused before the run; here it only must not wrap.
    constexpr double kMaxSteps = 1e9;
    long lift = clearance > 0 ? static_cast<long>(std::floor(std::min(clearance, kMaxSteps))) : 0;
    long safe = std::min({from[2], to[2], surface - lift});
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
    if (auto c = coefficient(setup.coefficient); !c) return Status::failure(c.error());
    std::array<Leg, 4> legs = bringBackLegs(from, to, setup.clearance, setup.surface);
    std::string error;
    for (size_t i = 0; i < legs.size(); ++i) {
        Leg leg = legs[i];
        if (leg.steps == 0) continue;
        pace = leg.in ? setup.paceIn : setup.paceOut;
        const Wiring& w = setup.wiring;
        bool dirHigh = leg.steps > 0 ? w.inv[leg.axis] : !w.inv[leg.axis];
        StepBytes b = stepBytes(w.dir[leg.axis], w.clk[leg.axis], dirHigh);
        const bool up = leg.axis == 2 && leg.steps < 0;
        long made = 0;
        for (; made < std::labs(leg.steps); ++made) {
            if (setup.stopRequested()) return Status::success();
            // At the top of its travel a stepper stalls and the count goes wrong: the switch
            // that homing climbs to is the limit.
            if (up && port.Read_Select(address) == 0) break;
            if (!oneStep(m, b, error)) return Status::failure(error);
        }
        if (up && made < -leg.steps) legs[3].steps -= -leg.steps - made;  // lower from where it stopped
    }
    return Status::success();
}

}  // namespace vornelle
