// Jogging and homing engines of the joystick page: n steps of one axis, the six arrow moves
// and the four-phase homing on the limit switches. No Qt: the port, yield, pacer, speed and
// coefficient come from outside.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/interfaces.h"
#include "base/outcome.h"
#include "port/portlibrary.h"
#include "port/step.h"

namespace vornelle {

struct MoveContext {
    PortLibrary& port;
    int16_t address;
    Yield& yield;
    Pacer& pacer;
    std::function<double()> speed;                               // V, the scroll bar, read at every pause
    std::function<std::string()> coefficient;                    // c as typed, read at every pause
    std::function<bool()> stopRequested = [] { return false; };  // "Arrêt": end at the next step
};

// One step: low byte, yield, pause, high byte, yield, pause. False when the pause could not
// be made (coefficient unusable), with the message in `error`.
bool oneStep(MoveContext& m, StepBytes b, std::string& error);

// Steps for a counter from 1 while it is at most n (100,25 gives 100; below 1 gives none).
// The coefficient is checked before the first write.
Status emitSteps(MoveContext& m, StepBytes b, double n);

enum class Arrow { Command10, Command11, Command6, Command7, Command8, Command9 };
int arrowAxis(Arrow a);  // 0 X, 1 Y, 2 Z
// The DIR level of an arrow move for the state of its axis's arrow-inversion box.
bool arrowDirHigh(Arrow a, bool boxTicked);

// One arrow move: n = steps per mm (decimal conversion) x distance (leading-number
// conversion). Texts that are not numbers stop it with a message before any write.
Status jog(MoveContext& m, Arrow a, const std::string& stepsPerMm, const std::string& distance, int dirWeight,
           int clkWeight, bool boxTicked);

struct HomingSetup {
    int dir[3] = {0, 0, 0};  // X, Y, Z DIR weights
    int clk[3] = {0, 0, 0};
    bool inv[3] = {false, false, false};  // machine inversion flags invX, invY, invZ
    std::string descenteZ;                // leading-number conversion, mm
    std::string stepsPerMmZ;              // decimal conversion
};

// "A la niche": Z up to the clearance switch (at least one step), X and Y together to their
// zero switches, Z down to its zero switch, then Z up by descenteZ mm.
Status home(MoveContext& m, const HomingSetup& h);

}  // namespace vornelle
