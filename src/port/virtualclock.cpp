// The virtual clock; see virtualclock.h.
#include "virtualclock.h"

#include "base/numbers.h"

namespace vornelle {

bool VirtualClock::attentePas(double V, double c, std::string& error) {
    return attenteRythmee(V, c, 1, error);
}

bool VirtualClock::attenteRythmee(double V, double c, double factor, std::string& error) {
    auto key = std::make_pair(V, c);
    auto it = cache_.find(key);
    if (it == cache_.end()) it = cache_.emplace(key, pauseCount(V, c)).first;
    if (!it->second) {
        error = coefficientMessage(numberText(c, ','));
        return false;
    }
    const uint64_t n = factor == 1 ? *it->second : lengthened(*it->second, factor);
    if (started_) ns_ += n * kIterationNs;
    return true;
}

}  // namespace vornelle
