// Port selection; see portselector.h.
#include "portselector.h"

#include <unistd.h>

#include "port/backends/ppdevport.h"

namespace vornelle {

PortSelector::PortSelector(bool tryHardware) : tryHardware_(tryHardware) {}

PortLibrary& PortSelector::select(uint16_t address, const Wiring& wiring) {
    simulated_.setWiring(wiring);
    if (address != address_ || failed_) {
        address_ = address;
        failed_ = false;
        simulated_.reconnect();
        hardware_.reset();
        problem_.clear();
        deviceExists_ = false;
        if (tryHardware_) {
            std::string device = parportDevice(address);
            deviceExists_ = ::access(device.c_str(), F_OK) == 0;
            auto port = PpdevPort::open(device);
            if (port)
                hardware_ = std::move(*port);
            else
                problem_ = port.error();
        }
        if (listener_) listener_(description(), problem_, deviceExists_);
    }
    return current();
}

void PortSelector::failed(const std::string& why) {
    failed_ = true;
    hardware_.reset();
    if (listener_) listener_("Aucun port en service", why, false);
}

PortLibrary& PortSelector::current() {
    if (hardware_) return *hardware_;
    return simulated_;
}

std::string PortSelector::description() const {
    return hardware_ ? hardware_->description() : simulated_.description();
}

}  // namespace vornelle
