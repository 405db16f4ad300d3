// Bringing the machine back to where a stopped cut left it, before the cut goes on: the tool
// up to a travel height clear of the work, X and Y to the stop at the out-of-material feed,
// then the tool down to the stop's depth at the in-material feed. Plain steps of the jog
// engine; the way up ends early at the Z clearance switch.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "base/interfaces.h"
#include "base/outcome.h"
#include "port/portlibrary.h"
#include "port/backends/simulatedmachine.h"
#include "port/step.h"

namespace vornelle {

struct BringBackSetup {
    Wiring wiring;            // DIR and CLOCK weights and inversions, as the steps are counted
    double clearance = 0;     // Z steps of the travel height above the cut's start height
    long surface = 0;         // the cut's start height (Z steps as the machine counts them)
    int paceOut = 0;          // scroll-bar positions: 100 - vithors while out of the material,
    int paceIn = 0;           // 100 - vitdans for the last descent
    std::string coefficient;  // Text2, read at every pause
    // "Arret d'urgence": the move ends at the next step, the machine left where it is.
    std::function<bool()> stopRequested = [] { return false; };
};

// The moves, in order, that take the machine from `from` to `to` (steps as the machine
// service counts them, Z positive into the material); none when both are the same. X and Y
// travel at the clearance above `surface`, or higher when the tool or the stop already is:
// never inside the work, and never climbing above a tool that is already clear.
struct Leg {
    int axis;    // 0 X, 1 Y, 2 Z
    long steps;  // signed
    bool in;     // at the in-material pace
};
std::array<Leg, 4> bringBackLegs(const std::array<long, 3>& from, const std::array<long, 3>& to,
                                 double clearance, long surface = 0);

// Plays the legs; stops with the message of a pause that cannot be made. Should the Z
// clearance switch close on the way up, the travel goes on from there and the way down is
// longer by what was not climbed.
Status bringBack(PortLibrary& port, int16_t address, Yield& yield, Pacer& pacer, const BringBackSetup& setup,
                 const std::array<long, 3>& from, const std::array<long, 3>& to);

}  // namespace vornelle
