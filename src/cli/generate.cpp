// vornelle-cli generate: "Créer fichier fraisage (DEF)" with the tool page's fields as the
// configuration fills them, the scale, depth, note and feeds as typed.
#include "base/folders.h"
#include "clisupport.h"
#include "commands.h"
#include "cutfile/generation/generation.h"

namespace vornelle::cli {

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
    GenerationResult r = generate(in, *work, pointer);
    if (!r.ok) {
        out.error = r.message.text;
        return 1;
    }
    out.json = jsonLine({{"def", r.defPath}, {"det", r.detPath}, {"ticks", r.ticks}});
    return 0;
}

}  // namespace vornelle::cli
