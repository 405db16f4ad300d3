// The planner's ticks, read one at a time from the cut file, its objet work file and the
// pacing file already beside it, each with the move it belongs to; nothing but the moves
// and the earlier pacing file's runs is kept, so a cut of any length reads in little memory.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/rampsettings.h"
#include "cutfile/generation/streams.h"
#include "cutfile/pacing/pacingfile.h"
#include "cutfile/pacing/runfeed.h"
#include "rampplan.h"
#include "run/recordreader.h"

namespace vornelle {

// One tick as the planner sees it: the pause count the run would make without ramps (its
// feed and any earlier factor), the feed of the run's column and whether a pause point
// follows.
struct RampTick {
    uint32_t base = 0;     // iterations of one pause at the tick's feed
    uint32_t nominal = 0;  // the same lengthened by an earlier factor
    double factor = 1;     // that earlier factor
    PacingFeed feed = PacingFeed::In;
    bool pauseAfter = false;
    // Same pace as `o`: a held block of ticks never crosses a change of it.
    bool samePace(const RampTick& o) const { return nominal == o.nominal && base == o.base && feed == o.feed; }
};

// One segment's ticks (split at its pause points), or idle ticks (a dwell: no clock, the
// machine stands still).
struct RampMove {
    uint64_t first = 0, count = 0;  // ticks; count grows while the move is being read
    double step = 0;                // mm the tool moves per tick
    double accel = 0;               // mm/s² along the path, the tightest axis's share
    std::array<double, 3> u{};      // unit direction
    bool idle = false;
    bool lastPauses = false;        // its last tick is a pause point: it stops there
};

class RampTickSource {
  public:
    // Opens the three files; the failure, empty when ready.
    std::string open(const std::string& def, const std::string& objet, const std::string& rythme,
                     const RampMachine& m, const RampSettings& s);
    // The next tick and the index of its move in moves(); false at the end or on a failure
    // (error() then says which).
    bool next(RampTick& t, size_t& move);
    const std::string& error() const { return error_; }
    // Every move begun so far, in order.
    const std::vector<RampMove>& moves() const { return moves_; }
    // The cut file's record count and digest, read when it opened.
    const CutStamp& stamp() const { return stamp_; }

  private:
    struct Segment {
        uint64_t m = 0;
        std::array<double, 3> mm{};  // signed millimetres of X Y Z
    };
    std::string readSegments(const std::string& objet, const RampMachine& m);
    RampTick tickOf(uint8_t r);
    bool placeTick(const RampTick& t, bool still);

    RecordReader file_;
    std::optional<RunFeedTracker> tracker_;
    std::optional<Pacing> earlier_;
    size_t run_ = 0;
    uint64_t used_ = 0;
    uint32_t in_ = 0, out_ = 0;  // pause counts of the two feeds
    int clockMask_ = 0;
    RampSettings settings_;
    std::vector<Segment> segments_;
    size_t segment_ = 0;
    uint64_t left_ = 0;       // ticks of the current segment still to come
    bool idleTicks_ = false;  // the cut file has ticks beyond the segments': a dwell's
    uint64_t k_ = 0;          // ticks read
    std::vector<RampMove> moves_;
    CutStamp stamp_;
    std::string error_, def_;
};

}  // namespace vornelle
