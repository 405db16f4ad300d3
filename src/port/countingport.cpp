// The step counter in front of the port; see countingport.h. A byte is counted only once the
// backend has taken it, so a refused write moves nothing.
#include "countingport.h"

namespace vornelle {

void CountingPort::attach(PortLibrary& inner, const Wiring& wiring) {
    if (inner_ != &inner) last_ = 0;
    inner_ = &inner;
    wiring_ = wiring;
    for (int a = 0; a < 3; ++a) inverted_[a].store(wiring.inv[a], std::memory_order_relaxed);
}

void CountingPort::Write_Port_Bit(int16_t port, int16_t value) {
    inner_->Write_Port_Bit(port, value);
    auto v = static_cast<uint8_t>(value);
    for (int a = 0; a < 3; ++a) {
        int clk = wiring_.clk[a];
        if (clk == 0 || !(v & clk) || (last_ & clk)) continue;
        // The motor's own sense: a set DIR line counts down whatever the inversion says.
        motor_[a].fetch_add((v & wiring_.dir[a]) != 0 ? -1 : 1, std::memory_order_relaxed);
    }
    last_ = v;
    writes_.fetch_add(1, std::memory_order_relaxed);
}

std::array<long, 3> CountingPort::position() const {
    std::array<long, 3> p;
    for (int a = 0; a < 3; ++a) {
        long m = motor_[a].load(std::memory_order_relaxed);
        p[a] = inverted_[a].load(std::memory_order_relaxed) ? -m : m;
    }
    return p;
}

void CountingPort::setPosition(const std::array<long, 3>& p) {
    for (int a = 0; a < 3; ++a)
        motor_[a].store(inverted_[a].load(std::memory_order_relaxed) ? -p[a] : p[a], std::memory_order_relaxed);
}

}  // namespace vornelle
