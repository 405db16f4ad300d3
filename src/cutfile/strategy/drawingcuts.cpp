// The FRA drawing read whole into travels and cuts; see drawingcuts.h.
#include "drawingcuts.h"

#include <cmath>

#include "base/fields.h"
#include "base/message.h"
#include "base/numbers.h"
#include "drawing/drawing.h"

namespace vornelle {
namespace {

// Closing points further apart than this (mm) leave the cut open: the importers write the
// closing point with the very text of the first.
constexpr double kSamePoint = 1e-6;

}  // namespace

std::string readDrawingCuts(const std::string& fraPath, double scale, DrawingCuts& out) {
    out = DrawingCuts{};
    auto fra = FieldReader::open(fraPath);
    if (!fra) return "Le fichier FRA " + fraPath + " est illisible.";
    std::string fx, fy, fz;
    long records = 0;
    bool inCut = false;
    do {
        long line = fra->line();
        if (!fra->next(fx) || !fra->next(fy) || !fra->next(fz))
            return std::string(kFraUnusable) + "\n" + fraPath + ", ligne " + std::to_string(fra->line()) +
                   " : " + (fra->fieldTooLong() ? "champ de plus de 1 Mo." : "enregistrement incomplet.");
        ++records;
        auto x = coordinateValue(fx), y = coordinateValue(fy), z = decimalValue(fz);
        if (!x || !y || !z) {
            const std::string& bad = !x ? fx : !y ? fy : fz;
            return std::string(kFraUnusable) + "\n" + fraPath + ", ligne " + std::to_string(line) + " : " +
                   quotedText(bad) + " n'est pas un nombre.";
        }
        const Pt p{scale * *x, scale * *y};
        if (*z == 0) {
            inCut = false;
            out.items.push_back({false, p, 0});
            continue;
        }
        if (!inCut) {
            inCut = true;
            DrawingCut c;
            c.zFlag = *z;
            c.number = static_cast<int>(out.cuts.size()) + 1;
            out.items.push_back({true, {}, out.cuts.size()});
            out.cuts.push_back(std::move(c));
        }
        out.cuts.back().pts.push_back(p);
    } while (!fra->atEnd());
    if (!fra->error().empty()) return fra->error();
    if (records < 2) return "Le fichier FRA " + fraPath + " ne contient qu'un point : rien à découper.";
    for (DrawingCut& c : out.cuts) {
        const Pt a = c.pts.front(), b = c.pts.back();
        c.closed = c.pts.size() > 3 && std::hypot(a.x - b.x, a.y - b.y) <= kSamePoint;
        if (c.closed) c.pts.back() = a;
    }
    return {};
}

}  // namespace vornelle
