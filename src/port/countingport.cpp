// The step counter in front of the port; see countingport.h. A byte is counted only once the
// backend has taken it, so a refused write moves nothing.
#include "countingport.h"

namespace vornelle {

void CountingPort::attach(PortLibrary& inner, const Wiring& wiring) {
    if (inner_ != &inner) last_ = 0;
    inner_ = &inner;
    wiring_ = wiring;
}

void CountingPort::Write_Port_Bit(int16_t port, int16_t value) {
    inner_->Write_Port_Bit(port, value);
    auto v = static_cast<uint8_t>(value);
    for (int a = 0; a < 3; ++a) {
        int clk = wiring_.clk[a];
        if (clk == 0 || !(v & clk) || (last_ & clk)) continue;
        bool dir = (v & wiring_.dir[a]) != 0;
        if (wiring_.inv[a]) dir = !dir;
        position_[a].fetch_add(dir ? -1 : 1, std::memory_order_relaxed);
    }
    last_ = v;
    writes_.fetch_add(1, std::memory_order_relaxed);
}

std::array<long, 3> CountingPort::position() const {
    return {position_[0].load(std::memory_order_relaxed), position_[1].load(std::memory_order_relaxed),
            position_[2].load(std::memory_order_relaxed)};
}

void CountingPort::setPosition(const std::array<long, 3>& p) {
    for (int a = 0; a < 3; ++a) position_[a].store(p[a], std::memory_order_relaxed);
}

}  // namespace vornelle
