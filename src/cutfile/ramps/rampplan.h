// Acceleration ramps planned ahead of time over a whole cut file: every move (the ticks of one
// segment) gets its entry and exit speed from a backward and a forward pass over all ticks, and
// each tick the longest pause its ramp needs. The cut file keeps its bytes; the plan goes
// into the pacing file NOM.rythme as pause factors beside the run's own feed column.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/rampsettings.h"
#include "cutfile/pacing/pacingfile.h"

namespace vornelle {

// What the run will use: wiring of Z and the clocks, feeds and coefficient.
struct RampMachine {
    std::array<double, 3> stepsPerMm{};  // X Y Z, greater than 0
    int zDir = 0, zClock = 0;            // Z weights
    int clockMask = 0;                   // every CLOCK weight
    bool invZ = false;                   // "Découper" of an inverted Z
    double feedIn = 0, feedOut = 0;      // 0..100
    double c = 0.01;                     // coefficient of the counted pause
};

struct RampReport {
    uint64_t moves = 0;
    uint64_t slowed = 0;   // ticks whose pauses the ramps lengthen
    uint64_t unpaced = 0;  // ticks at a feed without pause: no ramp can hold them
    double seconds = 0;    // the run's duration at the planned pauses
    std::string pacingPath;
};

// One tick as the planner sees it: the pause count the run would make without ramps (its
// feed and any earlier factor), the feed of the run's column and whether a pause point
// follows.
struct RampTick {
    uint32_t base = 0;     // iterations of one pause at the tick's feed
    uint32_t nominal = 0;  // the same lengthened by an earlier factor
    double factor = 1;     // that earlier factor
    PacingFeed feed = PacingFeed::In;
    bool pauseAfter = false;
};

// One segment's ticks, or idle ticks (a dwell: no clock, the machine stands still).
struct RampMove {
    uint64_t first = 0, count = 0;
    double step = 0;            // mm the tool moves per tick
    double accel = 0;           // mm/s² along the path, the tightest axis's share
    std::array<double, 3> u{};  // unit direction
    bool idle = false;
};

// The ticks and moves of the cut file `def` from the work file `objet` of its generation, and
// the pacing file already beside it (a G-code job's), when it belongs to the cut file. The
// failure, empty when read.
std::string readRampTicks(const std::string& def, const std::string& objet, const std::string& rythme,
                          const RampMachine& m, const RampSettings& s, std::vector<RampTick>& ticks,
                          std::vector<RampMove>& moves);

// The pause count of each tick (whole iterations of 10 ns, never below its nominal one) so
// that no move speeds up or slows down faster than its acceleration, every move starts and
// ends within the start-stop speed or the junction speed of its corner.
std::vector<uint32_t> planPauses(const std::vector<RampTick>& ticks, const std::vector<RampMove>& moves,
                                 const RampSettings& s);

// The shortest factor the run turns into exactly `count` iterations from `base` (see
// lengthened()), as the pacing file writes and reads it back.
double factorFor(uint32_t base, uint32_t count);

// Plans the ramps of the cut file `def` and writes `rythme`. The failure, empty when done.
std::string writeRamps(const std::string& def, const std::string& objet, const std::string& rythme,
                       const RampMachine& m, const RampSettings& s, RampReport& report);

}  // namespace vornelle
