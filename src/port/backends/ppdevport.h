// Linux ppdev backend: /dev/parportN claimed with PPCLAIM, data written with PPWDATA, status
// read with PPRSTATUS.
#pragma once

#include <memory>
#include <string>

#include "base/outcome.h"
#include "port/portlibrary.h"

namespace vornelle {

class PpdevPort : public PortLibrary {
  public:
    // Opens and claims the device; the French message names the device and the likely cause.
    static Outcome<std::unique_ptr<PpdevPort>> open(const std::string& device);
    ~PpdevPort() override;

    void Write_Port_Bit(int16_t port, int16_t value) override;
    int16_t Read_Busy(int16_t port) override;
    int16_t Read_Pe(int16_t port) override;
    int16_t Read_Select(int16_t port) override;
    int16_t Read_Error(int16_t port) override;
    std::string description() const override { return "Port parallèle " + device_; }

  private:
    PpdevPort(int fd, std::string device) : fd_(fd), device_(std::move(device)) {}
    int status();
    int fd_;
    std::string device_;
};

// The device for a base address: the parport whose base-addr matches under `procRoot`
// (normally /proc/sys/dev/parport), else parport0 for 888 and parport1 for 632.
std::string parportDevice(uint16_t address, const std::string& procRoot = "/proc/sys/dev/parport",
                          const std::string& devRoot = "/dev/");

}  // namespace vornelle
