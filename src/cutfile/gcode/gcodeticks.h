// The finishing of a cut file made from G-code, on its ticks: the dwells' idle ticks put in
// place, and the comparison of the feed each tick needs with the feed the run's own
// tracking of the Z steps would choose.
#pragma once

#include <string>
#include <vector>

#include "cutfile/pacing/pacingfile.h"
#include "cutfile/pacing/runfeed.h"
#include "gcodepoints.h"

namespace vornelle {

// The needs with the idle ticks inserted where they fall (in-material feed).
std::vector<PacingRun> withIdle(const std::vector<PacingRun>& needs, const std::vector<IdleTicks>& idle);

// Rewrites the cut file `def` with the idle ticks inserted: each holds the direction lines of
// the tick before it (`dirMask`: the DIR weights) and no clock; before the first tick,
// `firstIdle`. `ticks` grows by the ticks inserted. The failure, empty when done.
std::string insertIdleTicks(const std::string& def, const std::vector<IdleTicks>& idle, int dirMask,
                            int firstIdle, uint64_t& ticks);

// Reads the cut file once: its stamp, and whether the run would play some tick at another
// feed than `needs` says. The failure, empty when read.
std::string compareFeeds(const std::string& def, const std::vector<PacingRun>& needs, RunFeedTracker run,
                         CutStamp& stamp, bool& differs);

}  // namespace vornelle
