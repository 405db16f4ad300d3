// What the drawing view draws with: lines, points, circles and text at picture coordinates
// in millimetres, in colours of the 16-colour palette. The Qt picture paints with it; the
// tests record it.
#pragma once

#include <string_view>

namespace vornelle {

// Palette numbers of the classic 16-colour palette; Foreground is the picture's design colour.
enum class Colour : int {
    Foreground = -1,
    Black = 0,
    LightGrey = 7,
    LightGreen = 10,
    LightRed = 12,
    LightMagenta = 13
};

class Painter {
  public:
    virtual ~Painter() = default;
    // Empties the picture (the background colour).
    virtual void clear() = 0;
    virtual void setColour(Colour c) = 0;
    virtual void point(double x, double y) = 0;
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    virtual void circle(double cx, double cy, double radius) = 0;
    virtual void text(double x, double y, std::string_view t) = 0;
    // End of a redraw: a painter that batches its work draws it now.
    virtual void finish() {}
};

}  // namespace vornelle
