// Which cuts lie inside which closed cuts, by a true point-in-polygon test (even-odd rule),
// so that the holes and details of a part are cut before its outline. Bounding boxes only
// pick the pairs worth testing.
#pragma once

#include <cstdint>
#include <vector>

namespace vornelle {

struct Point2 {
    double x = 0, y = 0;
};

// The in-material points of a cut in the order they are cut. A closed shape's last point
// equals its first.
struct Shape {
    std::vector<Point2> pts;
    bool closed = false;
};

enum class Where { Outside, On, Inside };

// Where p lies against the closed polygon `pts` (last point = first); a point within `eps`
// of an edge is on it.
Where locate(const std::vector<Point2>& pts, Point2 p, double eps);

// a lies inside the closed shape b: none of a's points is outside b and one at least is
// strictly inside.
bool liesInside(const Shape& a, const Shape& b, double eps);

// For every shape, the closed shapes that contain it, each once. `eps` is 1e-9 of the
// largest coordinate of all shapes. A pair that would contain each other (possible only with
// self-crossing outlines) keeps the smaller area inside the larger, so that the relation
// never loops and an order always exists.
std::vector<std::vector<uint32_t>> containingShapes(const std::vector<Shape>& shapes);

}  // namespace vornelle
