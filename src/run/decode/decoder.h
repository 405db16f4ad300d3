// Decodes a cut file exactly as the run plays it, without a port: the steps each axis makes,
// where the tool ends, the extents, the material changes the run follows, and the duration
// at given feeds (the counted pause is deterministic, so it is exact). Streams the file in
// constant memory.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cutfile/pacing/pacingfile.h"
#include "run/runengine.h"

namespace vornelle {

// The wiring and paces the run would use, as numbers.
struct DecoderSetup {
    std::array<int, 8> weights{};  // DIR X, CLOCK X, DIR Y, CLOCK Y, DIR Z, CLOCK Z, 7, 8
    std::array<bool, 3> inv{};     // invX, invY, invZ
    RunVariant variant = RunVariant::Command11;
    std::array<double, 3> stepsPerMm{};  // X, Y, Z; 0 gives no millimetres
    double feedIn = 0, feedOut = 0;      // 0..100
    double c = 0.01;                     // coefficient of the counted pause
    // The cut file's pacing file, when it has one: each record's feed from its column and its
    // pauses lengthened by its factor, as the run plays them.
    std::shared_ptr<const Pacing> pacing;
};

struct AxisFigures {
    uint64_t plus = 0, minus = 0;  // steps towards positive / negative positions
    long position = 0;             // final position, steps
    long min = 0, max = 0;         // extents, steps
    double peakRate = 0;           // steps per second; 0 when no step, -1 when unpaced (V < 1)
};

struct Decoded {
    std::string error;  // the reader's message for an unreadable or bad file
    uint64_t records = 0;
    std::array<AxisFigures, 3> axes;
    uint64_t ticksIn = 0, ticksOut = 0;  // records in / out of the material after tracking
    // Records before the first material change: out of the material, at the in-material pace.
    uint64_t leadingTicks = 0;
    double lengthIn = 0, lengthOut = 0;  // mm, each record's move as a straight segment
    double seconds = 0;                  // duration of the two delays of every record
    std::vector<std::string> problems;   // in French
    bool ok() const { return error.empty(); }
};

// Told of every record once its steps are made: its index from 0, the position after it
// (steps, X, Y, Z) and whether it counts as in the material. Called on the decoding thread.
class DecodeObserver {
  public:
    virtual ~DecodeObserver() = default;
    virtual void record(uint64_t index, const std::array<long, 3>& position, bool inMaterial) = 0;
    // True ends the decoding early with the error "cancelled" (checked every 64 K records).
    virtual bool cancelled() const { return false; }
};

// Z positive into the material, X and Y as the simulated machine counts them.
Decoded decodeCutFile(const std::string& path, const DecoderSetup& setup, DecodeObserver* observer = nullptr);

// The pacing file beside the cut file `cut`, when there is one, into `setup`; the refusal
// when it is damaged or belongs to another cut file (as the run refuses it), else empty.
std::string attachPacing(DecoderSetup& setup, const std::string& cut);

// Millimetres of `steps` on `axis`, 0 when the steps per mm are not set.
double decodedMm(const DecoderSetup& setup, int axis, long steps);

}  // namespace vornelle
