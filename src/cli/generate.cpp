// vornelle-cli generate: "Créer fichier fraisage (DEF)" with the tool page's fields as the
// configuration fills them, the scale, depth, note, feeds and cut strategy as typed.
#include "base/files.h"
#include "base/folders.h"
#include "clisupport.h"
#include "commands.h"
#include "cutfile/generation/generation.h"
#include "cutfile/ramps/rampjob.h"
#include "cutfile/strategy/strategygeneration.h"

namespace vornelle::cli {
namespace {

StrategyTexts strategyTexts(const GenerateArgs& a) {
    StrategyTexts t;
    auto take = [](const std::optional<std::string>& from, std::string& to) {
        if (from) to = *from;
    };
    take(a.toolDiameter, t.diameter);
    take(a.compensation, t.compensation);
    take(a.stepDown, t.stepDown);
    take(a.tabs, t.tabs);
    take(a.tabWidth, t.tabWidth);
    take(a.tabHeight, t.tabHeight);
    take(a.direction, t.direction);
    return t;
}

// A strategy setting typed empty is still a setting the user gave.
bool anyGiven(const GenerateArgs& a) {
    for (const auto* o :
         {&a.toolDiameter, &a.compensation, &a.stepDown, &a.tabs, &a.tabWidth, &a.tabHeight, &a.direction})
        if (o->has_value()) return true;
    return false;
}

// The ramps: the five options together, else the settings file of the data folder; no value
// for no ramps. False with the message (exit status in `status`) when refused.
bool rampsOf(const GenerateArgs& a, std::optional<RampSettings>& ramps, int& status, Output& out) {
    const std::optional<std::string>* given[5] = {&a.accelX, &a.accelY, &a.accelZ, &a.startSpeed, &a.corner};
    int count = 0;
    RampTexts texts;
    for (int i = 0; i < 5; ++i)
        if (given[i]->has_value()) texts[i] = **given[i], ++count;
    status = 2;
    if (count > 0 && count < 5) {
        out.error =
            "--accel-x, --accel-y, --accel-z, --start-speed et --corner vont ensemble : donner les cinq.";
        return false;
    }
    if (count == 0) {
        status = 1;
        auto folder = cheminTemp();
        if (!folder) return out.error = folder.error(), false;
        auto file = readRampTexts(*folder);
        if (!file) return out.error = file.error(), false;
        texts = *file;
    }
    auto s = rampSettings(texts);
    if (!s) return out.error = s.error(), false;
    if (count == 5 && !*s) return out.error = "Rampes : les cinq valeurs sont vides.", false;
    ramps = *s;
    return true;
}

}  // namespace

int generate(const GenerateArgs& a, Output& out) {
    ToolFields f;
    if (!loadTool(f, out)) return 1;
    f.Text4 = a.scale;
    f.Text12 = a.depth;
    if (a.feedIn) f.Text10 = *a.feedIn;
    if (a.feedOut) f.Text11 = *a.feedOut;
    std::optional<RampSettings> ramps;
    if (int status = 0; !rampsOf(a, ramps, status, out)) return status;
    GenerationInput in = generationInput(f, a.drawing, a.name, a.note);
    auto work = dossierTravail();
    if (!work) {
        out.error = work.error();
        return 1;
    }
    NoPointer pointer;
    StrategyTexts t = strategyTexts(a);
    if (anyGiven(a) && !t.any()) t.direction = "conventionnel";
    StrategyOutcome o = generateWithStrategy(in, t, *work, pointer);
    const GenerationResult& r = o.result;
    if (!r.ok) {
        out.error = r.message.text;
        return 1;
    }
    nlohmann::ordered_json j = {{"def", r.defPath}, {"det", r.detPath}, {"ticks", r.ticks}};
    if (ramps) {
        RampReport report;
        if (std::string why = rampsAfterGeneration(f, *ramps, r.defPath, *work, report); !why.empty()) {
            removeFile(r.defPath);
            removeFile(r.detPath);
            out.error = why + "\nAucun fichier découpe n'a été créé.";
            return 1;
        }
        j["rythme"] = report.pacingPath;
        j["ramps"] = {{"moves", report.moves},
                      {"slowed", report.slowed},
                      {"unpaced", report.unpaced},
                      {"duration", report.seconds}};
    }
    if (o.used) {
        const CompensationReport& c = o.summary.report;
        j["passes"] = o.summary.passes;
        j["compensation"] = {
            {"outside", c.outside}, {"inside", c.inside}, {"on_line", c.onLine}, {"not_cut", c.notCut()}};
        j["tabs"] = o.summary.tabs;
    }
    out.json = jsonLine(j);
    return 0;
}

}  // namespace vornelle::cli
