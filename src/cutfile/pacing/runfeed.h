// The feed the cutting run chooses for each record from the Z steps alone: out of the
// material at the start but at the in-material feed, the first Z step down switches to the
// in-material state, the first Z step up after it to the out-of-material feed. Mirrored here
// so that a cut file's own needs can be compared with what the run would do.
#pragma once

#include "pacingfile.h"

namespace vornelle {

class RunFeedTracker {
  public:
    // Z DIR and CLOCK weights, and whether "Découper" is the variant of an inverted Z (DIR
    // high means down).
    RunFeedTracker(int zDirWeight, int zClockWeight, bool invZ);
    // The feed the run plays `record` at.
    PacingFeed next(int record);

  private:
    int mask_, down_, up_;
    bool out_ = true;
    PacingFeed pace_ = PacingFeed::In;
};

}  // namespace vornelle
