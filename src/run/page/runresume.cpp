// "Reprendre la découpe" for the tool page: the .reprise of the cut file read and checked,
// the question asked, and where the machine is now compared with the stop. Within one
// session every step is counted, so a machine moved since (a Z raised to change the bit) is
// brought back first; after a restart nothing is known and the operator is asked.
#include <cmath>

#include "base/numbers.h"
#include "run/bringback.h"
#include "run/resumefile.h"
#include "runcontroller.h"

namespace vornelle {

RunOutcome RunController::resume(QWidget* toolPage, RunVariant variant) {
    if (machine_.busy()) return {};
    int port = 0;
    Wiring w;
    if (!setUp(toolPage, port, w)) return {};
    // A resume played into the simulated machine would end "terminée" and lose the stop.
    if (!portReady(machine_, dialogs_, static_cast<uint16_t>(port), w)) {
        unwatch();
        return {};
    }
    auto point = readResume(fields_.Text9);
    if (!point) {
        dialogs_.message(point.error(), style::kStopOk, "Découpe");
        unwatch();
        return {};
    }
    RunServices screen = screenServices(port);
    auto plan = prepareResume(screen, variant, *point, frameOf(w, variant));
    if (!plan) {
        unwatch();
        return {};
    }
    std::array<long, 3> now = machine_.position(), origin;
    bool known = stop_ && stop_->cut == plan->name && stop_->played == point->played;
    if (known) {
        origin = stop_->origin;
    } else {
        if (dialogs_.message("La machine est-elle restée à l'arrêt depuis l'interruption ?",
                             style::kQuestionYesNo, "Position de la machine inconnue") != Button::Yes) {
            unwatch();
            return {};
        }
        for (int a = 0; a < 3; ++a) origin[a] = now[a] - point->position[a];
    }
    std::array<long, 3> stopAt;
    for (int a = 0; a < 3; ++a) stopAt[a] = origin[a] + point->position[a];
    stop_ = Stop{plan->name, point->played, origin};
    origin_ = origin;

    BringBackSetup setup;
    setup.wiring = w;
    setup.clearance = leadingNumberOr0(fields_.Text5) * leadingNumberOr0(fields_.Text8);  // steps/mm x mm
    setup.surface = origin[2];
    setup.paceOut = static_cast<int>(std::nearbyint(100 - point->vithors));
    setup.paceIn = static_cast<int>(std::nearbyint(100 - point->vitdans));
    setup.coefficient = fields_.Text2;
    setup.stopRequested = [this] { return state_.arret == 1; };
    beginRun(screen);
    return launch(*plan, port, w, [this, port, setup, stopAt](JobContext& ctx) {
        std::array<long, 3> here = machine_.position();
        if (here == stopAt) return Status::success();
        return bringBack(ctx.port, static_cast<int16_t>(port), ctx.yield, pacer_, setup, here, stopAt);
    });
}

}  // namespace vornelle
