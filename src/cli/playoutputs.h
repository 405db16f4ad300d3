// The trace and timing files of `play`: their size is known from the records to play before
// the first write, so a long cut cannot fill the disk or the memory halfway through; the bytes
// come from the simulated machine as the port takes them.
#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "port/backends/simulatedmachine.h"
#include "port/virtualclock.h"

namespace vornelle::cli {

// Port writes per record (the byte, then its clock edge), and room for the few writes
// around the records.
constexpr uint64_t kWritesPerRecord = 2;
constexpr uint64_t kExtraWrites = 64;
constexpr uint64_t kTraceBytesPerWrite = 4;    // "255\n"
constexpr uint64_t kTimingBytesPerWrite = 25;  // up to 20 digits of ns, a blank, "255\n"
// The times are kept in memory during the run, 8 bytes each: at most 1 GiB of them.
constexpr uint64_t kMaxTimedWrites = uint64_t{1} << 27;

// The refusal when the files asked for would not fit (or the times not in memory) for
// `records` records, else empty.
std::string playOutputsShortage(uint64_t records, const std::optional<std::string>& trace,
                                const std::optional<std::string>& timing);

// The time of each port write and its byte, packed in 8 bytes: nanoseconds since the first
// write (enough for 2 years) above the byte.
class WriteTimes {
  public:
    using Clock = std::chrono::steady_clock;
    void reserve(uint64_t writes) { times_.reserve(writes); }
    void add(Clock::time_point when, uint8_t byte);
    // A time read on the virtual clock, which already starts at the first write.
    void addNs(uint64_t ns, uint8_t byte) { times_.push_back(ns << 8 | byte); }
    // "nanoseconds byte" per write; false when the file could not be written.
    bool writeTo(std::ofstream& file) const;

  private:
    Clock::time_point first_;
    std::vector<uint64_t> times_;
};

// The two files asked for on the command line, from opening to the last byte written.
class PlayFiles {
  public:
    PlayFiles(const std::optional<std::string>& trace, const std::optional<std::string>& timing)
        : tracePath_(trace), timingPath_(timing) {}
    // Both files created empty, the trace first; the message when one cannot be.
    std::string open();
    // Every byte the machine takes goes to the trace and the times from now on; the times
    // read on `clock` when one is given (started at the first write), else on the steady clock.
    void follow(SimulatedMachine& machine, VirtualClock* clock = nullptr);
    // Before the first write: the refusal when `records` records would not fit (the files
    // then removed), else empty; room made for the times.
    std::string prepare(uint64_t records);
    // After the run: the times and the rest of the trace written out; the message on failure.
    std::string close();

  private:
    const std::optional<std::string>& tracePath_;
    const std::optional<std::string>& timingPath_;
    std::ofstream trace_, timing_;
    std::string traceBuffer_;
    // Times are kept in memory during the run: writing them out as they come would delay
    // the very steps they measure.
    WriteTimes times_;
};

}  // namespace vornelle::cli
