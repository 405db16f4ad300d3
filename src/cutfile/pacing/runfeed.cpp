// The run's material tracking; see runfeed.h. The two tests are made one after the other on
// the same record, the state changed before the pace, as the run does.
#include "runfeed.h"

namespace vornelle {

RunFeedTracker::RunFeedTracker(int zDir, int zClock, bool invZ)
    : mask_(zDir + zClock), down_(invZ ? zClock + zDir : zClock), up_(invZ ? zClock : zClock + zDir) {}

PacingFeed RunFeedTracker::next(int record) {
    const int m = record & mask_;
    if (out_ && m == down_) out_ = false, pace_ = PacingFeed::In;
    if (!out_ && m == up_) out_ = true, pace_ = PacingFeed::Out;
    return pace_;
}

}  // namespace vornelle
