// "Créer fichier fraisage (DEF)" with the cut strategy: the classic generation when no
// strategy setting is typed, otherwise the drawing's tool paths, passes and tabs as the
// generation's points, the settings kept in the details file and what was done in the message.
#pragma once

#include <string>

#include "cutfile/generation/generation.h"
#include "plan.h"
#include "settings.h"

namespace vornelle {

struct StrategyOutcome {
    GenerationResult result;
    bool used = false;  // a strategy setting was typed
    StrategySummary summary;
};

StrategyOutcome generateWithStrategy(const GenerationInput& in, const StrategyTexts& t,
                                     const std::string& workFolder, BusyPointer& busy);

}  // namespace vornelle
