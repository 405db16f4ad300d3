// Containment of cuts; see containment.h. Boxes are registered in a coarse grid so that each
// cut meets only the closed cuts whose box holds its own; large polygons get a band index on
// Y so that one point costs a few edges instead of all of them.
#include "containment.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace vornelle {
namespace {

struct Box {
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    void add(Point2 p) {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
    bool holds(const Box& b, double eps) const {
        return b.x0 >= x0 - eps && b.x1 <= x1 + eps && b.y0 >= y0 - eps && b.y1 <= y1 + eps;
    }
};

// p within eps of the segment ab; compared squared, after a box test that most edges fail.
bool nearSegment(Point2 p, Point2 a, Point2 b, double eps) {
    if (p.x < std::min(a.x, b.x) - eps || p.x > std::max(a.x, b.x) + eps || p.y < std::min(a.y, b.y) - eps ||
        p.y > std::max(a.y, b.y) + eps)
        return false;
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    double ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
    return ex * ex + ey * ey <= eps * eps;
}

// One edge against p: true when p is within eps of it; flips `in` when the edge crosses the
// horizontal ray to the right of p.
bool edgeTest(Point2 p, Point2 a, Point2 b, double eps, bool& in) {
    if (nearSegment(p, a, b, eps)) return true;
    if ((a.y > p.y) != (b.y > p.y)) {
        double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
        if (p.x < x) in = !in;
    }
    return false;
}

// The edges of a polygon by horizontal band: every edge within eps of a band's Y range is
// listed in it, so the edges crossing a point's ray or touching it are all in its band.
class Bands {
  public:
    Bands(const std::vector<Point2>& pts, double eps) : pts_(pts) {
        Box b;
        for (Point2 p : pts) b.add(p);
        y0_ = b.y0 - eps;
        const size_t edges = pts.size() - 1;
        // Long edges are listed in many bands: fewer bands when that would grow too much.
        for (n_ = std::clamp<size_t>(edges / 2, 1, 4096);; n_ /= 2) {
            h_ = (b.y1 - b.y0 + 2 * eps) / static_cast<double>(n_);
            if (!(h_ > 0) || !std::isfinite(h_)) h_ = 1, n_ = 1;
            size_t total = 0;
            for (size_t e = 0; e < edges; ++e) total += last(e, eps) - first(e, eps) + 1;
            if (n_ == 1 || total <= 16 * edges) break;
        }
        bands_.resize(n_);
        for (size_t e = 0; e < edges; ++e)
            for (size_t k = first(e, eps); k <= last(e, eps); ++k)
                bands_[k].push_back(static_cast<uint32_t>(e));
    }
    Where locate(Point2 p, double eps) const {
        double k = std::floor((p.y - y0_) / h_);
        if (!(k >= 0) || k >= static_cast<double>(n_)) return Where::Outside;
        bool in = false;
        for (uint32_t e : bands_[static_cast<size_t>(k)])
            if (edgeTest(p, pts_[e], pts_[e + 1], eps, in)) return Where::On;
        return in ? Where::Inside : Where::Outside;
    }

  private:
    size_t bandOf(double y) const {
        double k = std::floor((y - y0_) / h_);
        return static_cast<size_t>(std::clamp(k, 0.0, static_cast<double>(n_ - 1)));
    }
    size_t first(size_t e, double eps) const { return bandOf(std::min(pts_[e].y, pts_[e + 1].y) - eps); }
    size_t last(size_t e, double eps) const { return bandOf(std::max(pts_[e].y, pts_[e + 1].y) + eps); }

    const std::vector<Point2>& pts_;
    double y0_ = 0, h_ = 1;
    size_t n_ = 1;
    std::vector<std::vector<uint32_t>> bands_;
};

double area(const std::vector<Point2>& pts) {
    double a = 0;
    for (size_t i = 0; i + 1 < pts.size(); ++i) a += pts[i].x * pts[i + 1].y - pts[i + 1].x * pts[i].y;
    return std::abs(a) / 2;
}

}  // namespace

Where locate(const std::vector<Point2>& pts, Point2 p, double eps) {
    bool in = false;
    for (size_t e = 0; e + 1 < pts.size(); ++e)
        if (edgeTest(p, pts[e], pts[e + 1], eps, in)) return Where::On;
    if (pts.size() == 1 && std::max(std::abs(p.x - pts[0].x), std::abs(p.y - pts[0].y)) <= eps)
        return Where::On;
    return in ? Where::Inside : Where::Outside;
}

bool liesInside(const Shape& a, const Shape& b, double eps) {
    if (!b.closed) return false;
    bool strictly = false;
    for (Point2 p : a.pts) {
        Where w = locate(b.pts, p, eps);
        if (w == Where::Outside) return false;
        strictly = strictly || w == Where::Inside;
    }
    return strictly;
}

std::vector<std::vector<uint32_t>> containingShapes(const std::vector<Shape>& shapes) {
    const size_t n = shapes.size();
    std::vector<std::vector<uint32_t>> out(n);
    std::vector<Box> boxes(n);
    Box all;
    double largest = 0;
    for (size_t i = 0; i < n; ++i) {
        for (Point2 p : shapes[i].pts) {
            boxes[i].add(p);
            largest = std::max({largest, std::abs(p.x), std::abs(p.y)});
        }
        if (!shapes[i].pts.empty()) all.add({boxes[i].x0, boxes[i].y0}), all.add({boxes[i].x1, boxes[i].y1});
    }
    const double eps = 1e-9 * largest;
    std::vector<uint32_t> closed;
    std::vector<double> areas(n, 0);
    for (size_t i = 0; i < n; ++i)
        if (shapes[i].closed && shapes[i].pts.size() >= 4) {
            closed.push_back(static_cast<uint32_t>(i));
            areas[i] = area(shapes[i].pts);
        }
    if (closed.empty()) return out;

    // The grid: a closed shape is listed in every cell its box meets; a box inside it meets
    // the cell of its own centre, so that cell lists every candidate.
    const size_t g =
        std::clamp<size_t>(static_cast<size_t>(std::sqrt(static_cast<double>(closed.size()))), 1, 512);
    const double w = std::max(all.x1 - all.x0, 1e-300) / static_cast<double>(g);
    const double h = std::max(all.y1 - all.y0, 1e-300) / static_cast<double>(g);
    auto cell = [&](double v, double v0, double size) {
        return static_cast<size_t>(std::clamp(std::floor((v - v0) / size), 0.0, static_cast<double>(g - 1)));
    };
    std::vector<std::vector<uint32_t>> grid(g * g);
    for (uint32_t b : closed) {
        const Box& x = boxes[b];
        for (size_t j = cell(x.y0, all.y0, h); j <= cell(x.y1, all.y0, h); ++j)
            for (size_t i = cell(x.x0, all.x0, w); i <= cell(x.x1, all.x0, w); ++i)
                grid[j * g + i].push_back(b);
    }

    std::vector<std::unique_ptr<Bands>> bands(n);
    for (size_t a = 0; a < n; ++a) {
        if (shapes[a].pts.empty()) continue;
        const Box& x = boxes[a];
        size_t c = cell((x.y0 + x.y1) / 2, all.y0, h) * g + cell((x.x0 + x.x1) / 2, all.x0, w);
        for (uint32_t b : grid[c]) {
            if (b == a || !boxes[b].holds(x, eps)) continue;
            // The smaller area inside the larger; equal areas by file order.
            if (areas[a] > areas[b] || (areas[a] == areas[b] && a > b)) continue;
            const std::vector<Point2>& pts = shapes[b].pts;
            bool strictly = false, outside = false;
            if (pts.size() > 16 && !bands[b]) bands[b] = std::make_unique<Bands>(pts, eps);
            for (Point2 p : shapes[a].pts) {
                Where where = bands[b] ? bands[b]->locate(p, eps) : locate(pts, p, eps);
                if (where == Where::Outside) {
                    outside = true;
                    break;
                }
                strictly = strictly || where == Where::Inside;
            }
            if (!outside && strictly) out[a].push_back(b);
        }
    }
    return out;
}

}  // namespace vornelle
