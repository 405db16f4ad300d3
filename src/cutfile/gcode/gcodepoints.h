// The point stage of a G-code program: every move becomes points in motor steps in the work
// file prem (arcs as chords within the tolerance), X and Y scaled, Z counted down into the
// material. Beside it, what the ticks of each segment need: the feed that applies, the
// dwells' idle ticks, and the step rates the program's F words would ask for.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/fields.h"
#include "cutfile/generation/stages.h"
#include "cutfile/pacing/pacingfile.h"
#include "gcodemove.h"

namespace vornelle {

struct IdleTicks {
    uint64_t afterTick = 0;  // ticks of the moves before the dwell
    uint64_t count = 0;
};

class GcodePoints : public GcodeSink {
  public:
    // `tickSeconds`: how long a tick lasts at the in-material pace (0 when it has no known
    // length); `tolerance` in mm of the cut file (after the scale).
    GcodePoints(FieldWriter& prem, const MachineFields& m, double tolerance, double tickSeconds);

    void move(const GcodeMove& mv) override;
    void dwell(double seconds, long line) override;
    void pause(long line) override;

    // The first failure (a point beyond the step limits, a dwell without a tick length).
    const std::string& error() const { return error_; }
    // The ticks in order with the feed each run needs; the idle ticks are not in them.
    const std::vector<PacingRun>& needs() const { return needs_; }
    const std::vector<IdleTicks>& idle() const { return idle_; }
    // The pause points (M0 / M1): the ticks of the moves before each, idle ticks not counted.
    const std::vector<uint64_t>& pauses() const { return pauses_; }
    uint64_t ticks() const { return ticks_; }
    // Peak steps per second of any axis, per feed in mm per minute.
    const std::map<double, double>& peakRates() const { return peak_; }

  private:
    void point(const Point3& p, PacingFeed need, long line);
    void rate(const GcodeMove& mv);
    PacingFeed needOf(const GcodeMove& mv);

    FieldWriter& prem_;
    MachineFields m_;
    double tolerance_, tickSeconds_;
    long last_[3] = {0, 0, 0};  // steps, as the segments round them
    uint64_t ticks_ = 0;
    std::vector<PacingRun> needs_;
    std::vector<IdleTicks> idle_;
    std::vector<uint64_t> pauses_;
    std::map<double, double> peak_;
    std::string error_;
    std::optional<double> startHeight_;  // mm: the Z of the program's first rapid in Z
};

}  // namespace vornelle
