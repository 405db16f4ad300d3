// A port that stopped answering (an adapter unplugged, the device taken away): thrown by a
// backend from inside a write or a status read, so the motion job ends at once instead of
// playing into nothing. The machine service catches it and reports it.
#pragma once

#include <stdexcept>
#include <string>

namespace vornelle {

class PortFault : public std::runtime_error {
  public:
    PortFault(std::string device, std::string reason)
        : std::runtime_error(device + " : " + reason),
          device_(std::move(device)),
          reason_(std::move(reason)) {}
    const std::string& device() const { return device_; }
    const std::string& reason() const { return reason_; }
    // "Le port /dev/parport0 ne répond plus (écriture : Input/output error)."
    std::string message() const { return "Le port " + device_ + " ne répond plus (" + reason_ + ")."; }

  private:
    std::string device_, reason_;
};

}  // namespace vornelle
