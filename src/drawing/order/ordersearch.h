// The search for a cut order of least travel out of the material: nearest neighbour, then
// 2-opt and Or-opt moves with the entry points of closed cuts chosen over the whole order,
// every cut made before the closed cuts that contain it.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "containment.h"

namespace vornelle {

// A cut order: `order` the cuts in cutting order, `entry[c]` the point of cut c where it is
// entered (always 0 for an open cut, which runs from its first point to its last; a closed
// cut runs round from its entry back to it).
struct OrderPlan {
    std::vector<uint32_t> order;
    std::vector<uint32_t> entry;
};

using Deadline = std::chrono::steady_clock::time_point;

// Travel from the origin through every cut of the plan and back to the origin, in drawing
// units of the largest of |dx| and |dy| per move.
double planTravel(const std::vector<Shape>& shapes, const OrderPlan& plan);

// Every cut before the closed cuts that contain it; `containers` as containingShapes gives.
bool keepsContainment(const std::vector<uint32_t>& order,
                      const std::vector<std::vector<uint32_t>>& containers);

// The greedy order: from the origin, the nearest entry point of a cut whose contained cuts
// are all made.
OrderPlan nearestNeighbour(const std::vector<Shape>& shapes,
                           const std::vector<std::vector<uint32_t>>& containers);

// The plan improved by 2-opt and Or-opt moves that keep the containment, the entry points
// chosen again over the whole order after each round, until no move helps or the deadline.
// The travel never grows. With `around`, the moves start from those cuts only (the place of a
// change in an order already improved), and reach the others through the cuts they touch.
// Or-opt moves carry chains of up to `chain` cuts.
OrderPlan improve(const std::vector<Shape>& shapes, const std::vector<std::vector<uint32_t>>& containers,
                  OrderPlan plan, Deadline deadline, const std::vector<uint32_t>* around = nullptr,
                  long chain = 3);

// The entry points best for the order as it stands (the order is kept); never a longer
// travel than the entry points given.
void chooseEntries(const std::vector<Shape>& shapes, OrderPlan& plan);

}  // namespace vornelle
