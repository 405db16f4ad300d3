// A painter that records what the drawing view draws, in picture millimetres, with the
// colour in force at each call.
#pragma once

#include <string>
#include <vector>

#include "drawing/view/painter.h"

namespace vornelle::test {

struct Drawn {
    enum Kind { Clear, Point, Line, Circle, Text } kind;
    Colour colour;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a circle's radius is x2
    std::string text;
};

class RecordingPainter : public Painter {
  public:
    void clear() override { calls.push_back({Drawn::Clear, colour, 0, 0, 0, 0, {}}); }
    void setColour(Colour c) override { colour = c; }
    void point(double x, double y) override { calls.push_back({Drawn::Point, colour, x, y, 0, 0, {}}); }
    void line(double x1, double y1, double x2, double y2) override {
        calls.push_back({Drawn::Line, colour, x1, y1, x2, y2, {}});
    }
    void circle(double cx, double cy, double r) override {
        calls.push_back({Drawn::Circle, colour, cx, cy, r, 0, {}});
    }
    void text(double x, double y, std::string_view t) override {
        calls.push_back({Drawn::Text, colour, x, y, 0, 0, std::string(t)});
    }
    std::vector<Drawn> of(Drawn::Kind k) const {
        std::vector<Drawn> v;
        for (const Drawn& d : calls)
            if (d.kind == k) v.push_back(d);
        return v;
    }
    Colour colour = Colour::Foreground;
    std::vector<Drawn> calls;
};

}  // namespace vornelle::test
