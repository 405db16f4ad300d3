// The acceleration ramps' settings: acceleration per axis, start-stop speed and corner
// junction deviation, kept in vrnlrampes.cfg beside vrnl1.cfg in the data folder so that the
// machine's own file stays as it is. Five texts as typed; all empty means no ramps.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "base/outcome.h"

namespace vornelle {

constexpr const char* kRampFile = "vrnlrampes.cfg";

struct RampSettings {
    std::array<double, 3> accel{};  // mm/s², X Y Z, greater than 0
    double startSpeed = 0;          // mm/s, greater than 0
    double corner = 0;              // junction deviation, mm, 0 or more
};

// The five texts as typed: X, Y, Z accelerations, start-stop speed, corner deviation.
using RampTexts = std::array<std::string, 5>;

// The settings from the texts (decimal comma or point). No value when all five are empty
// (no ramps); the French refusal when some are empty or a value is not usable.
Outcome<std::optional<RampSettings>> rampSettings(const RampTexts& t);

// The file's one line: five quoted texts separated by commas, CR LF.
std::string rampLine(const RampTexts& t);
// Replaces the file in `folder` (ending in '/').
Status saveRampTexts(const std::string& folder, const RampTexts& t);
// The texts of the file in `folder`; five empty texts when there is no file, the refusal when
// it is not five quoted texts.
Outcome<RampTexts> readRampTexts(const std::string& folder);

}  // namespace vornelle
