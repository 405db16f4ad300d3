// The parallel-port library: whole bytes to the data lines (pins 2 to 9) and four status
// lines read as 0 or 1. Arguments are 16-bit as in the original library; `port` is the base
// address 888 (LPT1) or 632 (LPT2).
#pragma once

#include <cstdint>
#include <string>

namespace vornelle {

class PortLibrary {
  public:
    virtual ~PortLibrary() = default;
    // Data lines D0..D7 take the bits of `value` at once and hold them.
    virtual void Write_Port_Bit(int16_t port, int16_t value) = 0;
    // 1 until X reaches its zero switch (pin 11), 0 from then on.
    virtual int16_t Read_Busy(int16_t port) = 0;
    // Same for the Y zero switch (pin 12).
    virtual int16_t Read_Pe(int16_t port) = 0;
    // Same for the Z clearance switch (pin 13).
    virtual int16_t Read_Select(int16_t port) = 0;
    // Same for the Z zero switch (pin 15).
    virtual int16_t Read_Error(int16_t port) = 0;
    // What the main window's status bar shows.
    virtual std::string description() const = 0;
};

}  // namespace vornelle
