// The cut-order search continued while its time lasts: the order is improved again with
// longer Or-opt chains, then kicked (two neighbouring runs of cuts swapped) and improved from
// the kick, so that the local search leaves the first local optimum it met.
#pragma once

#include "ordersearch.h"

namespace vornelle {

// `best` improved with Or-opt chains of up to six cuts, then by kicks and improve() until
// `deadline` or until ten kicks a cut in a row (at least 3,000) found nothing shorter than the
// best. A kicked order at most 0,5 % longer than the one it came from is kicked on from; only
// a shorter one replaces the best, so the travel never grows. The kicks follow a fixed
// sequence: the same drawing gives the same order when time allows.
OrderPlan restartSearch(const std::vector<Shape>& shapes,
                        const std::vector<std::vector<uint32_t>>& containers, OrderPlan best,
                        Deadline deadline);

}  // namespace vornelle
