// The decoded XY path drawn through the painter: cuts and travels in the drawing view's
// colours, the extents, the start point and a scale bar; optionally the part already cut in
// colour over the rest in grey, and the tool's place. No Qt: the CLI's PNG and the panel
// paint it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "decodedpath.h"
#include "decoder.h"
#include "drawing/view/painter.h"

namespace vornelle {

// Picture millimetres (y downwards) to pixels: x = (mm - left) * scale, y = (-mm - top) * scale.
struct PathFrame {
    double left = 0, top = 0, pixelsPerMm = 1;
    int width = 0, height = 0;  // pixels
};

// Shows the extents of `d` in a picture of width x height pixels with a margin.
PathFrame fitPathFrame(const Decoded& d, const DecoderSetup& s, int width, int height);

struct PathMarks {
    uint64_t done = UINT64_MAX;                 // records played: the path beyond them in grey
    std::optional<std::array<double, 2>> tool;  // X, Y of the tool, mm from the start
};

void drawPathPicture(const DecodedPath& path, const Decoded& d, const DecoderSetup& s, const PathFrame& f,
                     Painter& p, const PathMarks& marks = {});

// Millimetres per step on X and Y (1 when the steps per mm are not set, so steps are drawn).
double mmPerStep(const DecoderSetup& s, int axis);

}  // namespace vornelle
