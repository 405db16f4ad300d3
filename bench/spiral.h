// The synthetic drawing of the generation and decode benchmarks: a spiral of many short
// segments, the generation input that makes it a cut file of about 30 million ticks at 225
// turns, and its generation timed.
#pragma once

#include <filesystem>

#include "cutfile/generation/generation.h"
#include "drawing/drawing.h"

namespace vornelle::bench {

// An empty folder `name` with its work/ folder under the system's temporary folder.
std::filesystem::path freshFolder(const char* name);

// Spiral: 720 points per turn, radius growing 1 mm per turn from 5 mm, one cut; written as
// `dir`/spirale.fra.
Drawing spiral(long turns, const std::filesystem::path& dir);

// Its cut file `dir`/spirale at scale 1, a pass of 2 mm, 200 steps per mm in X and Y, 400 in
// Z, the weights in order, Z inverted (the feeds left for the caller).
GenerationInput spiralInput(const std::filesystem::path& dir);

// Generates the cut file of `in`, work files in `dir`/work/; `seconds` the time it took.
GenerationResult timedGeneration(const GenerationInput& in, const std::filesystem::path& dir,
                                 double& seconds);

}  // namespace vornelle::bench
