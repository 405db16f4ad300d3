// vornelle-cli generate: "Créer fichier fraisage (DEF)" with the tool page's fields as the
// configuration fills them, the scale, depth, note, feeds and cut strategy as typed.
#include "base/folders.h"
#include "clisupport.h"
#include "commands.h"
#include "cutfile/generation/generation.h"
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

}  // namespace

int generate(const GenerateArgs& a, Output& out) {
    ToolFields f;
    if (!loadTool(f, out)) return 1;
    f.Text4 = a.scale;
    f.Text12 = a.depth;
    if (a.feedIn) f.Text10 = *a.feedIn;
    if (a.feedOut) f.Text11 = *a.feedOut;
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
