// The cut strategy's settings checked and converted; see settings.h.
#include "settings.h"

#include <cmath>

#include "base/interfaces.h"
#include "base/numbers.h"

namespace vornelle {
namespace {

const char* kTitle = "Stratégie de coupe";

Message refusal(const std::string& text) {
    return Message{text, kTitle, style::kStopOk};
}

// A length in mm from `text` (empty: 0), refused when unreadable or negative.
std::optional<Message> length(const std::string& text, const char* what, double& out) {
    out = 0;
    if (text.empty()) return std::nullopt;
    auto v = commaOrPoint(text);
    if (!v || !std::isfinite(*v))
        return refusal(std::string(what) + " illisible : " + quotedText(text) + ".");
    if (*v < 0) return refusal(std::string(what) + " négatif : " + quotedText(text) + ".");
    out = *v;
    return std::nullopt;
}

std::string mm(double v) {
    return numberText(v, ',') + " mm";
}

std::optional<Message> keywords(const StrategyTexts& t, StrategySettings& s) {
    const std::string& c = t.compensation;
    if (c.empty() || c == "auto")
        s.compensation = Compensation::Automatic;
    else if (c == "exterieur")
        s.compensation = Compensation::Outside;
    else if (c == "interieur")
        s.compensation = Compensation::Inside;
    else if (c == "trait")
        s.compensation = Compensation::OnLine;
    else
        return refusal("Compensation inconnue : " + quotedText(c) +
                       " (auto, exterieur, interieur ou trait).");
    if (t.direction.empty() || t.direction == "conventionnel")
        s.direction = CutDirection::Conventional;
    else if (t.direction == "avalant")
        s.direction = CutDirection::Climb;
    else
        return refusal("Sens inconnu : " + quotedText(t.direction) + " (conventionnel ou avalant).");
    return std::nullopt;
}

std::optional<Message> tabs(const StrategyTexts& t, StrategySettings& s) {
    if (t.tabs.empty() && t.tabWidth.empty() && t.tabHeight.empty()) return std::nullopt;
    double count = 0;
    if (auto r = length(t.tabs, "Nombre d'attaches", count)) return r;
    if (count != std::floor(count) || count > 1000)
        return refusal("Nombre d'attaches incorrect : " + quotedText(t.tabs) +
                       " (un nombre entier de 0 à 1000).");
    s.tabs = static_cast<int>(count);
    if (s.tabs == 0) return std::nullopt;
    if (auto r = length(t.tabWidth, "Largeur des attaches", s.tabWidth)) return r;
    if (auto r = length(t.tabHeight, "Hauteur des attaches", s.tabHeight)) return r;
    if (s.tabWidth <= 0) return refusal("Largeur des attaches manquante ou nulle.");
    if (s.tabHeight <= 0) return refusal("Hauteur des attaches manquante ou nulle.");
    if (s.tabHeight > s.depth)
        return refusal("Attaches de " + mm(s.tabHeight) + " plus hautes que la profondeur de " + mm(s.depth) +
                       ".");
    return std::nullopt;
}

}  // namespace

bool StrategyTexts::any() const {
    return !diameter.empty() || !compensation.empty() || !stepDown.empty() || !tabs.empty() ||
           !tabWidth.empty() || !tabHeight.empty() || !direction.empty();
}

std::optional<double> commaOrPoint(const std::string& text) {
    std::string t = text;
    if (t.find(',') == std::string::npos)
        for (char& ch : t)
            if (ch == '.') ch = ',';
    return decimalValue(t);
}

std::optional<Message> parseStrategy(const StrategyTexts& t, double depth, StrategySettings& s) {
    s = StrategySettings{};
    s.depth = depth;
    if (auto r = length(t.diameter, "Diamètre de l'outil", s.diameter)) return r;
    if (auto r = keywords(t, s)) return r;
    if (auto r = length(t.stepDown, "Profondeur par passe", s.stepDown)) return r;
    if (!t.stepDown.empty() && s.stepDown <= 0) return refusal("Profondeur par passe nulle.");
    if (s.stepDown > depth)
        return refusal("Profondeur par passe de " + mm(s.stepDown) + " plus grande que la profondeur de " +
                       mm(depth) + ".");
    // A step so small that the passes could not be counted is a typing slip.
    if (s.stepDown > 0 && depth / s.stepDown > 10000)
        return refusal("Profondeur par passe de " + mm(s.stepDown) + " : plus de 10000 passes.");
    return tabs(t, s);
}

const char* compensationLabel(Compensation c) {
    switch (c) {
        case Compensation::Outside:
            return "Extérieur";
        case Compensation::Inside:
            return "Intérieur";
        case Compensation::OnLine:
            return "Sur le trait";
        default:
            return "Automatique";
    }
}

}  // namespace vornelle
