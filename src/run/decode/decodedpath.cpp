// Path of a decoded cut file; see decodedpath.h. The merging is the sleeve test on a cone of
// directions: from the segment's start, each point allows the directions that pass within
// the tolerance of it, and the segment goes on while some direction passes near every point
// so far. Two square roots per point, no angle functions, so it keeps pace with the decoder.
#include "decodedpath.h"

#include <cmath>

namespace vornelle {

PathSimplifier::PathSimplifier(std::vector<PathPoint>& out, double tolerance) : out_(out), tol_(tolerance) {
    if (!out_.empty()) start_ = out_.back();
    last_ = start_;
}

void PathSimplifier::restart() {
    start_ = last_;
    cone_ = false;
    farthest_ = 0;
}

void PathSimplifier::emitLast() {
    out_.push_back(last_);
    restart();
}

void PathSimplifier::add(const PathPoint& p) {
    if (!haveLast_) {
        if (out_.empty()) out_.push_back(start_);
        haveLast_ = true;
        run_ = p.inMaterial;
    }
    // A change between cut and travel ends the segment where the tool was.
    if (p.inMaterial != run_) {
        if (last_.record != start_.record || last_.x != start_.x || last_.y != start_.y) emitLast();
        run_ = p.inMaterial;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        double dx = static_cast<double>(p.x - start_.x), dy = static_cast<double>(p.y - start_.y);
        double d2 = dx * dx + dy * dy;
        if (d2 <= tol_ * tol_) {  // still beside the start: any direction passes near it
            last_ = p;
            return;
        }
        double d = std::sqrt(d2);
        bool inside = d >= farthest_ - tol_;  // a path that turns back ends the segment
        if (inside && cone_) inside = bx * dy - by * dx >= 0 && dx * ay - dy * ax >= 0;
        if (inside) {
            double ux = dx / d, uy = dy / d, s = tol_ / d, c = std::sqrt(1 - s * s);
            double pax = ux * c - uy * s, pay = ux * s + uy * c;   // u turned counter-clockwise
            double pbx = ux * c + uy * s, pby = -ux * s + uy * c;  // u turned clockwise
            if (!cone_) {
                ax = pax, ay = pay, bx = pbx, by = pby;
                cone_ = true;
            } else {
                if (ax * pay - ay * pax < 0) ax = pax, ay = pay;
                if (bx * pby - by * pbx > 0) bx = pbx, by = pby;
            }
            farthest_ = std::max(farthest_, d);
            last_ = p;
            return;
        }
        // The segment ends at the last point; the new one starts a segment from there.
        last_.inMaterial = run_;
        emitLast();
    }
    last_ = p;  // cannot happen: a point next to the start is always accepted
}

void PathSimplifier::close() {
    if (haveLast_ && (last_.record != start_.record || last_.x != start_.x || last_.y != start_.y)) {
        last_.inMaterial = run_;
        out_.push_back(last_);
    }
    haveLast_ = false;
    restart();
}

void PathSimplifier::reset(double tolerance) {
    tol_ = tolerance;
    haveLast_ = false;
    if (!out_.empty()) last_ = out_.back();
    restart();
}

DecodedPath::DecodedPath(size_t maxPoints)
    : max_(std::max<size_t>(maxPoints, 16)), simplifier_(points_, tol_) {
    points_.reserve(1024);
}

void DecodedPath::record(uint64_t index, const std::array<long, 3>& position, bool inMaterial) {
    if (index < before_) ++(inMaterial ? inBefore_ : outBefore_);
    // A record that moves only Z adds no point: its material change shows on the next move.
    if (position[0] == lastX_ && position[1] == lastY_) return;
    lastX_ = position[0], lastY_ = position[1];
    simplifier_.add(PathPoint{index + 1, position[0], position[1], inMaterial});
    if (points_.size() > max_) merge();
}

void DecodedPath::merge() {
    simplifier_.close();
    std::vector<PathPoint> kept;
    do {
        tol_ *= 2;
        kept.assign(1, points_.front());
        PathSimplifier again(kept, tol_);
        for (size_t i = 1; i < points_.size(); ++i) again.add(points_[i]);
        again.close();
    } while (kept.size() > max_ / 2);
    points_.swap(kept);
    stray_ += tol_;
    simplifier_.reset(tol_);
}

void DecodedPath::finish() {
    simplifier_.close();
}

}  // namespace vornelle
