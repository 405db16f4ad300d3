// The complete DXF import; see dxfcomplete.h. Reading (dxfentities), entities to pieces of
// path (dxfpaths, dxfflatten), joining (dxfjoin), then the records of each contour.
#include "dxfcomplete.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/files.h"
#include "base/numbers.h"
#include "drawing/import/dxfclassic.h"
#include "drawing/import/dxfrecords.h"
#include "dxfentities.h"
#include "dxfjoin.h"
#include "dxfpaths.h"

namespace vornelle {

std::string unitsWord(int u) {
    static const char* const words[] = {"unitless", "inch",      "ft",  "mi", "mm",       "cm", "m",
                                        "km",       "microinch", "mil", "yd", "angstrom", "nm", "µm",
                                        "dm",       "dam",       "hm",  "Gm", "au",       "ly", "pc"};
    return u > 0 && u < static_cast<int>(std::size(words)) ? words[u] : "unitless";
}

std::map<std::string, long> handledByComplete(const std::map<std::string, long>& skipped) {
    std::map<std::string, long> out;
    for (const char* t : {"LWPOLYLINE", "ARC", "ELLIPSE", "SPLINE", "INSERT", "POLYLINE", "LINE", "CIRCLE"})
        if (auto it = skipped.find(t); it != skipped.end() && it->second > 0) out[t] = it->second;
    return out;
}

std::string completeImportQuestion(const std::map<std::string, long>& skipped) {
    auto handled = handledByComplete(skipped);
    if (handled.empty()) return {};
    std::vector<std::pair<std::string, long>> v(handled.begin(), handled.end());
    std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    std::string what;
    for (size_t i = 0; i < v.size(); ++i) {
        if (i > 0) what += i + 1 == v.size() ? " et " : ", ";
        what += std::to_string(v[i].second) + " " + v[i].first;
    }
    return "Ce fichier contient aussi " + what +
           " que l'import standard ignore. Importer le dessin complet ?";
}

CompleteResult importDxfComplete(const std::string& path, const CompleteOptions& o, Drawing& target) {
    CompleteResult result;
    auto refuse = [&result](const std::string& text, const char* title) {
        result.message = {text, title, 272};
        return result;
    };
    if (path.empty()) return refuse("Nom du fichier ?", "Saisie incomplette !");
    if (!fileExists(path)) return refuse("Fichier introuvable !", "Mauvaise saisie !");
    if (!(o.tolerance > 0) || !std::isfinite(o.tolerance))
        return refuse("La tolérance doit être un nombre plus grand que 0.", "Mauvaise saisie !");
    if (!(o.join >= 0) || !std::isfinite(o.join))
        return refuse("La distance de jonction doit être un nombre positif ou nul.", "Mauvaise saisie !");

    DxfRead read = readDxfModel(path);
    if (!read.model) return refuse(read.error, "Mauvaise saisie !");
    result.units = unitsWord(read.model->insunits);
    Paths paths = entityPaths(*read.model, o.tolerance);
    if (!paths.refusal.empty())
        return refuse(paths.refusal + ".\nLe dessin n'a pas été modifié.", "Mauvaise saisie !");
    result.skipped = std::move(paths.skipped);
    Contours contours = joinPieces(std::move(paths.pieces), o.join);
    if (contours.list.empty()) return refuse(nothingToCut(result.skipped), "Mauvaise saisie !");

    Drawing d;
    CutRecords cuts(d);
    auto text = [](double v) { return numberText(v + 0.0, ','); };  // + 0.0: no "-0"
    for (const Contour& c : contours.list) {
        const Vec3& p0 = c.points.front();
        cuts.start(text(p0.x), text(p0.y));
        for (size_t i = 1; i < c.points.size(); ++i) cuts.point(text(c.points[i].x), text(c.points[i].y));
        cuts.end(text(c.points.back().x), text(c.points.back().y));
    }
    cuts.finish();
    result.closed = contours.closed;
    result.open = contours.open;
    result.smallestGap = contours.smallestGap;
    target = std::move(d);
    result.ok = true;
    return result;
}

}  // namespace vornelle
