// G-code moves into prem; see gcodepoints.h. Points are written already rounded to whole
// steps (the segment stage rounds them the same way), so the ticks of each segment are
// known here, as the segment stage will count them.
#include "gcodepoints.h"

#include <cmath>

#include "base/numbers.h"
#include "gcodearc.h"

namespace vornelle {
namespace {

constexpr double kMaxPosition = 2147483647.0;  // steps, as for a drawing

}  // namespace

GcodePoints::GcodePoints(FieldWriter& prem, const MachineFields& m, double tolerance, double tickSeconds)
    : prem_(prem), m_(m), tolerance_(tolerance), tickSeconds_(tickSeconds) {
    for (int a = 0; a < 4; ++a) prem_.integer(0);
    prem_.endRecord();
}

void GcodePoints::point(const Point3& p, PacingFeed need, long line) {
    if (!error_.empty()) return;
    const double steps[3] = {(m_.scale * p.x) * m_.spmm[0], (m_.scale * p.y) * m_.spmm[1], -p.z * m_.spmm[2]};
    long at[3];
    uint64_t longest = 0;
    for (int a = 0; a < 3; ++a) {
        if (!(std::fabs(steps[a]) <= kMaxPosition)) {
            error_ = "ligne " + std::to_string(line) + " : le point est à " +
                     (std::isfinite(steps[a]) ? numberText(steps[a], ',') : std::string("plus de 1E+308")) +
                     " pas sur l'axe " + "XYZ"[a] +
                     ", au-delà de la limite de 2147483647 pas. Vérifiez l'échelle et les pas par mm.";
            return;
        }
        at[a] = static_cast<long>(roundHalfEven(steps[a]));
        longest = std::max<uint64_t>(longest, static_cast<uint64_t>(std::labs(at[a] - last_[a])));
        prem_.integer(at[a]);
        last_[a] = at[a];
    }
    prem_.integer(0);
    prem_.endRecord();
    if (longest == 0) return;
    ticks_ += longest;
    if (!needs_.empty() && needs_.back().feed == need)
        needs_.back().count += longest;
    else
        needs_.push_back({longest, 1, need});
}

PacingFeed GcodePoints::needOf(const GcodeMove& mv) {
    if (mv.kind == MoveKind::Rapid) {
        if (!startHeight_ && mv.to.z != mv.from.z) startHeight_ = mv.to.z;
        return PacingFeed::Out;
    }
    // In the material: a feed move that reaches the program's zero or goes below it, or below
    // the height the program first rises to (a program whose zero is the stock's bottom).
    const double low = std::min(mv.from.z, mv.to.z);
    return low <= 1e-9 || low < startHeight_.value_or(0) - 1e-9 ? PacingFeed::In : PacingFeed::Out;
}

void GcodePoints::move(const GcodeMove& mv) {
    rate(mv);
    const PacingFeed need = needOf(mv);
    if (mv.kind != MoveKind::Arc) return point(mv.to, need, mv.line);
    // Chords within the tolerance of the cut file: the scale enlarges the arc's strays too.
    const double s = std::fabs(m_.scale);
    const uint32_t n = arcChordCount(mv, s > 0 ? tolerance_ / s : tolerance_);
    for (uint32_t k = 1; k <= n && error_.empty(); ++k) point(arcPoint(mv, k, n), need, mv.line);
}

void GcodePoints::dwell(double seconds, long line) {
    if (seconds == 0 || !error_.empty()) return;
    if (!(tickSeconds_ > 0)) {
        error_ = "ligne " + std::to_string(line) +
                 " : temporisation G4 : à cette Petite vitesse un top n'a pas de durée connue ; choisissez "
                 "une Petite vitesse plus basse.";
        return;
    }
    const double count = std::round(seconds / tickSeconds_);
    if (count > 1e9) {
        error_ = "ligne " + std::to_string(line) + " : temporisation G4 de plus d'un milliard de tops.";
        return;
    }
    if (count >= 1) idle_.push_back({ticks_, static_cast<uint64_t>(count)});
}

void GcodePoints::rate(const GcodeMove& mv) {
    if (mv.kind == MoveKind::Rapid || !(mv.feed > 0)) return;
    const double dz = mv.to.z - mv.from.z, s = std::fabs(m_.scale);
    double xy = std::hypot(mv.to.x - mv.from.x, mv.to.y - mv.from.y);
    if (mv.kind == MoveKind::Arc)
        xy = std::fabs(arcSweep(mv)) * std::hypot(mv.from.x - mv.cx, mv.from.y - mv.cy);
    const double length = std::hypot(xy, dz);  // mm of the program
    if (length == 0) return;
    const double seconds = length / (mv.feed / 60);
    double peak;
    if (mv.kind == MoveKind::Arc) {  // the tangent turns: each of X and Y takes the whole XY speed somewhere
        peak = xy * s * std::max(m_.spmm[0], m_.spmm[1]) / seconds;
    } else {
        peak = std::max(std::fabs(mv.to.x - mv.from.x) * s * m_.spmm[0],
                        std::fabs(mv.to.y - mv.from.y) * s * m_.spmm[1]) /
               seconds;
    }
    peak = std::max(peak, std::fabs(dz) * m_.spmm[2] / seconds);
    double& known = peak_[mv.feed];
    known = std::max(known, peak);
}

void GcodePoints::pause(long) {
    pauses_.push_back(ticks_);
}

}  // namespace vornelle
