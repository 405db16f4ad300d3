// The run-control values shared by the tool page, the cut-in-progress panel and the run:
// request flags set by the panel's buttons and cleared by the run, the material state and
// the two live feeds. Owned by the application, handed to whoever shares them.
#pragma once

#include <optional>

namespace vornelle {

struct RunState {
    int arret = 0;      // 1 = emergency stop requested
    int pause = 0;      // 1 = pause requested
    int reprise = 0;    // 1 = resume requested
    int profplus = 0;   // 1 = lower the tool by 1 mm
    int profmoins = 0;  // 1 = raise the tool by 1 mm
    // 1 = tool out of the material, 0 = in it; unset before the first run (counts as 0).
    std::optional<int> horsmatiere;
    double vitdans = 0;  // feed in the material, 0..100
    double vithors = 0;  // feed out of the material, 0..100

    // The panel's scroll-bar change: the new pace goes into the feed of the current state.
    void scrollChanged(int position) {
        if (horsmatiere.value_or(0) == 0)
            vitdans = 100 - position;
        else
            vithors = 100 - position;
    }
};

}  // namespace vornelle
