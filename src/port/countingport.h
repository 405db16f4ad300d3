// The steps the program has written, counted as the drivers take them: a port in front of the
// backend that forwards every byte and decodes its rising clocks with the job's wiring. The
// machine service owns one, so pages can show where the tool is while a job runs. The count
// is kept in the motors' own sense (a set DIR line counts down), so a configuration whose
// inversions change between jobs never mixes two frames in one sum.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "portlibrary.h"
#include "port/backends/simulatedmachine.h"

namespace vornelle {

class CountingPort : public PortLibrary {
  public:
    // The backend and wiring of the next job. The lines of a backend met for the first time
    // are taken as all low, as after the port is opened.
    void attach(PortLibrary& inner, const Wiring& wiring);

    void Write_Port_Bit(int16_t port, int16_t value) override;
    int16_t Read_Busy(int16_t port) override { return inner_->Read_Busy(port); }
    int16_t Read_Pe(int16_t port) override { return inner_->Read_Pe(port); }
    int16_t Read_Select(int16_t port) override { return inner_->Read_Select(port); }
    int16_t Read_Error(int16_t port) override { return inner_->Read_Error(port); }
    std::string description() const override { return inner_ ? inner_->description() : std::string(); }

    // Steps X, Y, Z in the frame of the last job's inversions (a set direction line counts
    // down, after the axis' inversion; Z positive into the material), any thread.
    std::array<long, 3> position() const;
    // In the same frame.
    void setPosition(const std::array<long, 3>& p);
    // Bytes the backend accepted.
    uint64_t writes() const { return writes_.load(std::memory_order_relaxed); }

  private:
    PortLibrary* inner_ = nullptr;
    Wiring wiring_;
    uint8_t last_ = 0;
    std::array<std::atomic<long>, 3> motor_{};       // steps in each motor's own sense
    std::array<std::atomic<bool>, 3> inverted_{};  // the last job's inversions, for position()
    std::atomic<uint64_t> writes_{0};
};

}  // namespace vornelle
