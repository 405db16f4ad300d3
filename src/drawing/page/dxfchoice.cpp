// Drawing page: after the classic DXF import, the offer of the complete import for what the
// classic one leaves out, then the complete import with its contour counts and, while
// contours stay open, the offer to import again joining ends closer than a typed distance.
#include <cmath>

#include "base/numbers.h"
#include "dessinpage.h"
#include "drawing/import/complete/dxfcomplete.h"

namespace vornelle {
namespace {
const char* kTitle = "Import DXF complet";

// A distance a little above `gap` with two significant digits (0,5 gives 0,51), so that
// joining at it closes the gap it was proposed for.
double proposal(double gap) {
    double step = std::pow(10.0, std::floor(std::log10(gap)) - 1);
    return std::ceil(gap * 1.02 / step) * step;
}

// A distance as the user reads it: six significant digits (0,499999999999989 shows as 0,5).
std::string shortText(double v) {
    double magnitude = std::pow(10.0, std::floor(std::log10(v)) - 5);
    return numberText(std::round(v / magnitude) * magnitude, ',');
}

std::string skippedList(const std::map<std::string, long>& skipped) {
    std::string list;
    for (const auto& [type, n] : skipped) list += (list.empty() ? "" : ", ") + std::to_string(n) + " " + type;
    return list;
}
}  // namespace

bool DessinPage::offerComplete(const std::map<std::string, long>& classicSkipped) {
    std::string question = completeImportQuestion(classicSkipped);
    if (question.empty()) return false;
    if (dialogs_.message(question, style::kQuestionYesNo, "Import DXF") != Button::Yes) return false;
    importComplete();
    return true;
}

void DessinPage::importComplete() {
    CompleteOptions options;
    for (;;) {
        CompleteResult r;
        {
            BusyGuard busy(pointer_);
            r = importDxfComplete(chaine_, options, drawing_);
        }
        if (!r.ok) {
            dialogs_.message(r.message.text, r.message.style, r.message.title);
            return;
        }
        drawingChanged();
        showPanel(false);
        Command8->hide();
        clearOptions();
        std::string summary = "Dessin importé en entier : " + drawing_.Text3 + " découpes, " +
                              std::to_string(r.closed) + " contours fermés, " + std::to_string(r.open) +
                              " ouverts. Unités du dessin : " + r.units + ".";
        if (!r.skipped.empty()) summary += "\nEntités non découpées : " + skippedList(r.skipped) + ".";
        if (r.open == 0 || !r.smallestGap) {
            dialogs_.message(summary, style::kExclamationOk, kTitle);
            return;
        }
        summary += "\nLe plus petit écart entre deux extrémités libres est de " + shortText(*r.smallestGap) +
                   ".\nImporter à nouveau en joignant les extrémités plus proches que :";
        auto answer = dialogs_.inputBox(summary, kTitle, numberText(proposal(*r.smallestGap), ','));
        if (!answer || answer->empty()) return;  // the drawing stays with its open contours
        std::string typed = *answer;
        for (char& c : typed)
            if (c == '.') c = ',';
        auto join = decimalValue(typed);
        if (!join || *join < 0) {
            dialogs_.message(
                "Distance \"" + *answer + "\" invalide : saisir un nombre positif (par exemple 0,5).",
                style::kStopOk, kTitle);
            return;
        }
        options.join = *join;
    }
}

}  // namespace vornelle
