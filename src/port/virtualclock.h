// A pacer that waits for nothing: every pause is added, in whole iterations of 10 ns, to a
// clock of its own, so a run's duration (and the time of each port write) can be known
// exactly and at once, whatever the computer.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "step.h"

namespace vornelle {

class VirtualClock : public Pacer {
  public:
    static constexpr uint64_t kIterationNs = 10;
    bool attentePas(double V, double c, std::string& error) override;
    // The planned pause counts exactly as the real pacer makes it: ceil(pauseCount(V, c) x
    // factor) iterations.
    bool attenteRythmee(double V, double c, double factor, std::string& error) override;
    // Nanoseconds since the first write (see start()).
    uint64_t now() const { return ns_; }
    // The first port write: the clock starts at 0 here; pauses before it do not count.
    void start() { started_ = true; }
    bool started() const { return started_; }

  private:
    std::map<std::pair<double, double>, std::optional<uint64_t>> cache_;
    uint64_t ns_ = 0;
    bool started_ = false;
};

}  // namespace vornelle
