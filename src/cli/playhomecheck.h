// The home check of `play`: a homing before the cut and one after it on the simulated machine,
// every step of both and of the cut counted as the program writes it, and the switches'
// closures compared; optionally a machine that loses steps during the cut only.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "commands.h"
#include "config/configmachine.h"
#include "manual/homecheck.h"
#include "port/countingport.h"

namespace vornelle::cli {

class PlayHomeCheck {
  public:
    PlayHomeCheck(const PlayArgs& a, const configmachine& c, SimulatedMachine& machine, const Wiring& w);
    // The arguments checked before anything moves: the message when they cannot be used.
    std::string refusal();
    // Every write of the check and the cut goes through this port, which counts the steps.
    PortLibrary& port() { return counter_; }
    // The first homing, then the machine loses steps (when asked) until after(); the message
    // when the homing failed.
    std::string before(int16_t address, Yield& yield, Pacer& pacer);
    // The machine keeps its steps again, the second homing, the comparison.
    std::string after(int16_t address, Yield& yield, Pacer& pacer);
    // {"x":dx,"y":dy,"z":dz,"verdict":"..."} in steps.
    nlohmann::ordered_json json() const;

  private:
    Outcome<SwitchMarks> homing(int16_t address, Yield& yield, Pacer& pacer);
    const PlayArgs& args_;
    const configmachine& config_;
    SimulatedMachine& machine_;
    CountingPort counter_;
    HomingSetup setup_;
    long repeatability_ = 0;
    int loseAxis_ = -1;
    long loseEvery_ = 0;
    SwitchMarks first_{};
    HomeCheck result_;
};

}  // namespace vornelle::cli
