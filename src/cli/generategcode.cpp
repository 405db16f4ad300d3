// vornelle-cli generate-gcode: a G-code program into NOM.def and NOM.det (and NOM.rythme when
// the run's own feed tracking would not suit it), with the tool page's fields as the
// configuration fills them. A refused program exits 1 and writes nothing.
#include <filesystem>

#include "base/folders.h"
#include "clisupport.h"
#include "commands.h"
#include "cutfile/gcode/gcodegeneration.h"
#include "cutfile/ramps/rampjob.h"

namespace vornelle::cli {

int generateGcode(const GenerateGcodeArgs& a, Output& out) {
    GcodeOptions o;
    if (a.tolerance) {
        auto t = arcTolerance(*a.tolerance);
        if (!t) {
            out.error = "--arc-tolerance " + *a.tolerance + " : un nombre de 0,001 à 100 mm est attendu";
            return 2;
        }
        o.tolerance = *t;
    }
    ToolFields f;
    if (!loadTool(f, out)) return 1;
    f.Text4 = a.scale;
    o.Text2 = f.Text2;
    GenerationInput in = generationInput(
        f, a.program, a.name, "Programme G-code " + std::filesystem::path(a.program).filename().string());
    auto work = dossierTravail();
    if (!work) {
        out.error = work.error();
        return 1;
    }
    NoPointer pointer;
    GcodeResult r = vornelle::generateGcode(in, o, *work, pointer);
    if (!r.generation.ok) {
        out.error = r.generation.message.text;
        return 1;
    }
    // The ramps of the data folder's settings file, as the tool page plans them.
    auto data = cheminTemp();
    std::string why =
        data ? settingsRampsAfterGeneration(in, f.Text2, f.invZ, *data, r.generation.defPath, *work)
             : data.error();
    if (!why.empty()) {
        out.error = why + "\nAucun fichier découpe n'a été créé.";
        return 1;
    }
    nlohmann::ordered_json feeds = nlohmann::ordered_json::array();
    for (const GcodeFeed& g : r.feeds) feeds.push_back({{"f", g.f}, {"peak_rate", g.peakRate}});
    const GcodeSummary& s = r.summary;
    out.json = jsonLine({{"def", r.generation.defPath},
                         {"det", r.generation.detPath},
                         {"ticks", r.generation.ticks},
                         {"lines", s.lines},
                         {"moves", {{"rapid", s.rapid}, {"linear", s.linear}, {"arc", s.arc}}},
                         {"feeds", feeds},
                         {"units", s.inch ? "inch" : "mm"}});
    return 0;
}

}  // namespace vornelle::cli
