// Simulated machine; see simulatedmachine.h.
#include "simulatedmachine.h"

#include "port/portfault.h"

namespace vornelle {

void SimulatedMachine::Write_Port_Bit(int16_t port, int16_t value) {
    uint8_t v = static_cast<uint8_t>(value);
    if (failed_ || (failAt_ > 0 && writes_ + 1 >= failAt_)) {
        failed_ = true;
        throw PortFault(description(), "écriture refusée");
    }
    if (observer_) observer_(v);
    if (recording_) record_.push_back({Clock::now(), v});
    ++writes_;
    lastPort_ = port;
    for (int a = 0; a < 3; ++a) {
        int clk = wiring_.clk[a];
        if (clk == 0) continue;
        bool rising = (v & clk) && !(last_ & clk);
        if (!rising) continue;
        bool dir = (v & wiring_.dir[a]) != 0;
        if (wiring_.inv[a]) dir = !dir;
        ++steps_[a];
        if (!dir && losing_ && loseEvery_[a] > 0 && ++plusSteps_[a] % loseEvery_[a] == 0) continue;
        position_[a] += dir ? -1 : 1;
    }
    last_ = v;
}

int16_t SimulatedMachine::Read_Busy(int16_t) {
    checkRead();
    return position_[0] <= switches_.xZero ? 0 : 1;
}
int16_t SimulatedMachine::Read_Pe(int16_t) {
    checkRead();
    return position_[1] <= switches_.yZero ? 0 : 1;
}
int16_t SimulatedMachine::Read_Select(int16_t) {
    checkRead();
    return position_[2] <= switches_.zClearance ? 0 : 1;
}
int16_t SimulatedMachine::Read_Error(int16_t) {
    checkRead();
    return position_[2] >= switches_.zZero ? 0 : 1;
}

void SimulatedMachine::checkRead() {
    if (failed_) throw PortFault(description(), "lecture de l'état refusée");
}

std::vector<int> SimulatedMachine::values() const {
    std::vector<int> v;
    v.reserve(record_.size());
    for (const Write& w : record_) v.push_back(w.value);
    return v;
}

void SimulatedMachine::clear() {
    record_.clear();
    failed_ = false;
    writes_ = 0;
    for (int a = 0; a < 3; ++a) steps_[a] = 0;
}

}  // namespace vornelle
