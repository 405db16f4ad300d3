// "Créer fichier fraisage (DEF)" for a G-code program instead of a drawing: the program is
// read once to refuse what a cut file cannot follow (nothing is written then), then its
// moves become the generation's points (prem), and the unchanged segment, stream and merge
// stages make the cut file. Dwells become idle ticks; when the run's tracking of the Z steps
// would pick another feed than some tick needs, the pacing file NOM.rythme is written too.
#pragma once

#include <string>
#include <vector>

#include "cutfile/generation/generation.h"
#include "gcodeinterpreter.h"

namespace vornelle {

struct GcodeOptions {
    double tolerance = 0.01;  // mm between an arc and its chords, in the cut file
    std::string Text2;        // "Coefficient vitesse": the length of a dwell's ticks
};

struct GcodeFeed {
    double f = 0;         // as written, in the file's units per minute
    double peakRate = 0;  // steps per second of the busiest axis at that feed
};

struct GcodeResult {
    GenerationResult generation;  // `in.text1` names the program
    GcodeSummary summary;
    std::vector<GcodeFeed> feeds;
    std::string pacingPath;  // NOM.rythme when written
};

// The arc tolerance as typed (decimal point or comma): from 0,001 to 100 mm.
std::optional<double> arcTolerance(const std::string& text);

GcodeResult generateGcode(const GenerationInput& in, const GcodeOptions& o, const std::string& workFolder,
                          BusyPointer& busy);

}  // namespace vornelle
