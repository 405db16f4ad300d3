// The ramps' settings file; see rampsettings.h.
#include "rampsettings.h"

#include <cmath>

#include "base/files.h"
#include "base/numbers.h"

namespace vornelle {
namespace {

const char* kNames[5] = {"Accélération X", "Accélération Y", "Accélération Z", "Vitesse de démarrage",
                         "Déviation en angle"};

std::optional<double> pointOrCommaValue(std::string t) {
    for (char& c : t)
        if (c == '.') c = ',';
    auto v = decimalValue(t);
    if (v && !std::isfinite(*v)) return std::nullopt;
    return v;
}

}  // namespace

Outcome<std::optional<RampSettings>> rampSettings(const RampTexts& t) {
    int empty = 0;
    for (const std::string& s : t) empty += s.empty();
    if (empty == 5) return std::optional<RampSettings>{};
    if (empty > 0)
        return Failure{
            "Rampes : saisir les cinq valeurs (accélérations X, Y, Z, vitesse de démarrage, "
            "déviation en angle) ou n'en saisir aucune."};
    double v[5];
    for (int i = 0; i < 5; ++i) {
        auto x = pointOrCommaValue(t[i]);
        bool zeroAllowed = i == 4;
        if (!x || *x < 0 || (!zeroAllowed && *x == 0))
            return Failure{std::string(kNames[i]) + " \"" + t[i] + "\" invalide : saisir un nombre " +
                           (zeroAllowed ? "positif ou nul" : "plus grand que 0") + " (virgule ou point)."};
        v[i] = *x;
    }
    RampSettings s;
    s.accel = {v[0], v[1], v[2]};
    s.startSpeed = v[3];
    s.corner = v[4];
    return std::optional<RampSettings>{s};
}

std::string rampLine(const RampTexts& t) {
    std::string line;
    for (size_t i = 0; i < t.size(); ++i) line += (i ? ",\"" : "\"") + t[i] + "\"";
    return line + "\r\n";
}

Status saveRampTexts(const std::string& folder, const RampTexts& t) {
    for (const std::string& s : t)
        if (s.find('"') != std::string::npos || s.find('\n') != std::string::npos)
            return Status::failure(
                "Rampes : une valeur ne peut pas contenir de guillemet ni de saut de ligne.");
    return replaceFile(folder + kRampFile, rampLine(t));
}

Outcome<RampTexts> readRampTexts(const std::string& folder) {
    const std::string path = folder + kRampFile;
    RampTexts t;
    if (!fileExists(path)) return t;
    auto text = readFile(path);
    if (!text) return Failure{text.error()};
    const std::string bad =
        "Le fichier des rampes " + path + " est abîmé : cinq valeurs entre guillemets attendues.";
    std::string_view rest = *text;
    for (size_t i = 0; i < t.size(); ++i) {
        if (i > 0) {
            if (rest.empty() || rest[0] != ',') return Failure{bad};
            rest.remove_prefix(1);
        }
        if (rest.empty() || rest[0] != '"') return Failure{bad};
        size_t close = rest.find('"', 1);
        if (close == std::string_view::npos) return Failure{bad};
        t[i] = std::string(rest.substr(1, close - 1));
        rest.remove_prefix(close + 1);
    }
    if (rest != "\r\n" && rest != "\n" && !rest.empty()) return Failure{bad};
    return t;
}

}  // namespace vornelle
