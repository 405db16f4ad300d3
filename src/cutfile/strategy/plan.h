// The cut strategy's plan of a whole drawing: every cut's tool paths oriented for the cut
// direction and started nearest its entry point, its passes and tabs, the travels between
// them kept in the drawing's order; then written as the generation's scaled points.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/message.h"
#include "compensation.h"
#include "settings.h"
#include "toolmoves.h"

namespace vornelle {

struct MachineFields;

struct StrategySummary {
    CompensationReport report;
    int passes = 0;  // distinct pass depths of the whole drawing
    int tabs = 0;    // tabs made
};

struct StrategyPlan {
    std::vector<Pt3> points;  // mm, Z down into the material
    StrategySummary summary;
};

// The plan of the FRA drawing `fra` scaled by `scale`; the refusal (nothing written) when a
// setting cannot be used on it or the drawing cannot be read.
std::optional<Message> planStrategy(const std::string& fra, double scale, const StrategySettings& s,
                                    StrategyPlan& plan);

// prem from the plan: X, Y, Z in steps and a fourth channel 0; the failure's message, empty on
// success.
std::string writePlan(const std::vector<Pt3>& points, const MachineFields& m, const std::string& prem);

// What the strategy did, in French, for the message after the generation.
std::string summaryText(const StrategySummary& s, const StrategySettings& settings);

}  // namespace vornelle
