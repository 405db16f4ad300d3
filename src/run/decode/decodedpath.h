// The XY path of a cut file as the decoder replays it, kept small enough to draw a file of
// tens of millions of ticks: straight runs become one segment, and when the points pass a
// cap the tolerance doubles and the path is merged again, so memory stays bounded.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "decoder.h"

namespace vornelle {

struct PathPoint {
    uint64_t record = 0;      // records played when the tool reaches this point (0: the start)
    long x = 0, y = 0;        // steps from the start point
    bool inMaterial = false;  // the segment that ends here is a cut, else a travel
};

// Merges points into segments: every point dropped lies within `tolerance` steps of the
// segment that replaces it, and a change between cut and travel always keeps its point.
class PathSimplifier {
  public:
    PathSimplifier(std::vector<PathPoint>& out, double tolerance);
    // The next point of the path; `p.inMaterial` tells the segment that ends at it.
    void add(const PathPoint& p);
    // The last point kept as a vertex; nothing more will be added.
    void close();
    // Goes on from the last vertex of `out` with another tolerance.
    void reset(double tolerance);

  private:
    void emitLast();
    void restart();

    std::vector<PathPoint>& out_;
    double tol_;
    PathPoint start_, last_;
    bool haveLast_ = false;
    bool run_ = false;      // the kind of the segments since start_
    bool cone_ = false;     // the directions below are set
    double ax = 0, ay = 0;  // the counter-clockwise bound of the directions left
    double bx = 0, by = 0;  // the clockwise bound
    double farthest_ = 0;   // distance of the farthest point from start_, steps
};

class DecodedPath : public DecodeObserver {
  public:
    // At most `maxPoints` vertices (about 32 bytes each).
    explicit DecodedPath(size_t maxPoints = 200000);

    void record(uint64_t index, const std::array<long, 3>& position, bool inMaterial) override;
    bool cancelled() const override { return cancel_; }
    // Any thread: the decoding stops at its next check.
    void cancel() { cancel_ = true; }
    // Once the decoding has ended: the last run closed.
    void finish();

    const std::vector<PathPoint>& points() const { return points_; }
    // Steps by which a drawn segment may stray from the tool's real path: the tolerance of
    // every merge added up, as each merge works on the points of the one before.
    double tolerance() const { return stray_; }
    // A resumed run: the records before `n` are counted by material state, as the run
    // would have counted them had it played them.
    void countBefore(uint64_t n) { before_ = n; }
    uint64_t inBefore() const { return inBefore_; }
    uint64_t outBefore() const { return outBefore_; }

  private:
    void merge();

    size_t max_;
    double tol_ = 1;
    double stray_ = 1;
    std::vector<PathPoint> points_;
    PathSimplifier simplifier_;
    long lastX_ = 0, lastY_ = 0;
    uint64_t before_ = 0, inBefore_ = 0, outBefore_ = 0;
    std::atomic<bool> cancel_{false};
};

}  // namespace vornelle
