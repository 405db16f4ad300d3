// Port selection; see portselector.h.
#include "portselector.h"

#include <unistd.h>

#include "port/backends/ppdevport.h"

namespace vornelle {

PortSelector::PortSelector(bool tryHardware) : tryHardware_(tryHardware) {
    opener_ = [](const std::string& device) -> Outcome<std::unique_ptr<PortLibrary>> {
        auto port = PpdevPort::open(device);
        if (!port) return Failure{port.error()};
        return std::unique_ptr<PortLibrary>(std::move(*port));
    };
}

PortLibrary& PortSelector::select(uint16_t address, const Wiring& wiring) {
    simulated_.setWiring(wiring);
    if (address != address_ || failed_) {
        address_ = address;
        failed_ = false;
        simulated_.reconnect();
        hardware_.reset();
        problem_.clear();
        deviceExists_ = false;
        if (tryHardware_ && !simulatedChosen_) {
            std::string device = parportDevice(address);
            deviceExists_ = ::access(device.c_str(), F_OK) == 0;
            auto port = opener_(device);
            if (port)
                hardware_ = std::move(*port);
            else
                problem_ = port.error();
        }
        if (hardware_) {
            hardwareUsed_ = true;
            lost_.clear();
        } else if (hardwareUsed_ && !simulatedChosen_) {
            lost_ = problem_.empty() ? "le port parallèle n'a pas pu être ouvert" : problem_;
        }
        if (listener_) listener_(description(), problem_, deviceExists_);
    }
    return current();
}

void PortSelector::failed(const std::string& why) {
    failed_ = true;
    if (hardware_) lost_ = why;
    hardware_.reset();
    if (listener_) listener_("Aucun port en service", why, false);
}

std::string PortSelector::lostPort() const {
    if (lost_.empty() || hardware_) return {};
    return "Le port parallèle qui pilotait la machine ne répond plus : " + lost_ +
           "\nRebranchez-le puis recommencez, ou choisissez de continuer sur la machine simulée (la "
           "machine réelle ne bougera pas).";
}

void PortSelector::chooseSimulated() {
    simulatedChosen_ = true;
    lost_.clear();
    hardware_.reset();
    if (listener_) listener_(description(), {}, false);
}

PortLibrary& PortSelector::current() {
    if (hardware_) return *hardware_;
    return simulated_;
}

std::string PortSelector::description() const {
    return hardware_ ? hardware_->description() : simulated_.description();
}

}  // namespace vornelle
