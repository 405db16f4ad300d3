// The repeatability of the position check, kept in vrnlrepet.cfg beside vrnl1.cfg in the data
// folder so that the operator types it once and the machine's own file stays as it is. One
// quoted whole number of steps, CR LF.
#pragma once

#include <optional>
#include <string>

#include "base/outcome.h"

namespace vornelle {

constexpr const char* kRepeatabilityFile = "vrnlrepet.cfg";

// Replaces the file in `folder` (ending in '/') with `steps`.
Status saveRepeatability(const std::string& folder, long steps);
// The steps of the file in `folder`; no value when there is no file, the refusal when it does
// not hold one quoted whole number of steps.
Outcome<std::optional<long>> readRepeatability(const std::string& folder);

}  // namespace vornelle
