// The ramps after a generation: the machine as the tool page's fields give it (wiring, steps
// per mm, feeds, coefficient) and the planner run on the cut file just written.
#pragma once

#include <string>

#include "cutfile/toolfields.h"
#include "rampplan.h"

namespace vornelle {

// The run's wiring, feeds (Text10, Text11, decimal) and coefficient (Text2) from the page's
// fields; the refusal when one cannot be used.
Outcome<RampMachine> rampMachine(const ToolFields& f);

// NOM.rythme beside the cut file `def`, from the work folder `work` of its generation. The
// failure, empty when written.
std::string rampsAfterGeneration(const ToolFields& f, const RampSettings& s, const std::string& def,
                                 const std::string& work, RampReport& report);

// The same with the ramps of the settings file in `dataFolder` (ending in '/'), the page's
// fields being those of the generation, its coefficient and its Z variant. Nothing is written
// when the file holds no ramps. The failure (the cut file and details file then removed),
// empty otherwise.
std::string settingsRampsAfterGeneration(const GenerationInput& in, const std::string& Text2, bool invZ,
                                         const std::string& dataFolder, const std::string& def,
                                         const std::string& work);

}  // namespace vornelle
