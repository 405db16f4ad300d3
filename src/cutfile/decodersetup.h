// The decoder's wiring, paces and steps per mm from the tool page's fields, as the run and
// the generation read them, so the figures shown are those of the run that would play.
#pragma once

#include "base/outcome.h"
#include "run/decode/decoder.h"
#include "toolfields.h"

namespace vornelle {

// Weights (leading-number, 0 or one data line), inversions Text21..Text23 (1 = inverted),
// invZ for the Z variant, steps per mm (decimal; 0 when not a number) and the coefficient.
// The feeds are set by the caller. The run's message when a weight or c cannot be used.
Outcome<DecoderSetup> decoderSetup(const ToolFields& t);

}  // namespace vornelle
