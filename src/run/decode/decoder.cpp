// Cut-file decoder; see decoder.h. The two writes of each record are replayed as the port
// sees them (the DIR byte dirSum & r, then r) so that a step is a rising clock edge exactly
// as the machine takes it, and the material tracking is the run's own test on r & zMask.
#include "decoder.h"

#include <cmath>

#include "base/files.h"
#include "port/step.h"
#include "run/recordreader.h"
#include "run/runpacing.h"

namespace vornelle {
namespace {

constexpr double kIterationSeconds = 10e-9;

struct Pace {
    uint64_t count = 0;  // iterations of one delay
    bool ok = false;
};

Pace paceAt(double feed, double c) {
    double V = std::nearbyint(100 - feed);  // the scroll bar holds whole positions
    auto n = pauseCount(V, c);
    return {n ? *n : 0, n.has_value()};
}

// The port as the decoder replays it: the last byte written and the tool's place in steps
// from the start.
struct PortReplay {
    uint8_t last = 0;
    std::array<long, 3> pos = {0, 0, 0};
};

// One write `v` of a record lasting `recordSeconds`: a step on each rising clock, counted in
// the figures of its axis, and the mm it moved added to `moved`.
inline void replayWrite(const DecoderSetup& setup, uint8_t v, double recordSeconds, PortReplay& port,
                        Decoded& out, double (&moved)[3]) {
    const auto& w = setup.weights;
    for (int a = 0; a < 3; ++a) {
        int clk = w[2 * a + 1];
        if (clk == 0 || !(v & clk) || (port.last & clk)) continue;
        bool dir = (v & w[2 * a]) != 0;
        if (setup.inv[a]) dir = !dir;
        AxisFigures& f = out.axes[a];
        port.pos[a] += dir ? -1 : 1;
        ++(dir ? f.minus : f.plus);
        f.min = std::min(f.min, port.pos[a]);
        f.max = std::max(f.max, port.pos[a]);
        moved[a] += decodedMm(setup, a, 1);
        double rate = recordSeconds > 0 ? 1 / recordSeconds : -1;
        if (rate < 0 || f.peakRate < 0)
            f.peakRate = -1;
        else
            f.peakRate = std::max(f.peakRate, rate);
    }
    port.last = v;
}

// What the whole file shows that the user must know before cutting.
void noteProblems(const std::array<long, 3>& pos, uint64_t unwired, Decoded& out) {
    if (pos[0] != 0 || pos[1] != 0 || pos[2] != 0)
        out.problems.push_back("La découpe ne finit pas à son point de départ : X " + std::to_string(pos[0]) +
                               ", Y " + std::to_string(pos[1]) + ", Z " + std::to_string(pos[2]) + " pas.");
    if (unwired > 0)
        out.problems.push_back(
            std::to_string(unwired) +
            " enregistrements lèvent une ligne dont le poids est 0 : ces pas sont perdus.");
}

}  // namespace

std::string attachPacing(DecoderSetup& setup, const std::string& cut) {
    const std::string rythme = pacingPathFor(cut);
    if (!fileExists(rythme) || !fileExists(cut)) return {};
    auto p = readPacing(rythme);
    if (!p) return p.error();
    if (std::string other = pacingMismatch(*p, cut); !other.empty()) return other;
    setup.pacing = std::make_shared<const Pacing>(std::move(*p));
    return {};
}

double decodedMm(const DecoderSetup& setup, int axis, long steps) {
    double s = setup.stepsPerMm[axis];
    return s > 0 ? steps / s : 0;
}

Decoded decodeCutFile(const std::string& path, const DecoderSetup& setup, DecodeObserver* observer) {
    Decoded out;
    RecordReader file;
    if (Status o = file.open(path); !o) {
        out.error = o.message;
        return out;
    }
    const auto& w = setup.weights;
    const int dirSum = w[0] + w[2] + w[4] + w[6];
    const int zMask = w[5] + w[4];
    const int downStep = setup.variant == RunVariant::Command11 ? w[5] : w[5] + w[4];
    const int upStep = setup.variant == RunVariant::Command11 ? w[5] + w[4] : w[5];
    int wired = 0;
    for (int x : w) wired |= x;

    Pace in = paceAt(setup.feedIn, setup.c), outPace = paceAt(setup.feedOut, setup.c);
    if (!in.ok || !outPace.ok) {
        out.error = "Coefficient vitesse inutilisable : aucune pause possible.";
        return out;
    }
    // The run starts at the in-material pace although the tool is out of the material.
    Pace current = in;
    bool outOfMaterial = true;
    uint64_t unwired = 0;
    uint8_t r = 0;
    bool changed = false;  // a material change has been met
    PacingCursor cursor(setup.pacing.get());
    bool paceOut = false;  // the pacing column has set the out-of-material feed
    PortReplay port;
    for (;;) {
        RecordReader::Result res = file.next(r);
        if (res == RecordReader::Result::End) break;
        if (res == RecordReader::Result::Bad) {
            out.error = file.error();
            return out;
        }
        int m = r & zMask;
        bool pauseAfter = false;
        const PacingRun* paced = cursor.next(pauseAfter);
        if (!paced) {
            if (outOfMaterial && m == downStep) outOfMaterial = false, current = in, changed = true;
            if (!outOfMaterial && m == upStep) outOfMaterial = true, current = outPace;
        } else if (paced->feed == PacingFeed::Out) {
            // The column's changes act as the Z steps do (see followMaterial).
            if (!paceOut) outOfMaterial = true, current = outPace, paceOut = true, changed = true;
        } else if (paceOut || (outOfMaterial && m == downStep)) {
            outOfMaterial = false, current = in, paceOut = false, changed = true;
        }
        if (r & ~wired) ++unwired;
        const uint64_t count =
            paced && paced->factor != 1 ? lengthened(current.count, paced->factor) : current.count;
        double recordSeconds = 2.0 * static_cast<double>(count) * kIterationSeconds;
        double moved[3] = {0, 0, 0};
        for (uint8_t v : {static_cast<uint8_t>(dirSum & r), r})
            replayWrite(setup, v, recordSeconds, port, out, moved);
        double length = std::sqrt(moved[0] * moved[0] + moved[1] * moved[1] + moved[2] * moved[2]);
        (outOfMaterial ? out.lengthOut : out.lengthIn) += length;
        ++(outOfMaterial ? out.ticksOut : out.ticksIn);
        if (!changed) ++out.leadingTicks;
        out.seconds += recordSeconds;
        if (observer) {
            observer->record(out.records, port.pos, !outOfMaterial);
            if ((out.records & 0xffff) == 0 && observer->cancelled()) {
                out.error = "cancelled";
                return out;
            }
        }
        ++out.records;
    }
    if (out.records == 0) {
        out.error = "Le fichier découpe " + path + " est vide : rien à découper.";
        return out;
    }
    for (int a = 0; a < 3; ++a) out.axes[a].position = port.pos[a];
    noteProblems(port.pos, unwired, out);
    return out;
}

}  // namespace vornelle
