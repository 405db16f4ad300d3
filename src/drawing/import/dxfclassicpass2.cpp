// The classic import's second pass: the scratch file tempX to drawing records. Polylines and
// lines keep the DXF texts (dxfPoint); circles are 72 steps of 5 degrees from the trig tables.
#include "base/fields.h"
#include "base/numbers.h"
#include "dxfclassic.h"
#include "dxfimport.h"
#include "dxfrecords.h"
#include "trig.h"

namespace vornelle {

std::string readScratch(const std::string& scratch, Drawing& d) {
    auto sr = FieldReader::open(scratch);
    if (!sr) return sr.error();
    CutRecords cuts(d);
    std::string a, b;
    auto read = [&]() -> bool { return sr->next(a) && sr->next(b); };
    const TrigTables& trig = trigTables();
    auto scratchBad = [&scratch]() { return "Fichier de travail " + scratch + " incohérent."; };
    while (!sr->atEnd()) {
        if (!read()) return scratchBad();
        if (a == "0") {
            if (!read() || !read()) return scratchBad();  // placeholder, first vertex
            std::string x = dxfPoint(a), y = dxfPoint(b);
            cuts.start(x, y);
            for (;;) {
                if (!read()) return scratchBad();
                if (a == "1" && b == "1") {
                    cuts.end(x, y);
                    break;
                }
                if (a == "rayon") {  // the bulge: the segment stays straight
                    if (!read()) return scratchBad();
                    continue;
                }
                x = dxfPoint(a);
                y = dxfPoint(b);
                cuts.point(x, y);
            }
        } else if (a == "ligne") {
            if (!read() || !read()) return scratchBad();
            cuts.start(dxfPoint(a), dxfPoint(b));
            if (!read()) return scratchBad();
            std::string x2 = dxfPoint(a), y2 = dxfPoint(b);
            cuts.point(x2, y2);
            cuts.end(x2, y2);
        } else if (a == "cercle") {
            if (!read() || !read()) return scratchBad();
            const std::string X = a, Y = b;               // the centre, as read
            if (!read() || !read()) return scratchBad();  // "rayon", radius
            double cx = *leadingNumber(X), cy = *leadingNumber(Y), R = *leadingNumber(a);
            std::string px = numberText(cx + R, ','), py = numberText(cy, ',');
            cuts.start(px, py);
            for (int k = 5; k <= 360; k += 5) {
                px = numberText(cx + R * trig.cosine[k], ',');
                py = numberText(cy + R * trig.sine[k], ',');
                cuts.point(px, py);
            }
            cuts.point(px, py);
            cuts.end(px, py);
        } else if (a == "arc") {
            // Its centre line, centre pair, radius and the two angles: nothing to cut.
            for (int k = 0; k < 6; ++k)
                if (!read()) return scratchBad();
        }
    }
    cuts.finish();
    return {};
}

}  // namespace vornelle
