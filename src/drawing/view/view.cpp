// Drawing view engine; see view.h.
#include "view.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vornelle {
namespace {

// The common shape of coordinate texts (sign, digits, one comma or point, digits) read
// without building a string; every other text goes through coordinateValue.
std::optional<double> quickValue(std::string_view t) {
    char buf[32];
    if (t.empty() || t.size() >= sizeof buf) return coordinateValue(t);
    size_t i = 0, n = 0;
    if (t[0] == '-' || t[0] == '+') buf[n++] = t[i++];
    bool digits = false, separator = false;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9') {
            buf[n++] = c;
            digits = true;
        } else if ((c == ',' || c == '.') && !separator) {
            buf[n++] = '.';
            separator = true;
        } else {
            return coordinateValue(t);
        }
    }
    if (!digits) return coordinateValue(t);
    double v = 0;
    const char* start = buf[0] == '+' ? buf + 1 : buf;
    auto [p, ec] = std::from_chars(start, buf + n, v);
    if (ec != std::errc() || p != buf + n) return coordinateValue(t);
    return v;
}

bool overflows(double a, double b) {
    return !(std::fabs(a) <= kPictureLimit) || !(std::fabs(b) <= kPictureLimit);
}

}  // namespace

ViewPath buildPath(const Drawing& d) {
    ViewPath p;
    size_t n = std::min(d.List1.size(), d.List2.size());
    p.x.reserve(n);
    p.y.reserve(n);
    p.inMaterial.reserve(n);
    p.numbered.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        auto x = quickValue(d.List1[i]);
        auto y = quickValue(d.List2[i]);
        if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) {
            p.typeError = true;
            break;
        }
        p.x.push_back(*x);
        p.y.push_back(*y);
        p.inMaterial.push_back(i < d.List3.size() && d.List3[i] != "0");
        p.numbered.push_back(i < d.List5.size() && d.List5[i] != ".");
    }
    // The first point is read even from an empty drawing: nothing to read is a type error.
    if (n == 0) p.typeError = true;
    return p;
}

DrawEnd checkPath(const ViewPath& p, double f) {
    for (size_t i = 0; i < p.size(); ++i)
        if (overflows(pictureX(f, p.x[i]), pictureY(f, p.y[i]))) return DrawEnd::Overflow;
    return p.typeError ? DrawEnd::TypeError : DrawEnd::Done;
}

DrawEnd drawPath(const Drawing& d, const ViewPath& p, const Scene& s, Painter& painter) {
    if (s.variant == Redraw::None) return DrawEnd::Done;
    const double f = s.facteur;
    if (s.clearFirst) painter.clear();
    DrawEnd end = DrawEnd::Done;
    if (p.size() == 0) {
        painter.finish();
        return p.typeError ? DrawEnd::TypeError : DrawEnd::Done;
    }
    // The first point is the one place drawn without the 5 mm margin.
    if (overflows(f * p.x[0] - 1, pictureY(f, p.y[0]))) {
        painter.finish();
        return DrawEnd::Overflow;
    }
    painter.setColour(s.variant == Redraw::ListClick ? Colour::Black : Colour::Foreground);
    painter.point(f * p.x[0] - 1, pictureY(f, p.y[0]));
    double px = pictureX(f, p.x[0]), py = pictureY(f, p.y[0]);
    Colour current = Colour::Black;
    auto colour = [&](Colour c) {
        if (c != current) painter.setColour(c), current = c;
    };
    for (size_t i = 1; i < p.size(); ++i) {
        double x = pictureX(f, p.x[i]), y = pictureY(f, p.y[i]);
        if (overflows(x, y)) {
            end = DrawEnd::Overflow;
            break;
        }
        colour(p.inMaterial[i] ? Colour::Foreground : Colour::LightRed);
        painter.line(px, py, x, y);
        switch (s.variant) {
            case Redraw::ListClick:
                if (p.numbered[i]) {
                    colour(Colour::LightGreen);
                    painter.text(x, y, d.List5[i]);
                    painter.circle(x, y, 0.5);
                }
                if (static_cast<long>(i) == s.selected) {
                    colour(Colour::LightMagenta);
                    painter.circle(x, y, 0.5);
                }
                break;
            case Redraw::Cuts:
                if (p.numbered[i]) {
                    colour(Colour::LightRed);
                    painter.circle(x, y, 1);
                }
                break;
            default:
                break;
        }
        px = x;
        py = y;
    }
    painter.finish();
    if (end == DrawEnd::Done && p.typeError) end = DrawEnd::TypeError;
    return end;
}

DrawEnd drawOverlay(const ViewPath& p, Painter& painter) {
    if (p.size() == 0) return p.typeError ? DrawEnd::TypeError : DrawEnd::Done;
    if (overflows(p.x[0] - 1, pictureY(1, p.y[0]))) return DrawEnd::Overflow;
    painter.setColour(Colour::Black);
    painter.point(p.x[0] - 1, pictureY(1, p.y[0]));
    Colour current = Colour::Black;
    double px = pictureX(1, p.x[0]), py = pictureY(1, p.y[0]);
    DrawEnd end = p.typeError ? DrawEnd::TypeError : DrawEnd::Done;
    for (size_t i = 1; i < p.size(); ++i) {
        double x = pictureX(1, p.x[i]), y = pictureY(1, p.y[i]);
        if (overflows(x, y)) {
            end = DrawEnd::Overflow;
            break;
        }
        Colour c = p.inMaterial[i] ? Colour::Foreground : Colour::LightRed;
        if (c != current) painter.setColour(c), current = c;
        painter.line(px, py, x, y);
        px = x;
        py = y;
    }
    painter.finish();
    return end;
}

std::optional<Fit> fitPath(const ViewPath& p, double width, double height) {
    if (p.size() == 0) return std::nullopt;
    auto [minX, maxX] = std::minmax_element(p.x.begin(), p.x.end());
    auto [minY, maxY] = std::minmax_element(p.y.begin(), p.y.end());
    const double margin = 3;  // mm left free around the drawing
    double w = *maxX - *minX, h = *maxY - *minY;
    double room = std::max(width - 2 * margin, 1.0), roomY = std::max(height - 2 * margin, 1.0);
    double f;
    if (w <= 0 && h <= 0)
        f = 1;
    else if (w <= 0)
        f = roomY / h;
    else if (h <= 0)
        f = room / w;
    else
        f = std::min(room / w, roomY / h);
    // Centred in the picture.
    double left = pictureX(f, *minX) - (width - f * w) / 2;
    double top = pictureY(f, *maxY) - (height - f * h) / 2;
    return Fit{f, left, top};
}

}  // namespace vornelle
