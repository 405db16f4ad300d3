// Reads a G-code program line by line with the machine state a controller keeps (modal
// groups: motion, units, absolute or incremental, arc centres) and hands its moves, dwells
// and pauses to a sink, in millimetres. What a cut file cannot follow is refused with the
// physical line: "ligne 11 (N0090) : raison".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gcodeline.h"
#include "gcodemove.h"

namespace vornelle {

struct GcodeSummary {
    long lines = 0;                           // physical lines read
    uint64_t rapid = 0, linear = 0, arc = 0;  // moves as written, zero-length ones too
    std::vector<double> feeds;                // F values met, in the file's units per minute
    bool inch = false;                        // the first G20 / G21 met was G20
    bool ended = false;                       // M2 or M30 met: what follows is not read
};

class GcodeInterpreter {
  public:
    explicit GcodeInterpreter(GcodeSink& sink) : sink_(sink) {}
    // One physical line without its line end; the refusal, empty when accepted.
    std::string line(std::string_view raw);
    const GcodeSummary& summary() const { return summary_; }

  private:
    std::string execute(const GcodeLine& l);
    std::string motion(const GcodeLine& l, int mode, const double* value, const bool* given);

    GcodeSink& sink_;
    GcodeSummary summary_;
    GcodeLine words_;
    Point3 at_;        // mm, program coordinates
    double unit_ = 1;  // mm per program unit
    bool unitsSeen_ = false;
    bool incremental_ = false;  // G91
    bool arcAbsolute_ = false;  // G90.1
    int mode_ = 0;              // 0, 1, 2, 3; -1 after G80
    double feed_ = 0;           // mm per minute
    bool cutMade_ = false;      // a G1 / G2 / G3 move was made
};

// The whole program of the file `path` (or of `text`), every line through one interpreter.
// The refusal, empty when the program reads to its end; `summary` as far as it was read.
std::string readGcodeFile(const std::string& path, GcodeSink& sink, GcodeSummary& summary);
std::string readGcodeText(std::string_view text, GcodeSink& sink, GcodeSummary& summary);

}  // namespace vornelle
