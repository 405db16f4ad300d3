// The figures of a decoded cut file as French lines for the screen: the expected duration,
// where the cut ends, the extents, the lengths and records in and out of the material, the
// peak step rates, and every problem (shown apart, in red).
#pragma once

#include <string>
#include <vector>

#include "decoder.h"

namespace vornelle {

struct FigureLine {
    std::string text;  // UTF-8
    bool problem = false;
};

// "12,346" with `decimals` digits after a decimal comma; never "-0,000".
std::string commaFixed(double value, int decimals);
// "1 h 23 min 12 s", "4 min 05 s", "12 s", "0,4 s".
std::string durationWords(double seconds);

// Feeds and coefficient as `setup` holds them.
std::vector<FigureLine> figureLines(const Decoded& d, const DecoderSetup& setup);

}  // namespace vornelle
