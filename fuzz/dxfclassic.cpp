// Fuzz target: the classic DXF import, both passes through its scratch file. A refused file
// leaves the drawing as it was, with a message.
#include <string>

#include "drawing/import/dxfimport.h"
#include "drawingstate.h"

using namespace vornelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Drawing before = fuzz::startingDrawing();
    Drawing d = before;
    ImportResult r = importDxf(fuzz::inputFile("dessin.dxf", data, size), fuzz::folder(), d);
    if (!r.ok) {
        if (r.message.text.empty()) fuzz::broken("message du refus");
        if (!fuzz::sameDrawing(d, before)) fuzz::broken("dessin intact après un refus");
        return 0;
    }
    fuzz::checkImported(d);
    if (d.size() == 0) fuzz::broken("import réussi sans enregistrement");
    return 0;
}
