// Did the machine lose a step? Two homings, one before and one after a job (a cut or the
// operator's jogs), compare where the zero switches closed with the steps the program counted
// in between: a motor that stalled leaves the count off by the steps it did not make.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "base/outcome.h"
#include "motion.h"

namespace vornelle {

// The program's step count (X, Y, Z; Z positive into the material) when the X zero, Y zero
// and Z zero switches closed during one homing.
using SwitchMarks = std::array<long, 3>;

// "A la niche" that notes the count at each switch closure. `counted` reads the program's
// count of the steps written. X or Y already on its switch is first moved off it (towards
// larger coordinates) until the switch opens, so each switch is reached from the same side
// every time; Z always reaches its zero switch from above. Interrupted ("Arrêt"), it fails.
Outcome<SwitchMarks> markedHoming(MoveContext& m, const HomingSetup& h,
                                  const std::function<std::array<long, 3>()>& counted);

struct HomeCheck {
    std::array<long, 3> drift{};  // steps, second homing minus the first (+: plus steps lost)
    std::array<double, 3> mm{};   // the same in mm (0 when the steps per mm are unknown)
    bool lost = false;            // an axis drifted more than the repeatability
    std::string verdict;          // "Aucun pas perdu" or which axes lost how much
    std::string details;          // every axis in steps and mm: "X : 37 pas (0,31 mm), Y : ..."
};

// Both homings compared; `repeatability` in steps (a switch closes within that much of the
// same place), `stepsPerMm` X, Y, Z.
HomeCheck compareHomings(const SwitchMarks& before, const SwitchMarks& after, long repeatability,
                         const std::array<double, 3>& stepsPerMm);

// The repeatability typed by the operator: a whole number of steps, 0 or more.
Outcome<long> repeatabilitySteps(const std::string& text);

}  // namespace vornelle
