// Curves of the complete DXF import as straight segments whose distance to the true curve is
// at most a tolerance (drawing units). Every point lies on the curve; the curve's own ends are
// computed exactly from its definition. Each function appends the points after the first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dxfgeometry.h"

namespace vornelle {

// Circular arc of centre c and radius r from angle `start` turning by `sweep` (radians,
// negative clockwise); the first point c + r(cos start, sin start) is appended too.
void arcPoints(Vec3 c, double r, double start, double sweep, double tol, std::vector<Vec3>& out);

// The arc of a polyline segment from `from` to `to` with bulge b (the tangent of a quarter of
// its angle, positive counterclockwise); appends the points after `from`, `to` last, exact.
void bulgePoints(Vec3 from, Vec3 to, double b, double tol, std::vector<Vec3>& out);

// Ellipse c + cos t * major + sin t * minor for t from t0 to t1 (radians); first point too.
void ellipsePoints(Vec3 c, Vec3 major, Vec3 minor, double t0, double t1, double tol, std::vector<Vec3>& out);

// NURBS curve of the control points, knots and weights (knots or weights missing or of the
// wrong count: a clamped uniform knot vector, weights 1); first point too. Once `out` holds
// `cap` points the curve is no longer refined (a damaged file's curve stays bounded; the
// caller refuses it).
void splinePoints(int degree, const std::vector<Vec3>& control, std::vector<double> knots,
                  std::vector<double> weights, double tol, std::vector<Vec3>& out, size_t cap = SIZE_MAX);

// A cubic through the fit points (chord-length parameter; the end tangents when not zero,
// else natural ends); first point too. `cap` as for splinePoints.
void fitPoints(const std::vector<Vec3>& fit, Vec3 startTangent, Vec3 endTangent, double tol,
               std::vector<Vec3>& out, size_t cap = SIZE_MAX);

// The points the functions above make, known before making them: arcPoints (first point
// included), bulgePoints (the points it appends), ellipsePoints (first point included).
size_t arcPointCount(double r, double sweep, double tol);
size_t bulgePointCount(Vec3 from, Vec3 to, double b, double tol);
size_t ellipsePointCount(Vec3 major, Vec3 minor, double t0, double t1, double tol);

}  // namespace vornelle
