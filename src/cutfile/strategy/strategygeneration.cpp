// The generation with the cut strategy; see strategygeneration.h.
#include "strategygeneration.h"

#include "cutfile/details.h"
#include "cutfile/generation/stages.h"
#include "strategydetails.h"

namespace vornelle {

StrategyOutcome generateWithStrategy(const GenerationInput& in, const StrategyTexts& t,
                                     const std::string& work, BusyPointer& busy) {
    StrategyOutcome o;
    if (!t.any()) {
        o.result = generate(in, work, busy);
        return o;
    }
    o.used = true;
    // The page's own checks come first, in their order; the strategy's before anything is written.
    MachineFields m;
    if (auto refused = checkInput(in, m)) {
        o.result.message = *refused;
        return o;
    }
    StrategySettings s;
    StrategyPlan plan;
    std::optional<Message> refused = parseStrategy(t, m.depth, s);
    if (!refused) refused = planStrategy(in.text1, m.scale, s, plan);
    if (refused) {
        o.result.message = *refused;
        return o;
    }
    o.summary = plan.summary;
    o.result = generateFrom(
        in, strategyDetailsRecord(detailsOf(in), t),
        [&](const MachineFields& fields, const std::string& prem) {
            return writePlan(plan.points, fields, prem);
        },
        work, busy);
    if (o.result.ok) o.result.message.text += "\n" + summaryText(plan.summary, s);
    return o;
}

}  // namespace vornelle
