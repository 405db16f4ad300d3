// Fuzz target: the FRA reader. A drawing that reads is written and read back: the same
// records come back between the two origin records the writer puts around them.
#include <string>

#include "base/files.h"
#include "drawing/drawing.h"
#include "drawingstate.h"

using namespace vornelle;

namespace {
bool quoted(const TextList& l) {
    for (size_t i = 0; i < l.size(); ++i)
        if (l[i].find('"') != std::string_view::npos) return true;
    return false;
}

Drawing writtenAndRead(const Drawing& d, const char* name) {
    const std::string path = fuzz::folder() + name;
    removeFile(path);
    if (Status s = writeFra(d, path); !s) fuzz::broken("écriture FRA", s.message);
    Drawing back;
    if (Status s = readFra(back, path); !s) fuzz::broken("relecture FRA", s.message);
    return back;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Drawing d = fuzz::startingDrawing();
    Status s = readFra(d, fuzz::inputFile("dessin.fra", data, size));
    fuzz::checkImported(d);
    if (!s) return 0;
    if (quoted(d.List1) || quoted(d.List2) || quoted(d.List3)) return 0;
    Drawing once = writtenAndRead(d, "une.fra");
    Drawing twice = writtenAndRead(once, "deux.fra");
    if (twice.size() != once.size() + 2) fuzz::broken("deux origines de plus");
    for (size_t i = 0; i < once.size(); ++i)
        if (twice.List1[i + 1] != once.List1[i] || twice.List2[i + 1] != once.List2[i] ||
            twice.List3[i + 1] != once.List3[i])
            fuzz::broken("FRA relu à l'identique", std::to_string(i));
    return 0;
}
