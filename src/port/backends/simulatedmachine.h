// The simulated machine: a port that records every write with its time, decodes the DIR and
// CLOCK lines into axis positions (a step on each rising clock edge) and closes the limit
// switches at given positions, so jogging, homing and cutting run without hardware.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "port/portlibrary.h"

namespace vornelle {

// How the axes are wired: data-bit weights of the DIR and CLOCK lines and the inversion
// flags of the configuration.
struct Wiring {
    int dir[3] = {1, 4, 16};  // X, Y, Z
    int clk[3] = {2, 8, 32};
    bool inv[3] = {false, false, false};
};

// Where the switches close, in steps. X and Y zero switches close at or below their value;
// the Z clearance switch (tool up, Z negative) at or below `zClearance`; the Z zero switch
// at or above `zZero`, which lies below the clearance switch.
struct Switches {
    long xZero = -2000;
    long yZero = -1500;
    long zClearance = -600;
    long zZero = -300;
};

class SimulatedMachine : public PortLibrary {
  public:
    using Clock = std::chrono::steady_clock;
    struct Write {
        Clock::time_point time;
        uint8_t value;
    };

    SimulatedMachine() = default;
    // A changed inversion turns the axis' frame round, as the step counter's does: the motor
    // has not moved, only the sense its steps are counted in.
    void setWiring(const Wiring& w) {
        for (int a = 0; a < 3; ++a)
            if (w.inv[a] != wiring_.inv[a]) position_[a] = -position_[a];
        wiring_ = w;
    }
    const Wiring& wiring() const { return wiring_; }
    void setSwitches(const Switches& s) { switches_ = s; }
    // Recording every write costs memory; long runs may turn it off (positions still tracked).
    void setRecording(bool on) { recording_ = on; }
    // Called for every write, before it is decoded (traces, tests that act at a chosen write).
    void setObserver(std::function<void(uint8_t)> f) { observer_ = std::move(f); }

    void Write_Port_Bit(int16_t port, int16_t value) override;
    int16_t Read_Busy(int16_t port) override;
    int16_t Read_Pe(int16_t port) override;
    int16_t Read_Select(int16_t port) override;
    int16_t Read_Error(int16_t port) override;
    std::string description() const override { return "Port simulé (aucun port parallèle)"; }

    // Position in steps: X and Y positive towards larger drawing coordinates, Z positive
    // downwards into the material. A DIR line at 1 (after inversion) moves towards negative.
    long position(int axis) const { return position_[axis]; }
    void setPosition(long x, long y, long z) { position_[0] = x, position_[1] = y, position_[2] = z; }
    long steps(int axis) const { return steps_[axis]; }
    long writeCount() const { return writes_; }
    const std::vector<Write>& record() const { return record_; }
    std::vector<int> values() const;
    int16_t lastPort() const { return lastPort_; }
    void clear();
    // Write number `n` (counted from 1 since the last clear) and every later write or
    // status read fails as an unplugged adapter would; 0 never fails.
    void failAtWrite(long n) { failAt_ = n; }
    // The adapter plugged in again: writes and reads work from now on.
    void reconnect() { failed_ = false, failAt_ = 0; }
    bool failed() const { return failed_; }
    // A motor that stalls: every `every`-th step sent to `axis` towards its plus direction
    // (larger coordinates; Z downwards) is not made while losing is on; 0 loses none. The
    // step still counts in steps(), as the drivers received it.
    void loseSteps(int axis, long every) { loseEvery_[axis] = every, plusSteps_[axis] = 0; }
    void setLosing(bool on) { losing_ = on; }

  private:
    Wiring wiring_;
    Switches switches_;
    bool recording_ = true;
    std::function<void(uint8_t)> observer_;
    std::vector<Write> record_;
    uint8_t last_ = 0;
    int16_t lastPort_ = 0;
    long position_[3] = {0, 0, 0};
    long steps_[3] = {0, 0, 0};
    long writes_ = 0;
    long failAt_ = 0;
    bool failed_ = false;
    long loseEvery_[3] = {0, 0, 0};
    long plusSteps_[3] = {0, 0, 0};
    bool losing_ = false;
    void checkRead();
};

}  // namespace vornelle
