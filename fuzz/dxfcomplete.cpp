// Fuzz target: the complete DXF import (dxflib, flattening, joining). A refused file leaves the
// drawing as it was, with a message.
#include "drawing/import/complete/dxfcomplete.h"

#include <string>

#include "drawingstate.h"

using namespace vornelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Drawing before = fuzz::startingDrawing();
    Drawing d = before;
    CompleteResult r = importDxfComplete(fuzz::inputFile("complet.dxf", data, size), CompleteOptions{}, d);
    if (!r.ok) {
        if (r.message.text.empty()) fuzz::broken("message du refus");
        if (!fuzz::sameDrawing(d, before)) fuzz::broken("dessin intact après un refus");
        return 0;
    }
    fuzz::checkImported(d);
    return 0;
}
