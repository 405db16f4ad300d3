// Flattening of the complete DXF import's curves; see dxfflatten.h.
#include "dxfflatten.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace vornelle {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Segments for a turn of `sweep` radians on a circle of radius r: the sagitta r(1 - cos(θ/2))
// of each step θ stays within tol; at least three for a whole turn.
int arcSteps(double r, double sweep, double tol) {
    sweep = std::fabs(sweep);
    double n = std::ceil(sweep / (2 * kPi / 3));
    if (tol < r) n = std::max(n, std::ceil(sweep / (2 * std::acos(1 - tol / r))));
    // 65,536 chords keep a full circle within 0,01 up to a radius of about 2 000 km, far
    // beyond any router; a damaged file's bulge of astronomical radius would otherwise make
    // millions of points per vertex.
    return static_cast<int>(std::clamp(n, 1.0, 65536.0));
}

double distanceToChord(Vec3 p, Vec3 a, Vec3 b) {
    Vec3 ab = b - a;
    double l2 = dot(ab, ab);
    if (l2 == 0) return length(p - a);
    double t = std::clamp(dot(p - a, ab) / l2, 0.0, 1.0);
    return length(p - (a + t * ab));
}

// Appends f over (t0, t1], halving each interval until its quarter points are within tol of
// the chord, or `out` holds `cap` points (then the rest is not refined).
void adaptive(const std::function<Vec3(double)>& f, double t0, double t1, Vec3 p0, Vec3 p1, double tol,
              std::vector<Vec3>& out, int depth, size_t cap) {
    double h = t1 - t0;
    Vec3 q1 = f(t0 + h / 4), m = f(t0 + h / 2), q3 = f(t0 + 3 * h / 4);
    if (depth >= 24 || out.size() >= cap ||
        (distanceToChord(q1, p0, p1) <= tol && distanceToChord(m, p0, p1) <= tol &&
         distanceToChord(q3, p0, p1) <= tol)) {
        out.push_back(p1);
        return;
    }
    adaptive(f, t0, t0 + h / 2, p0, m, tol, out, depth + 1, cap);
    adaptive(f, t0 + h / 2, t1, m, p1, tol, out, depth + 1, cap);
}

// Appends f over [a, b] in `pieces` first intervals, each refined; f(a) first.
void curve(const std::function<Vec3(double)>& f, double a, double b, int pieces, double tol,
           std::vector<Vec3>& out, size_t cap) {
    Vec3 p = f(a);
    out.push_back(p);
    for (int k = 1; k <= pieces; ++k) {
        double t0 = a + (b - a) * (k - 1) / pieces, t1 = k == pieces ? b : a + (b - a) * k / pieces;
        Vec3 q = f(t1);
        adaptive(f, t0, t1, p, q, tol, out, 0, cap);
        p = q;
    }
}

// Steps of a parameter turn t0..t1 of an ellipse of half-axes `major` and `minor`.
int ellipseSteps(Vec3 major, Vec3 minor, double t0, double t1, double tol) {
    // The chord of a parameter step h is within h²/8 · max|p''| of the curve, and |p''| is at
    // most the major half-axis.
    double a = std::max(length(major), length(minor));
    double h = a > 0 ? std::sqrt(8 * tol / a) : t1 - t0;
    return static_cast<int>(
        std::clamp(std::max(std::ceil((t1 - t0) / h), std::ceil((t1 - t0) / (2 * kPi / 3))), 1.0, 1e7));
}

// The centre, radius and signed turn of a polyline segment's arc; false when it is straight.
bool bulgeArc(Vec3 from, Vec3 to, double b, Vec3& centre, double& r, double& theta) {
    Vec3 chord = to - from;
    double c = std::hypot(chord.x, chord.y);
    if (b == 0 || c == 0 || !std::isfinite(b)) return false;
    theta = 4 * std::atan(b);  // signed included angle
    r = c / (2 * std::sin(std::fabs(theta) / 2));
    // The centre lies left of the chord for a counterclockwise arc under half a turn.
    double d = (c / 2) / std::tan(theta / 2);
    Vec3 mid = 0.5 * (from + to), left{-chord.y / c, chord.x / c, 0};
    centre = mid + d * left;
    return true;
}

}  // namespace

void arcPoints(Vec3 c, double r, double start, double sweep, double tol, std::vector<Vec3>& out) {
    int n = arcSteps(r, sweep, tol);
    for (int k = 0; k <= n; ++k) {
        double a = k == n ? start + sweep : start + sweep * k / n;
        out.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a), c.z});
    }
}

size_t arcPointCount(double r, double sweep, double tol) {
    return static_cast<size_t>(arcSteps(r, sweep, tol)) + 1;
}

size_t bulgePointCount(Vec3 from, Vec3 to, double b, double tol) {
    Vec3 centre;
    double r = 0, theta = 0;
    return bulgeArc(from, to, b, centre, r, theta) ? static_cast<size_t>(arcSteps(r, theta, tol)) : 1;
}

size_t ellipsePointCount(Vec3 major, Vec3 minor, double t0, double t1, double tol) {
    return static_cast<size_t>(ellipseSteps(major, minor, t0, t1, tol)) + 1;
}

void bulgePoints(Vec3 from, Vec3 to, double b, double tol, std::vector<Vec3>& out) {
    Vec3 centre;
    double r = 0, theta = 0;
    if (!bulgeArc(from, to, b, centre, r, theta)) {
        out.push_back(to);
        return;
    }
    double start = std::atan2(from.y - centre.y, from.x - centre.x);
    std::vector<Vec3> pts;
    arcPoints({centre.x, centre.y, from.z}, r, start, theta, tol, pts);
    for (size_t k = 1; k + 1 < pts.size(); ++k) out.push_back(pts[k]);
    out.push_back(to);
}

void ellipsePoints(Vec3 c, Vec3 major, Vec3 minor, double t0, double t1, double tol, std::vector<Vec3>& out) {
    const int n = ellipseSteps(major, minor, t0, t1, tol);
    for (int k = 0; k <= n; ++k) {
        double t = k == n ? t1 : t0 + (t1 - t0) * k / n;
        out.push_back(c + std::cos(t) * major + std::sin(t) * minor);
    }
}

void splinePoints(int p, const std::vector<Vec3>& ctrl, std::vector<double> U, std::vector<double> w,
                  double tol, std::vector<Vec3>& out, size_t cap) {
    const int n = static_cast<int>(ctrl.size());
    if (n == 0) return;
    p = std::clamp(p, 1, std::min(31, std::max(1, n - 1)));
    if (n == 1) {
        out.push_back(ctrl[0]);
        return;
    }
    if (static_cast<int>(U.size()) != n + p + 1) {
        U.assign(n + p + 1, 0);
        for (int i = 0; i < n + p + 1; ++i) U[i] = std::clamp(i - p, 0, n - p);
    }
    if (static_cast<int>(w.size()) != n) w.assign(n, 1);
    for (double& v : w)
        if (!(v > 0)) v = 1;
    const double lo = U[p], hi = U[n];
    auto at = [&](double t) {
        int k = static_cast<int>(std::upper_bound(U.begin() + p, U.begin() + n, t) - U.begin()) - 1;
        k = std::clamp(k, p, n - 1);
        while (k > p && U[k] == U[k + 1]) --k;
        // de Boor on homogeneous points (x w, y w, z w, w).
        double d[32][4];
        const int deg = p;
        for (int j = 0; j <= deg; ++j) {
            const Vec3& c = ctrl[k - deg + j];
            double wj = w[k - deg + j];
            d[j][0] = c.x * wj, d[j][1] = c.y * wj, d[j][2] = c.z * wj, d[j][3] = wj;
        }
        for (int r = 1; r <= deg; ++r)
            for (int j = deg; j >= r; --j) {
                double den = U[j + 1 + k - r] - U[j + k - deg];
                double a = den == 0 ? 0 : (t - U[j + k - deg]) / den;
                for (int q = 0; q < 4; ++q) d[j][q] = (1 - a) * d[j - 1][q] + a * d[j][q];
            }
        return Vec3{d[deg][0] / d[deg][3], d[deg][1] / d[deg][3], d[deg][2] / d[deg][3]};
    };
    // One first interval per knot span, so that no span is skipped by the refinement.
    int spans = 0;
    for (int i = p; i < n; ++i) spans += U[i + 1] > U[i];
    curve(at, lo, hi, std::max(1, spans) * 2, tol, out, cap);
    // A clamped curve ends at its end control points: take them exactly.
    if (U[0] == U[p]) out.front() = ctrl.front();
    if (U[n] == U[n + p]) out.back() = ctrl.back();
}

void fitPoints(const std::vector<Vec3>& fit, Vec3 startTangent, Vec3 endTangent, double tol,
               std::vector<Vec3>& out, size_t cap) {
    const size_t n = fit.size();
    if (n == 0) return;
    std::vector<double> s(n, 0);
    for (size_t i = 1; i < n; ++i) s[i] = s[i - 1] + length(fit[i] - fit[i - 1]);
    if (n == 1 || s[n - 1] == 0) {
        out.push_back(fit[0]);
        return;
    }
    // Second derivatives M of each coordinate (tridiagonal system, Thomas algorithm).
    auto unit = [](Vec3 v) {
        double l = length(v);
        return l > 0 ? (1 / l) * v : v;
    };
    Vec3 d0 = unit(startTangent), d1 = unit(endTangent);
    bool clamp0 = length(startTangent) > 0, clamp1 = length(endTangent) > 0;
    std::vector<Vec3> M(n);
    for (int axis = 0; axis < 3; ++axis) {
        auto y = [&](size_t i) { return axis == 0 ? fit[i].x : axis == 1 ? fit[i].y : fit[i].z; };
        auto comp = [axis](Vec3 v) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; };
        std::vector<double> a(n, 0), b(n, 1), c(n, 0), r(n, 0);
        for (size_t i = 0; i < n; ++i) {
            double hl = i > 0 ? s[i] - s[i - 1] : 0, hr = i + 1 < n ? s[i + 1] - s[i] : 0;
            double gl = hl > 0 ? (y(i) - y(i - 1)) / hl : 0, gr = hr > 0 ? (y(i + 1) - y(i)) / hr : 0;
            if (i == 0) {
                if (clamp0 && hr > 0) b[i] = 2 * hr, c[i] = hr, r[i] = 6 * (gr - comp(d0));
            } else if (i + 1 == n) {
                if (clamp1 && hl > 0) a[i] = hl, b[i] = 2 * hl, r[i] = 6 * (comp(d1) - gl);
            } else if (hl > 0 && hr > 0) {
                a[i] = hl, b[i] = 2 * (hl + hr), c[i] = hr, r[i] = 6 * (gr - gl);
            }
        }
        for (size_t i = 1; i < n; ++i) {
            double m = a[i] / b[i - 1];
            b[i] -= m * c[i - 1];
            r[i] -= m * r[i - 1];
        }
        std::vector<double> x(n);
        x[n - 1] = r[n - 1] / b[n - 1];
        for (size_t i = n - 1; i-- > 0;) x[i] = (r[i] - c[i] * x[i + 1]) / b[i];
        for (size_t i = 0; i < n; ++i) (axis == 0 ? M[i].x : axis == 1 ? M[i].y : M[i].z) = x[i];
    }
    auto at = [&](double t) {
        size_t i = static_cast<size_t>(std::upper_bound(s.begin(), s.end(), t) - s.begin());
        i = std::clamp<size_t>(i, 1, n - 1) - 1;
        double h = s[i + 1] - s[i];
        if (h == 0) return fit[i];
        double A = (s[i + 1] - t) / h, B = (t - s[i]) / h;
        return A * fit[i] + B * fit[i + 1] +
               (h * h / 6) * ((A * A * A - A) * M[i] + (B * B * B - B) * M[i + 1]);
    };
    out.push_back(fit[0]);
    for (size_t i = 1; i < n; ++i) {
        if (s[i] == s[i - 1]) continue;
        std::vector<Vec3> seg;
        curve(at, s[i - 1], s[i], 2, tol, seg, cap > out.size() ? cap - out.size() : 0);
        for (size_t k = 1; k + 1 < seg.size(); ++k) out.push_back(seg[k]);
        out.push_back(fit[i]);  // the curve passes through every fit point exactly
    }
}

}  // namespace vornelle
