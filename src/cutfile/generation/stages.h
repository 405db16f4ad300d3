// The stages of the cut-file generation, each streaming one work file into the next in
// constant memory: the drawing's points in steps (prem), the segments between them (objet),
// the eight signal streams of ticks (bit1..bit8), and their merge into the cut file. A stage
// returns the message of its failure, empty when it succeeded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/message.h"
#include "generation.h"

namespace vornelle {

// The machine fields the stages use, converted and checked once.
struct MachineFields {
    double scale = 0;  // drawing units to mm
    double depth = 0;  // mm of Z per unit of the drawing's Z flag
    double spmm[3]{};  // steps per mm, X Y Z
    int weight[8]{};   // port bit of each signal: DIR X, CLOCK X, DIR Y, ... (0: none)
    bool invert[3]{};  // DIR lines written inverted, X Y Z
};

// The refusal of the tool page's fields, in the order the page checks them, before anything
// is written; otherwise no value and `m` filled.
std::optional<Message> checkInput(const GenerationInput& in, MachineFields& m);

// prem: every point of the FRA drawing as X, Y, Z in steps (scale × coordinate × steps per mm;
// Z from the depth) and a fourth channel 0.
std::string writeScaledPoints(const std::string& fra, const MachineFields& m, const std::string& prem);

// objet: per segment between consecutive points rounded to the nearest step, the direction
// and step count of each channel; `ticks` the cut file's length in ticks (the longest count
// of each segment, summed).
std::string writeSegments(const std::string& prem, const std::string& objet, uint64_t& ticks);

// bit1..bit8 (`bits`, the work folder's path before the names): per segment of m ticks, m
// direction fields and m clock fields per axis, the steps spread evenly. `ticks` and `bytes`
// grow by what was written.
std::string writeSignalStreams(const std::string& objet, const std::string& bits, uint64_t& ticks,
                               uint64_t& bytes);

// The cut file `path`: per tick, the port byte of the eight signals (weights, inverted DIR
// lines), one per line; must come to `ticks` records. `bytes` grows by its size.
std::string mergeCutFile(const std::string& bits, const MachineFields& m, const std::string& path,
                         uint64_t ticks, uint64_t& bytes);

// The refusal when the cut file `def` or the work files of `ticks` ticks would not fit on
// their disks, else empty.
std::string spaceShortage(uint64_t ticks, const std::string& work, const std::string& def,
                          const int (&weight)[8]);

}  // namespace vornelle
