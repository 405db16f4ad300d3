// The generation's checks of the tool page's fields, in the order the page has always made
// them, and the machine fields converted once for the stages.
#include "base/files.h"
#include "base/numbers.h"
#include "port/step.h"
#include "stages.h"

namespace vornelle {
namespace {

bool endsWith(const std::string& s, const char* e) {
    size_t n = std::char_traits<char>::length(e);
    return s.size() >= n && s.compare(s.size() - n, n, e) == 0;
}

const char* kFailTitle = "Découpe";

// The refusal of the typed texts: names, note, depth and scale.
std::optional<Message> checkTexts(const GenerationInput& in) {
    if (endsWith(in.Text9, "def"))
        return Message{"Ne pas mettre d'extension au nom de fichier", "Nom fichier ", style::kQuestionOk};
    if (in.Text7.empty()) return Message{"Descriptif vide ?", "descriptif", style::kExclamationOk};
    if (in.text1.empty())
        return Message{"Saisie du nom de fichier des coordonnées ?", "Nom fichier ?", style::kQuestionOk};
    if (in.Text9.empty())
        return Message{"Saisie du nom de fichier de decoupe ?", "Nom fichier ?", style::kQuestionOk};
    if (in.Text9 == in.text1)
        return Message{"les noms de fichiers doivent être differents !", "Nom fichier ?", style::kStopOk};
    if (in.Text12.empty())
        return Message{"Saisie de la valeur de descente d'outil ?", "Nom fichier ?", style::kQuestionOk};
    if (in.Text4.empty()) return Message{"Saisie incomplete ?", "Saisie", style::kStopOk};
    // An existing cut file would otherwise get the new ticks appended to its own.
    if (fileExists(in.Text9 + ".det") || fileExists(in.Text9 + ".def"))
        return Message{"Nom de fichier découpe deja utilisé !", "Nom", style::kStopOk};
    return std::nullopt;
}

// The refusal of the configuration's fields (steps per mm, weights, inversions).
std::optional<Message> convertMachine(const GenerationInput& in, MachineFields& m) {
    m.scale = leadingNumberOr0(in.Text4);
    m.depth = leadingNumberOr0(in.Text12);
    const std::string* spmmTexts[3] = {&in.Text6, &in.Text3, &in.Text5};
    for (int a = 0; a < 3; ++a) {
        auto v = decimalValue(*spmmTexts[a]);
        if (!v)
            return Message{"Nombre de pas par mm de l'axe " + std::string(1, "XYZ"[a]) +
                               " illisible : " + quotedText(*spmmTexts[a]) + ". Vérifiez la configuration.",
                           kFailTitle, style::kStopOk};
        m.spmm[a] = *v;
    }
    for (int i = 0; i < 8; ++i) {
        // A weight such as 1e300 or 3 would write bytes that drive no line, or several.
        auto w = signalWeight(in.weights[i], "n°" + std::to_string(i + 1));
        if (!w) return Message{w.error() + " Vérifiez la configuration.", kFailTitle, style::kStopOk};
        m.weight[i] = *w;
    }
    for (int a = 0; a < 3; ++a) {
        auto v = decimalValue(in.inversions[a]);
        if (!v)
            return Message{"Inversion de l'axe " + std::string(1, "XYZ"[a]) + " illisible : " +
                               quotedText(in.inversions[a]) + ". Vérifiez la configuration.",
                           kFailTitle, style::kStopOk};
        m.invert[a] = *v == 1;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Message> checkInput(const GenerationInput& in, MachineFields& m) {
    if (auto refused = checkTexts(in)) return refused;
    return convertMachine(in, m);
}

}  // namespace vornelle
