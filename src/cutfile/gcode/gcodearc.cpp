// Arc centres, checks and chords; see gcodearc.h.
#include "gcodearc.h"

#include <algorithm>
#include <cmath>

#include "base/numbers.h"

namespace vornelle {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Ends closer than this (mm) are one point: a full circle by I J, a refused R arc.
constexpr double kSamePoint = 1e-9;
constexpr uint32_t kMaxChords = 1u << 20;

// A difference of radii (mm) a controller of the field lets through: within 0,01 mm or
// within 0,1 % of the radius.
bool radiiAgree(double difference, double radius) {
    return difference <= 0.01 || difference <= 0.001 * radius;
}

std::string mm(double v) {
    return numberText(std::round(v * 10000) / 10000, ',') + " mm";
}

}  // namespace

std::string arcByCentre(GcodeMove& m) {
    const double r0 = std::hypot(m.from.x - m.cx, m.from.y - m.cy);
    const double r1 = std::hypot(m.to.x - m.cx, m.to.y - m.cy);
    if (r0 <= kSamePoint) return "arc de rayon nul (le centre I J est sur le point de départ).";
    if (!radiiAgree(std::fabs(r1 - r0), r0))
        return "le rayon à l'arrivée (" + mm(r1) + ") diffère du rayon au départ (" + mm(r0) +
               ") : centre I J incohérent.";
    m.fullCircle = std::hypot(m.to.x - m.from.x, m.to.y - m.from.y) <= kSamePoint;
    return {};
}

std::string arcByRadius(GcodeMove& m, double r) {
    const double dx = m.to.x - m.from.x, dy = m.to.y - m.from.y;
    const double chord = std::hypot(dx, dy);
    if (chord <= kSamePoint) return "arc R qui finit où il commence : son centre n'est pas défini.";
    const double half = chord / 2, radius = std::fabs(r);
    double h2 = radius * radius - half * half;
    if (h2 < 0) {
        if (!radiiAgree(half - radius, radius))
            return "rayon R " + mm(radius) + " plus court que la moitié de la corde (" + mm(half) + ").";
        h2 = 0;  // a half turn written with a rounded radius
    }
    // Centre left of the chord for a short counter-clockwise arc; right for clockwise; the
    // other side for the long arc (R < 0).
    const double side = (m.clockwise ? -1.0 : 1.0) * (r < 0 ? -1.0 : 1.0);
    const double h = std::sqrt(h2);
    m.cx = m.from.x + dx / 2 - side * h * dy / chord;
    m.cy = m.from.y + dy / 2 + side * h * dx / chord;
    m.fullCircle = false;
    return {};
}

double arcSweep(const GcodeMove& m) {
    if (m.fullCircle) return m.clockwise ? -2 * kPi : 2 * kPi;
    const double a0 = std::atan2(m.from.y - m.cy, m.from.x - m.cx);
    const double a1 = std::atan2(m.to.y - m.cy, m.to.x - m.cx);
    double sweep = m.clockwise ? a0 - a1 : a1 - a0;
    while (sweep <= 0) sweep += 2 * kPi;
    while (sweep > 2 * kPi) sweep -= 2 * kPi;
    return m.clockwise ? -sweep : sweep;
}

uint32_t arcChordCount(const GcodeMove& m, double tolerance) {
    const double r =
        std::max(std::hypot(m.from.x - m.cx, m.from.y - m.cy), std::hypot(m.to.x - m.cx, m.to.y - m.cy));
    // A chord over angle a strays r (1 - cos(a/2)) from its arc; never more than a quarter turn.
    double step = kPi / 2;
    if (tolerance < r) step = std::min(step, 2 * std::acos(1 - tolerance / r));
    const double n = std::ceil(std::fabs(arcSweep(m)) / step);
    if (!(n >= 1)) return 1;
    return n >= kMaxChords ? kMaxChords : static_cast<uint32_t>(n);
}

Point3 arcPoint(const GcodeMove& m, uint32_t k, uint32_t count) {
    if (k >= count) return m.to;
    const double f = static_cast<double>(k) / count;
    const double a0 = std::atan2(m.from.y - m.cy, m.from.x - m.cx);
    const double r0 = std::hypot(m.from.x - m.cx, m.from.y - m.cy);
    const double r1 = std::hypot(m.to.x - m.cx, m.to.y - m.cy);
    const double a = a0 + arcSweep(m) * f, r = r0 + (r1 - r0) * f;
    return {m.cx + r * std::cos(a), m.cy + r * std::sin(a), m.from.z + (m.to.z - m.from.z) * f};
}

}  // namespace vornelle
