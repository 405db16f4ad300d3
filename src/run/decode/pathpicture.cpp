// Path picture; see pathpicture.h.
#include "pathpicture.h"

#include <algorithm>
#include <cmath>

#include "figures.h"

namespace vornelle {
namespace {
constexpr int kMargin = 16;    // pixels around the extents
constexpr int kBarSpace = 26;  // pixels under them for the scale bar

// 1, 2 or 5 times a power of ten, at most `mm`.
double roundLength(double mm) {
    double p = std::pow(10.0, std::floor(std::log10(mm)));
    for (double k : {5.0, 2.0, 1.0})
        if (k * p <= mm) return k * p;
    return p;
}
}  // namespace

double mmPerStep(const DecoderSetup& s, int axis) {
    return s.stepsPerMm[axis] > 0 ? 1 / s.stepsPerMm[axis] : 1;
}

PathFrame fitPathFrame(const Decoded& d, const DecoderSetup& s, int width, int height) {
    PathFrame f;
    f.width = width, f.height = height;
    double mx = mmPerStep(s, 0), my = mmPerStep(s, 1);
    double x0 = d.axes[0].min * mx, x1 = d.axes[0].max * mx;
    double y0 = d.axes[1].min * my, y1 = d.axes[1].max * my;
    double w = std::max(1.0, width - 2.0 * kMargin), h = std::max(1.0, height - 2.0 * kMargin - kBarSpace);
    double sx = x1 > x0 ? w / (x1 - x0) : 1e300, sy = y1 > y0 ? h / (y1 - y0) : 1e300;
    f.pixelsPerMm = std::min(sx, sy);
    if (f.pixelsPerMm >= 1e300) f.pixelsPerMm = 10;  // a single point
    f.left = (x0 + x1) / 2 - width / 2.0 / f.pixelsPerMm;
    f.top = -(y0 + y1) / 2 - (height - kBarSpace) / 2.0 / f.pixelsPerMm;
    return f;
}

void drawPathPicture(const DecodedPath& path, const Decoded& d, const DecoderSetup& s, const PathFrame& f,
                     Painter& p, const PathMarks& marks) {
    const double mx = mmPerStep(s, 0), my = mmPerStep(s, 1), px = 1 / f.pixelsPerMm;
    p.clear();
    // The extents and their size.
    double x0 = d.axes[0].min * mx, x1 = d.axes[0].max * mx, y0 = -d.axes[1].max * my,
           y1 = -d.axes[1].min * my;
    const std::string size = commaFixed(x1 - x0, 1) + " x " + commaFixed(y1 - y0, 1) + " mm";
    // A few pixels outside, so that a cut along the extents stays visible.
    x0 -= 3 * px, y0 -= 3 * px, x1 += 3 * px, y1 += 3 * px;
    p.setColour(Colour::LightGrey);
    p.line(x0, y0, x1, y0);
    p.line(x1, y0, x1, y1);
    p.line(x1, y1, x0, y1);
    p.line(x0, y1, x0, y0);
    p.setColour(Colour::Black);
    p.text(x0, y0 - 2 * px, size + (s.stepsPerMm[0] > 0 ? "" : " (pas)"));
    // The path: what is done in the view's colours, the rest in grey.
    const auto& pts = path.points();
    for (size_t i = 1; i < pts.size(); ++i) {
        const PathPoint &a = pts[i - 1], &b = pts[i];
        double ax = a.x * mx, ay = -a.y * my, bx = b.x * mx, by = -b.y * my;
        Colour c = b.inMaterial ? Colour::Foreground : Colour::LightRed;
        if (b.record <= marks.done) {
            p.setColour(c);
            p.line(ax, ay, bx, by);
        } else if (a.record >= marks.done) {
            p.setColour(Colour::LightGrey);
            p.line(ax, ay, bx, by);
        } else {  // the segment under way, split where the records played put the tool
            double t = static_cast<double>(marks.done - a.record) / static_cast<double>(b.record - a.record);
            double cx = ax + t * (bx - ax), cy = ay + t * (by - ay);
            p.setColour(c);
            p.line(ax, ay, cx, cy);
            p.setColour(Colour::LightGrey);
            p.line(cx, cy, bx, by);
        }
    }
    p.setColour(Colour::LightGreen);
    p.circle(0, 0, 4 * px);
    if (marks.tool) {
        p.setColour(Colour::LightMagenta);
        p.circle((*marks.tool)[0], -(*marks.tool)[1], 5 * px);
    }
    // The scale bar, bottom left, about a quarter of the picture wide.
    double bar = roundLength(f.width * px / 4);
    double bx = f.left + kMargin * px, by = f.top + (f.height - 8) * px;
    p.setColour(Colour::Black);
    p.line(bx, by, bx + bar, by);
    p.line(bx, by - 4 * px, bx, by + 1 * px);
    p.line(bx + bar, by - 4 * px, bx + bar, by + 1 * px);
    int decimals = bar >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(bar)));
    p.text(bx + bar + 4 * px, by + 4 * px,
           commaFixed(bar, decimals) + (s.stepsPerMm[0] > 0 ? " mm" : " pas"));
    p.finish();
}

}  // namespace vornelle
