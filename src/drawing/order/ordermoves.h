// The 2-opt and Or-opt moves of the cut-order search on one order whose entry points stay
// as they are: segments reversed (part by part when whole reversal would put an outline
// before its holes) and chains of cuts moved, each only when it shortens the travel.
#pragma once

#include <cstdint>
#include <vector>

#include "ordersearch.h"

namespace vornelle::order {

// For each cut, the cuts whose start or end is nearest its end, and for an open cut also
// nearest its start: where the moves look for a better neighbour.
std::vector<std::vector<uint32_t>> neighboursOf(const std::vector<Shape>& shapes, const OrderPlan& plan);

// plan.order improved until no move helps or the deadline; `contents[c]` lists the cuts
// inside c (the inverse of `containers`). The cuts looked at first: `around`, or every cut;
// Or-opt moves carry chains of up to `chain` cuts.
void applyMoves(const std::vector<Shape>& shapes, const std::vector<std::vector<uint32_t>>& containers,
                const std::vector<std::vector<uint32_t>>& contents,
                const std::vector<std::vector<uint32_t>>& neighbours, OrderPlan& plan, Deadline deadline,
                const std::vector<uint32_t>* around, long chain);

}  // namespace vornelle::order
