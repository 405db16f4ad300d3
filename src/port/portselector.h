// Chooses the port backend for a base address: ppdev when the device can be claimed,
// otherwise the simulated machine. Tells a listener (the status bar) which one is in use.
// Once a real port has driven the machine, losing it never falls back to the simulated
// machine silently: motion is refused until the port answers again or the operator chooses
// the simulated machine.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/outcome.h"
#include "portlibrary.h"
#include "port/backends/simulatedmachine.h"

namespace vornelle {

class PortSelector {
  public:
    // `tryHardware` false keeps the simulated machine whatever devices exist (tests, CLI).
    explicit PortSelector(bool tryHardware = true);

    // The backend for `address`, opened on the first request for that address. `wiring`
    // tells the simulated machine how to decode the lines.
    PortLibrary& select(uint16_t address, const Wiring& wiring);
    PortLibrary& current();
    // The port in use stopped answering: it is given up, listeners hear that no port is in
    // use, and the next select opens it again.
    void failed(const std::string& why);
    SimulatedMachine& simulated() { return simulated_; }
    // The message that refuses motion after the real port in use was lost (unplugged, no
    // longer answering), empty when motion may go ahead. Call select() first.
    std::string lostPort() const;
    // The operator's explicit choice: the simulated machine until the program ends.
    void chooseSimulated();
    // How the hardware is opened (ppdev; tests put a fake in).
    using Opener = std::function<Outcome<std::unique_ptr<PortLibrary>>(const std::string& device)>;
    void setOpener(Opener o) { opener_ = std::move(o); }
    std::string description() const;
    // Why the hardware port could not be used (empty when it is in use or was not tried).
    const std::string& hardwareProblem() const { return problem_; }
    // Told the new description, and why the parallel port could not be used (empty when it
    // is in use or was not tried); `deviceExists` tells a missing port from a refused one.
    using Listener =
        std::function<void(const std::string& description, const std::string& problem, bool deviceExists)>;
    void onChange(Listener f) { listener_ = std::move(f); }

  private:
    bool tryHardware_;
    uint16_t address_ = 0;
    std::unique_ptr<PortLibrary> hardware_;
    SimulatedMachine simulated_;
    std::string problem_;
    Listener listener_;
    bool deviceExists_ = false;
    bool failed_ = false;
    bool hardwareUsed_ = false;      // a real port was opened since the program started
    bool simulatedChosen_ = false;   // the operator chose the simulated machine after a loss
    std::string lost_;               // why the real port is gone, empty while it answers
    Opener opener_;
};

}  // namespace vornelle
