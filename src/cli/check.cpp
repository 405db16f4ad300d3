// vornelle-cli check: the figures of a cut file decoded with the configuration's wiring,
// inversions, steps per mm and coefficient, at the configuration's feeds or those given.
#include <nlohmann/json.hpp>

#include "base/numbers.h"
#include "checkpng.h"
#include "clisupport.h"
#include "commands.h"
#include "config/configmachine.h"
#include "cutfile/decodersetup.h"
#include "cutfile/toolfields.h"
#include "port/step.h"
#include "run/decode/decodetask.h"

namespace vornelle::cli {
namespace {

// A feed the run accepts: 0 to 100.
bool feedValue(const std::string& text, const char* which, double& value, Output& out) {
    auto v = pointOrComma(text);
    if (!v || *v < 0 || *v > 100) {
        out.error =
            std::string("Vitesse ") + which + " \"" + text + "\" invalide : saisir un nombre de 0 à 100.";
        return false;
    }
    value = *v;
    return true;
}

// The setup from the tool page's fields as the configuration fills them; false with the
// run's own message when a field cannot be used.
bool setupFrom(const ToolFields& t, const CheckArgs& a, DecoderSetup& s, Output& out) {
    auto setup = decoderSetup(t);
    if (!setup) return out.error = setup.error(), false;
    s = *setup;
    return feedValue(a.feedIn.value_or(t.Text10), "dans la matière (Petite vitesse)", s.feedIn, out) &&
           feedValue(a.feedOut.value_or(t.Text11), "hors matière (Grande vitesse)", s.feedOut, out);
}

}  // namespace

int check(const CheckArgs& a, Output& out) {
    configmachine config;
    if (!loadConfig(config, out)) return 1;
    ToolFields t = toolFieldsFrom(config);
    DecoderSetup setup;
    if (!setupFrom(t, a, setup, out)) return 1;
    int width = 800, height = 600;
    if (a.png && !pictureSize(a.size, width, height, out)) return 2;
    // The pacing file beside the cut file, refused when it belongs to another, as the run does.
    if (std::string refused = attachPacing(setup, a.cut); !refused.empty()) return out.error = refused, 1;
    DecodeResult r = decodeWithPath(a.cut, setup);
    const Decoded& d = r.figures;
    if (!d.ok()) {
        out.error = d.error;
        return 1;
    }
    if (a.png && !writePathPng(r, *a.png, width, height, out)) return 1;
    using J = nlohmann::ordered_json;
    const char* names[3] = {"x", "y", "z"};
    J steps, stepsPos, mmPos, extents, peak;
    for (int k = 0; k < 3; ++k) {
        const AxisFigures& f = d.axes[k];
        steps[names[k]] = {{"plus", f.plus}, {"minus", f.minus}};
        stepsPos[names[k]] = f.position;
        mmPos[names[k]] = decodedMm(setup, k, f.position);
        extents[names[k]] = {{"min", decodedMm(setup, k, f.min)}, {"max", decodedMm(setup, k, f.max)}};
        // No pause at all (V below 1): the pace is the port's own, not known here.
        peak[names[k]] = f.peakRate < 0 ? J(nullptr) : J(f.peakRate);
    }
    J j = {{"records", d.records},
           {"steps", steps},
           {"position", {{"steps", stepsPos}, {"mm", mmPos}}},
           {"extents", extents},
           {"ticks", {{"in", d.ticksIn}, {"out", d.ticksOut}}},
           {"length", {{"in", d.lengthIn}, {"out", d.lengthOut}}},
           {"duration", d.seconds},
           {"peak_rate", peak},
           {"problems", d.problems}};
    if (setup.pacing) j["rythme"] = pacingPathFor(a.cut);
    out.json = jsonLine(j);
    return 0;
}

}  // namespace vornelle::cli
