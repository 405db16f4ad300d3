// Acceleration ramps planned ahead of time over a whole cut file: every move (the ticks of one
// segment) gets its entry and exit speed from a backward and a forward pass over all ticks
// (ramplookahead.h), and each tick the longest pause its ramp needs. The cut file keeps its
// bytes; the plan goes into the pacing file NOM.rythme as pause factors beside the run's own
// feed column.
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

// The shortest factor the run turns into exactly `count` iterations from `base` (see
// lengthened()), as the pacing file writes and reads it back.
double factorFor(uint32_t base, uint32_t count);

// Plans the ramps of the cut file `def` and writes `rythme`, reading `window` ticks at a time
// (0: the planner's own; the plan is the same). The failure, empty when done.
std::string writeRamps(const std::string& def, const std::string& objet, const std::string& rythme,
                       const RampMachine& m, const RampSettings& s, RampReport& report, size_t window = 0);

}  // namespace vornelle
