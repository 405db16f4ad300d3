// The ramps after a generation; see rampjob.h.
#include "rampjob.h"

#include "base/files.h"
#include "base/numbers.h"
#include "cutfile/decodersetup.h"
#include "cutfile/generation/generation.h"
#include "run/runengine.h"

namespace vornelle {

Outcome<RampMachine> rampMachine(const ToolFields& f) {
    auto setup = decoderSetup(f);
    if (!setup) return Failure{setup.error()};
    RampMachine m;
    m.stepsPerMm = setup->stepsPerMm;
    m.zDir = setup->weights[4];
    m.zClock = setup->weights[5];
    m.clockMask = setup->weights[1] | setup->weights[3] | setup->weights[5] | setup->weights[7];
    m.invZ = f.invZ;
    m.c = setup->c;
    const std::pair<const std::string*, double*> feeds[2] = {{&f.Text10, &m.feedIn}, {&f.Text11, &m.feedOut}};
    for (auto [text, value] : feeds) {
        auto v = decimalValue(*text);
        if (!v || *v < 0 || *v > 100)
            return Failure{"Rampes impossibles : la vitesse \"" + *text +
                           "\" n'est pas un nombre de 0 à 100."};
        *value = *v;
    }
    return m;
}

std::string rampsAfterGeneration(const ToolFields& f, const RampSettings& s, const std::string& def,
                                 const std::string& work, RampReport& report) {
    auto m = rampMachine(f);
    if (!m) return m.error();
    return writeRamps(def, work + kWorkFiles[9], pacingPathFor(def), *m, s, report);
}

std::string settingsRampsAfterGeneration(const GenerationInput& in, const std::string& Text2, bool invZ,
                                         const std::string& dataFolder, const std::string& def,
                                         const std::string& work) {
    std::string why;
    auto texts = readRampTexts(dataFolder);
    auto settings =
        texts ? rampSettings(*texts) : Outcome<std::optional<RampSettings>>(Failure{texts.error()});
    if (!settings) {
        why = settings.error();
    } else if (*settings) {
        ToolFields f;
        f.Text6 = in.Text6, f.Text3 = in.Text3, f.Text5 = in.Text5;
        f.Text2 = Text2;
        f.Text10 = in.Text10, f.Text11 = in.Text11;
        f.weights = in.weights;
        f.inversions = in.inversions;
        f.invZ = invZ;
        RampReport report;
        why = rampsAfterGeneration(f, **settings, def, work, report);
    }
    if (!why.empty()) {
        removeFile(def);
        removeFile(in.Text9 + ".det");
    }
    return why;
}

}  // namespace vornelle
