// Cut-file generation: an FRA drawing becomes a DEF cut file (one port byte per tick of the
// step clock) and its details file, through the work files prem (scaled points), objet
// (segments) and bit1..bit8 (one stream per signal). Every stage streams from one file to
// the next in constant memory.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/interfaces.h"
#include "base/message.h"

namespace vornelle {

// The texts of the tool-page fields the generation reads.
struct GenerationInput {
    std::string text1;                      // FRA path
    std::string Text9;                      // cut name without extension
    std::string Text7;                      // note
    std::string Text4;                      // scale factor, leading-number
    std::string Text12;                     // pass depth in mm, leading-number
    std::string Text6, Text3, Text5;        // X, Y, Z steps per mm, decimal
    std::array<std::string, 8> weights;     // Text13..Text20, leading-number
    std::array<std::string, 3> inversions;  // Text21..Text23, decimal
    std::string Text10, Text11;             // feeds, copied to the details file
};

struct GenerationResult {
    bool ok = false;
    Message message;  // the refusal, the failure, or the success message
    std::string defPath, detPath;
    uint64_t ticks = 0;
    uint64_t bytesWritten = 0;              // all files of the generation
    double stageSeconds[4] = {0, 0, 0, 0};  // points, segments, streams, cut file
};

// Work file names inside the work folder.
constexpr const char* kWorkFiles[] = {"bit1", "bit2", "bit3", "bit4", "bit5",
                                      "bit6", "bit7", "bit8", "prem", "objet"};

// Runs "Créer fichier fraisage (DEF)". `workFolder` ends in '/'. The busy pointer shows the
// hourglass from the work files on and is always restored. After a failure no cut file
// exists and the details file written for it is removed.
GenerationResult generate(const GenerationInput& in, const std::string& workFolder, BusyPointer& busy);

struct MachineFields;

// Writes the work file prem (its path given): one record per point, X Y Z in steps and a fourth
// channel 0. Returns the failure's message, empty on success.
using PointStage = std::function<std::string(const MachineFields& m, const std::string& prem)>;

// The details file's ten fields of `in` (field 2 names the source: drawing or program).
struct Details;
Details detailsOf(const GenerationInput& in);

// The generation with another source of points than the FRA drawing (a cut strategy, a G-code
// program): the checks of `in`, the details file `det` (its contents given), `points` into prem,
// then the same segments, streams and cut file as generate(), with the same guarantees.
GenerationResult generateFrom(const GenerationInput& in, const std::string& detailsContents,
                              const PointStage& points, const std::string& workFolder, BusyPointer& busy);

// The clock stream of one channel over a segment of m ticks with n steps, as 0/1 per tick
// (for tests; the generation writes the same directly).
std::string clockStream(uint64_t m, uint64_t n);

}  // namespace vornelle
