// Fuzz target: the G-code reader. A refused program names a line the file has; an accepted
// one gives finite moves whose arcs agree with their radius checks and end exactly on their
// end point after at most 2^20 chords; the file and text readers agree.
#include <cmath>
#include <string>

#include "cutfile/gcode/gcodearc.h"
#include "cutfile/gcode/gcodeinterpreter.h"
#include "fuzzsupport.h"

using namespace vornelle;

namespace {

bool finite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

struct Checker : GcodeSink {
    uint64_t moves = 0;
    void move(const GcodeMove& m) override {
        ++moves;
        if (!finite(m.from) || !finite(m.to) || !std::isfinite(m.feed)) fuzz::broken("déplacement fini");
        if (m.kind != MoveKind::Arc) return;
        const double r0 = std::hypot(m.from.x - m.cx, m.from.y - m.cy);
        const double r1 = std::hypot(m.to.x - m.cx, m.to.y - m.cy);
        if (!(r0 > 0) || !(std::fabs(r1 - r0) <= 0.01 || std::fabs(r1 - r0) <= 0.001 * r0 + 1e-9))
            fuzz::broken("rayons d'un arc accepté", std::to_string(r0) + " " + std::to_string(r1));
        const uint32_t n = arcChordCount(m, 0.01);
        if (n < 1 || n > (1u << 20)) fuzz::broken("nombre de cordes", std::to_string(n));
        const Point3 end = arcPoint(m, n, n), mid = arcPoint(m, n / 2, n);
        if (end.x != m.to.x || end.y != m.to.y || end.z != m.to.z) fuzz::broken("arc fini sur son point");
        if (!finite(mid)) fuzz::broken("point d'arc fini");
    }
    void dwell(double s, long) override {
        if (!(s >= 0) || !std::isfinite(s)) fuzz::broken("durée G4");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::inputFile("programme.nc", data, size);
    Checker file, text;
    GcodeSummary fromFile, fromText;
    std::string why = readGcodeFile(path, file, fromFile);
    std::string again =
        readGcodeText(std::string_view(reinterpret_cast<const char*>(data), size), text, fromText);
    if (why != again || file.moves != text.moves || fromFile.lines != fromText.lines)
        fuzz::broken("lecteurs du fichier et du texte d'accord", why + " / " + again);
    if (file.moves != fromFile.rapid + fromFile.linear + fromFile.arc) fuzz::broken("déplacements comptés");
    if (why.empty()) return 0;
    if (why.rfind("ligne ", 0) != 0) fuzz::broken("refus nommant sa ligne", why);
    const long line = std::atol(why.c_str() + 6);
    if (line < 1 || line > fromFile.lines) fuzz::broken("ligne du refus dans le fichier", why);
    return 0;
}
