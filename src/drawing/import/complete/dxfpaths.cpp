// Entities to pieces of path; see dxfpaths.h.
#include "dxfpaths.h"

#include <cmath>

#include "drawing/import/importlimits.h"
#include "dxfflatten.h"

namespace vornelle {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxNesting = 32;

// The point of a circle at `deg` degrees, exact at the quarter turns (cos 90° is not 0 in
// floating point), so that an arc's ends are where its definition puts them.
Vec3 onCircle(Vec3 c, double r, double deg) {
    double q = std::fmod(deg, 360.0);
    if (q < 0) q += 360;
    double co = std::cos(q * kPi / 180), si = std::sin(q * kPi / 180);
    if (q == 0) co = 1, si = 0;
    if (q == 90) co = 0, si = 1;
    if (q == 180) co = -1, si = 0;
    if (q == 270) co = 0, si = -1;
    return {c.x + r * co, c.y + r * si, c.z};
}

class Expander {
  public:
    Expander(const DxfModel& m, double tol, Paths& out) : model_(m), tol_(tol), out_(out) {}

    // The entities under the map `world` (block placement, identity in model space).
    void entities(const std::vector<DxfEntity>& list, const Affine& world, int depth) {
        const double tol = tol_ / std::max(world.stretch(), 1e-300);
        for (const DxfEntity& e : list) {
            if (!out_.refusal.empty()) return;
            entity_ = &e;
            entity(e, world, tol, depth);
        }
    }

  private:
    // Points the drawing may still take before it is refused.
    size_t room() const { return points_ < kMaxImportRecords ? kMaxImportRecords - points_ : 0; }
    // False, with the refusal, when `count` more points would make the drawing too large.
    bool fits(size_t count) {
        if (count <= room()) return true;
        out_.refusal = "L'entité " + entity_->type + " de la ligne " + std::to_string(entity_->line) +
                       " porterait le dessin au-delà de " + std::to_string(kMaxImportRecords / 1000000) +
                       " millions de points : nombre endommagé, ou tolérance trop petite pour sa taille";
        return false;
    }
    void piece(std::vector<Vec3> pts, const Affine& map, bool closed) {
        if (!out_.refusal.empty() || !fits(pts.size())) return;
        Piece p;
        p.points.reserve(pts.size());
        for (Vec3 q : pts) {
            Vec3 w = map(q);
            if (!(std::fabs(w.x) <= kMaxImportCoordinate && std::fabs(w.y) <= kMaxImportCoordinate)) {
                out_.refusal = "L'entité " + entity_->type + " de la ligne " + std::to_string(entity_->line) +
                               " sort du dessin : coordonnée au-delà de 10^12 unités, nombre endommagé";
                return;
            }
            p.points.push_back(w);
        }
        if (closed && !p.points.empty()) p.points.back() = p.points.front();
        p.closed = closed;
        points_ += p.points.size();
        out_.pieces.push_back(std::move(p));
    }
    void skip(const std::string& type) { ++out_.skipped[type]; }

    void entity(const DxfEntity& e, const Affine& world, double tol, int depth) {
        const Affine ocs = world.after(ocsToWorld(e.extrusion));
        std::vector<Vec3> pts;
        switch (e.kind) {
            case DxfEntity::Kind::Line:
                piece({e.a, e.b}, world, false);
                break;
            case DxfEntity::Kind::Arc: {
                double sweep = std::fmod(e.a1 - e.a0, 360.0);
                if (sweep <= 0) sweep += 360;
                if (!fits(arcPointCount(e.r, sweep * kPi / 180, tol))) return;
                arcPoints(e.a, e.r, e.a0 * kPi / 180, sweep * kPi / 180, tol, pts);
                pts.front() = onCircle(e.a, e.r, e.a0);
                pts.back() = onCircle(e.a, e.r, e.a0 + sweep);
                piece(pts, ocs, false);
                break;
            }
            case DxfEntity::Kind::Circle:
                if (!fits(arcPointCount(e.r, 2 * kPi, tol))) return;
                arcPoints(e.a, e.r, 0, 2 * kPi, tol, pts);
                piece(pts, ocs, true);
                break;
            case DxfEntity::Kind::Ellipse: {
                Vec3 n = e.extrusion;
                double ln = length(n);
                n = ln > 0 ? (1 / ln) * n : Vec3{0, 0, 1};
                double t0 = e.a0, t1 = e.a1;
                while (t1 <= t0) t1 += 2 * kPi;
                bool whole = std::fabs(t1 - t0 - 2 * kPi) < 1e-9;
                if (!fits(ellipsePointCount(e.b, e.r * cross(n, e.b), t0, t1, tol))) return;
                ellipsePoints(e.a, e.b, e.r * cross(n, e.b), t0, t1, tol, pts);
                piece(pts, world, whole);
                break;
            }
            case DxfEntity::Kind::Polyline:
                polyline(e, world, ocs, tol);
                break;
            case DxfEntity::Kind::Spline: {
                if (!e.vertices.empty()) {
                    std::vector<Vec3> control;
                    for (const DxfVertex& v : e.vertices) control.push_back(v.p);
                    splinePoints(e.degree, control, e.knots, e.weights, tol, pts, room() + 1);
                } else {
                    fitPoints(e.fit, e.startTangent, e.endTangent, tol, pts, room() + 1);
                }
                bool closed = (e.flags & 1) && pts.size() > 2 && length(pts.back() - pts.front()) <= tol;
                piece(pts, world, closed);
                break;
            }
            case DxfEntity::Kind::Insert:
                insert(e, world, depth);
                break;
        }
    }

    void polyline(const DxfEntity& e, const Affine& world, const Affine& ocs, double tol) {
        if (e.flags & (16 | 64)) return skip("POLYLINE");  // polygon or polyface mesh
        const bool flat3d = e.flags & 8;
        const bool closed = (e.flags & 1) && e.vertices.size() > 1;
        std::vector<Vec3> pts;
        if (flat3d) {
            for (const DxfVertex& v : e.vertices) {
                double z0 = e.vertices.front().p.z;
                if (std::fabs(v.p.z - z0) > 1e-9 * (1 + std::fabs(z0))) return skip("POLYLINE");
                pts.push_back(v.p);
            }
            if (closed) pts.push_back(pts.front());
            return piece(pts, world, closed);
        }
        const size_t n = e.vertices.size();
        auto at = [&](size_t i) { return Vec3{e.vertices[i].p.x, e.vertices[i].p.y, e.elevation}; };
        size_t count = n > 0 ? 1 : 0;
        for (size_t i = 0; i + 1 < n + (closed ? 1 : 0) && count <= room(); ++i)
            count += bulgePointCount(at(i), at((i + 1) % n), e.vertices[i].bulge, tol);
        if (!fits(count)) return;
        if (n > 0) pts.push_back(at(0));
        for (size_t i = 0; i + 1 < n + (closed ? 1 : 0); ++i)
            bulgePoints(at(i), at((i + 1) % n), e.vertices[i].bulge, tol, pts);
        piece(pts, ocs, closed);
    }

    void insert(const DxfEntity& e, const Affine& world, int depth) {
        auto b = model_.blocks.find(e.block);
        if (b == model_.blocks.end() || depth >= kMaxNesting) return skip("INSERT");
        for (const std::string* open : stack_)
            if (*open == e.block) return skip("INSERT");  // a block placed inside itself
        stack_.push_back(&e.block);
        const double a = e.a0 * kPi / 180, c = std::cos(a), s = std::sin(a);
        const Affine ocs = world.after(ocsToWorld(e.extrusion));
        for (int row = 0; row < e.rows && out_.refusal.empty(); ++row)
            for (int col = 0; col < e.columns && out_.refusal.empty(); ++col) {
                // Block point q: ip + R(col spacing, row spacing) + R S (q - base), in the OCS.
                double ox = col * e.columnSpacing, oy = row * e.rowSpacing;
                Affine place;
                place.cx = {c * e.b.x, s * e.b.x, 0};
                place.cy = {-s * e.b.y, c * e.b.y, 0};
                place.cz = {0, 0, e.b.z};
                Vec3 origin = e.a + Vec3{c * ox - s * oy, s * ox + c * oy, 0};
                place.t = origin - place.linear(b->second.base);
                entities(b->second.entities, ocs.after(place), depth + 1);
                for (const auto& [type, k] : b->second.skipped) out_.skipped[type] += k;
            }
        stack_.pop_back();
    }

    const DxfModel& model_;
    double tol_;
    Paths& out_;
    const DxfEntity* entity_ = nullptr;      // the entity being flattened, for refusals
    size_t points_ = 0;                      // points of the pieces so far
    std::vector<const std::string*> stack_;  // the blocks being placed, outermost first
};

}  // namespace

Paths entityPaths(const DxfModel& model, double tolerance) {
    Paths out;
    out.skipped = model.skipped;
    Expander(model, tolerance, out).entities(model.entities, Affine{}, 0);
    return out;
}

}  // namespace vornelle
