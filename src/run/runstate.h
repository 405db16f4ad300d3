// The run-control values shared by the tool page, the cut-in-progress panel and the run:
// request flags set by the panel's buttons and cleared by the run, the material state and
// the two live feeds. Owned by the application, handed to whoever shares them. The run
// plays on the machine's own thread while the buttons are pressed on the screen's, so every
// value is atomic.
#pragma once

#include <atomic>
#include <cstdint>

namespace vornelle {

struct RunState {
    std::atomic<int> arret{0};      // 1 = emergency stop requested
    std::atomic<int> pause{0};      // 1 = pause requested
    std::atomic<int> reprise{0};    // 1 = resume requested
    std::atomic<int> profplus{0};   // 1 = lower the tool by 1 mm
    std::atomic<int> profmoins{0};  // 1 = raise the tool by 1 mm
    // 1 = tool out of the material, 0 = in it; kUnset before the first run (counts as 0).
    static constexpr int kUnset = -1;
    std::atomic<int> horsmatiere{kUnset};
    std::atomic<double> vitdans{0};  // feed in the material, 0..100
    std::atomic<double> vithors{0};  // feed out of the material, 0..100
    // From the panel shown until the end messages: a cut is playing.
    std::atomic<bool> playing{false};

    // Records played since the run began, by the material state they were played in; only
    // the record loop writes them, the panel reads them to tell the time left.
    std::atomic<uint64_t> playedIn{0}, playedOut{0};

    bool outOfMaterial() const { return horsmatiere.load() == 1; }

    // The record loop, once per record played.
    void countRecord() {
        std::atomic<uint64_t>& c = outOfMaterial() ? playedOut : playedIn;
        c.store(c.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    }

    // The panel's scroll-bar change: the new pace goes into the feed of the current state.
    void scrollChanged(int position) {
        if (!outOfMaterial())
            vitdans = 100 - position;
        else
            vithors = 100 - position;
    }
};

}  // namespace vornelle
