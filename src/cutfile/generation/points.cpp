// The generation's point stages, in steps: the FRA drawing scaled into prem, then the segments
// between points rounded to the nearest step into objet.
#include <cmath>

#include "base/fields.h"
#include "base/numbers.h"
#include "drawing/drawing.h"
#include "stages.h"
#include "streams.h"

namespace vornelle {
namespace {

// Step positions beyond this (in steps from the origin) come from a typing slip in a
// coordinate, the scale or the steps per mm, never from a drawing a machine can cut.
constexpr double kMaxPosition = 2147483647.0;

std::string farPoint(const std::string& fra, long line, char axis, double steps) {
    return std::string(kFraUnusable) + "\n" + fra + ", ligne " + std::to_string(line) + " : le point est à " +
           (std::isfinite(steps) ? numberText(steps, ',') : std::string("plus de 1E+308")) +
           " pas sur l'axe " + axis +
           ", au-delà de la limite de 2147483647 pas. Vérifiez l'échelle, les pas par mm et les coordonnées.";
}

}  // namespace

std::string writeScaledPoints(const std::string& fraPath, const MachineFields& m,
                              const std::string& premPath) {
    auto fra = FieldReader::open(fraPath);
    if (!fra) return "Le fichier FRA " + fraPath + " est illisible.";
    auto prem = FieldWriter::append(premPath);
    if (!prem) return prem.error();
    std::string fx, fy, fz;
    long record = 0;
    do {
        long line = fra->line();
        if (!fra->next(fx) || !fra->next(fy) || !fra->next(fz))
            return std::string(kFraUnusable) + "\n" + fraPath + ", ligne " + std::to_string(fra->line()) +
                   " : " + (fra->fieldTooLong() ? "champ de plus de 1 Mo." : "enregistrement incomplet.");
        ++record;
        auto x = coordinateValue(fx), y = coordinateValue(fy), z = decimalValue(fz);
        if (!x || !y || !z) {
            const std::string& bad = !x ? fx : !y ? fy : fz;
            return std::string(kFraUnusable) + "\n" + fraPath + ", ligne " + std::to_string(line) + " : " +
                   quotedText(bad) + " n'est pas un nombre.";
        }
        const double steps[3] = {(m.scale * *x) * m.spmm[0], (m.scale * *y) * m.spmm[1],
                                 (m.depth * *z) * m.spmm[2]};
        for (int a = 0; a < 3; ++a) {
            if (!(std::fabs(steps[a]) <= kMaxPosition)) return farPoint(fraPath, line, "XYZ"[a], steps[a]);
            prem->number(steps[a]);
        }
        prem->integer(0);
        prem->endRecord();
    } while (!fra->atEnd());
    if (!fra->error().empty()) return fra->error();
    if (Status s = prem->close(); !s) return s.message;
    if (record < 2) return "Le fichier FRA " + fraPath + " ne contient qu'un point : rien à découper.";
    return {};
}

std::string writeSegments(const std::string& premPath, const std::string& objetPath, uint64_t& ticks) {
    FieldStream prem;
    if (Status s = prem.open(premPath); !s) return s.message;
    auto objet = FieldWriter::append(objetPath);
    if (!objet) return objet.error();
    double p[4], q[4];
    ticks = 0;
    for (double& v : p)
        if (!prem.next(v)) return "Fichier de travail prem illisible : " + prem.error();
    do {
        for (double& v : q)
            if (!prem.next(v)) return "Fichier de travail prem illisible : " + prem.error();
        double longest = 0;
        for (int c = 0; c < 4; ++c) {
            const double n = std::fabs(roundHalfEven(q[c]) - roundHalfEven(p[c]));
            objet->integer(q[c] < p[c] ? 1 : 0);
            objet->number(n);
            longest = std::max(longest, n);
        }
        // Positions are bounded, so a segment holds fewer than 2^32 ticks and the sum
        // cannot wrap before 2^31 segments.
        ticks += static_cast<uint64_t>(longest);
        objet->endRecord();
        for (int c = 0; c < 4; ++c) p[c] = q[c];
    } while (!prem.atEnd());
    if (Status s = objet->close(); !s) return s.message;
    return {};
}

}  // namespace vornelle
