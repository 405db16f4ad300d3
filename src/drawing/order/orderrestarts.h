// The cut-order search continued while its time lasts: the best order found so far is kicked
// (two neighbouring runs of cuts swapped), improved again, and kept only when shorter, so that
// the local search leaves the first local optimum it met.
#pragma once

#include "ordersearch.h"

namespace vornelle {

// `best` improved by kicks and improve() until `deadline` or until as many kicks in a row as
// the drawing has cuts (and at least 200) found nothing shorter. The travel never grows; the
// kicks follow a fixed sequence, so that the same drawing gives the same order when time allows.
OrderPlan restartSearch(const std::vector<Shape>& shapes,
                        const std::vector<std::vector<uint32_t>>& containers, OrderPlan best,
                        Deadline deadline);

}  // namespace vornelle
