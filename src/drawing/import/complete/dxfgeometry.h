// Points and affine maps of the complete DXF import: a point in 3D (drawing units), and the
// map from an entity's own coordinates (its OCS, a block's definition) to world coordinates.
#pragma once

#include <cmath>

namespace vornelle {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(double k, Vec3 a) {
    return {k * a.x, k * a.y, k * a.z};
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline double length(Vec3 a) {
    return std::sqrt(dot(a, a));
}

// p -> A p + t. Columns of A are the images of the unit vectors.
struct Affine {
    Vec3 cx{1, 0, 0}, cy{0, 1, 0}, cz{0, 0, 1}, t{};
    Vec3 operator()(Vec3 p) const { return p.x * cx + p.y * cy + p.z * cz + t; }
    Vec3 linear(Vec3 p) const { return p.x * cx + p.y * cy + p.z * cz; }
    // This map after `inner`: p -> this(inner(p)).
    Affine after(const Affine& inner) const {
        return {linear(inner.cx), linear(inner.cy), linear(inner.cz), (*this)(inner.t)};
    }
    // The largest factor by which the map stretches a length (spectral norm of A), so that a
    // curve flattened within T / stretch() in its own coordinates is within T once mapped.
    double stretch() const;
};

// The arbitrary axis algorithm of DXF: the map from the object coordinate system of
// extrusion direction n to world coordinates.
Affine ocsToWorld(Vec3 n);

}  // namespace vornelle
