// Affine maps of the complete DXF import; see dxfgeometry.h.
#include "dxfgeometry.h"

namespace vornelle {

double Affine::stretch() const {
    // Power iteration on AᵀA: its largest eigenvalue is the square of the spectral norm.
    Vec3 v{0.6, 0.7, 0.39};
    double lambda = 0;
    for (int k = 0; k < 60; ++k) {
        Vec3 a = linear(v);
        Vec3 w{dot(cx, a), dot(cy, a), dot(cz, a)};
        double n = length(w);
        if (n == 0) return 0;
        lambda = n / length(v);
        v = (1 / n) * w;
    }
    return std::sqrt(lambda) * (1 + 1e-9);
}

Affine ocsToWorld(Vec3 n) {
    double len = length(n);
    if (len == 0) return {};
    n = (1 / len) * n;
    if (n.x == 0 && n.y == 0 && n.z == 1) return {};
    Vec3 ax =
        std::fabs(n.x) < 1.0 / 64 && std::fabs(n.y) < 1.0 / 64 ? cross({0, 1, 0}, n) : cross({0, 0, 1}, n);
    ax = (1 / length(ax)) * ax;
    Vec3 ay = cross(n, ax);
    return {ax, ay, n, {}};
}

}  // namespace vornelle
