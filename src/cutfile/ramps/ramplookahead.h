// The ramps' backward and forward passes over a window of ticks that slides along the cut: a
// tick is planned as soon as nothing further on can change its pace, so the plan of a cut of
// any length is that of the whole cut at once while only the window is kept.
#pragma once

#include <functional>
#include <string>

#include "rampticks.h"

namespace vornelle {

constexpr double kTickPerCount = 2 * 10e-9;  // seconds of a tick per iteration of its pauses

// Plans every tick of `source` in order, giving each to `planned` with its move and pause
// count (whole iterations of 10 ns, never below its nominal one): no move speeds up or
// slows down faster than its acceleration, every move starts and ends within the
// start-stop speed or the junction speed of its corner. `window`: ticks read at a time
// (0: 65536); any size gives the same plan. The failure, empty when done.
using PlannedTick = std::function<void(const RampTick&, const RampMove&, uint32_t)>;
std::string planTicks(RampTickSource& source, const RampSettings& s, const PlannedTick& planned,
                      size_t window = 0);

}  // namespace vornelle
