// Reading a DXF file with dxflib; see dxfentities.h. dxflib delivers each entity when the
// next one begins, and its own hook sees every code/value pair first: the hook keeps what
// dxflib does not pass on (the section and block an entity stands in, paper space, the VERTEX
// flags that mark the frame points of a spline-fit polyline, the type of every entity).
#include "dxfentities.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <charconv>
#include <cstdio>
#include <memory>
#include <set>

#include "drawing/import/dxfclassic.h"
#include "drawing/import/dxfpairs.h"

namespace vornelle {
namespace {

// What the hook knows of one entity.
struct Seen {
    std::string type, section, block;
    bool paper = false;
    int flags = 0;
    double z = 0;   // group 30: of a POLYLINE header, the elevation of a 2D polyline
    long line = 0;  // the line of the entity's group code 0 in the file
};

bool paperBlock(const std::string& name) {
    std::string n = name.substr(0, 12);
    for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return n == "*paper_space";
}

class Collector : public DL_CreationAdapter {
  public:
    DxfModel model;

    void processCodeValuePair(unsigned int code, const std::string& raw) override {
        std::string_view v = dxfTrim(raw);
        pairs_ += 1;
        if (code == 0) {
            prev_ = std::move(cur_);
            countSkipped(prev_);
            cur_ = Seen{std::string(v), section_, block_};
            cur_.line = 2 * pairs_ - 1;  // two lines a pair: this group code 0, then the name
            if (v == "ENDSEC" || v == "EOF") section_.clear();
            if (v == "ENDBLK") block_.clear();
        } else if (code == 2 && cur_.type == "SECTION") {
            section_ = std::string(v);
        } else if (code == 2 && cur_.type == "BLOCK") {
            block_ = std::string(v);
        } else if (code == 67) {
            cur_.paper = v != "0";
        } else if (code == 70) {
            std::from_chars(v.data(), v.data() + v.size(), cur_.flags);
        } else if (code == 30 && cur_.type == "POLYLINE") {
            std::from_chars(v.data(), v.data() + v.size(), cur_.z);
        }
    }

    void setVariableInt(const std::string& key, int value, int) override {
        if (key == "$INSUNITS") model.insunits = value;
    }
    void addBlock(const DL_BlockData& b) override { model.blocks[b.name].base = {b.bpx, b.bpy, b.bpz}; }

    void addLine(const DL_LineData& l) override {
        DxfEntity e = entity(DxfEntity::Kind::Line);
        e.a = {l.x1, l.y1, l.z1};
        e.b = {l.x2, l.y2, l.z2};
        add(std::move(e));
    }
    void addArc(const DL_ArcData& a) override {
        DxfEntity e = entity(DxfEntity::Kind::Arc);
        e.a = {a.cx, a.cy, a.cz};
        e.r = a.radius;
        e.a0 = a.angle1;
        e.a1 = a.angle2;
        add(std::move(e));
    }
    void addCircle(const DL_CircleData& c) override {
        DxfEntity e = entity(DxfEntity::Kind::Circle);
        e.a = {c.cx, c.cy, c.cz};
        e.r = c.radius;
        add(std::move(e));
    }
    void addEllipse(const DL_EllipseData& el) override {
        DxfEntity e = entity(DxfEntity::Kind::Ellipse);
        e.a = {el.cx, el.cy, el.cz};
        e.b = {el.mx, el.my, el.mz};
        e.r = el.ratio;
        e.a0 = el.angle1;
        e.a1 = el.angle2;
        add(std::move(e));
    }
    void addPolyline(const DL_PolylineData& p) override {
        DxfEntity e = entity(DxfEntity::Kind::Polyline);
        e.flags = p.flags;
        // dxflib takes the elevation from group 38 (LWPOLYLINE); a POLYLINE keeps it in the Z
        // of its header point, in its own coordinate system like its vertices.
        e.elevation = prev_.type == "POLYLINE" ? prev_.z : p.elevation;
        open_ = add(std::move(e));
    }
    void addVertex(const DL_VertexData& v) override {
        if (!open_) return;
        // A POLYLINE's VERTEX flags; an LWPOLYLINE's vertices have none.
        if (prev_.type == "VERTEX" && (prev_.flags & 16)) return;  // frame point of a spline fit
        open_->vertices.push_back({{v.x, v.y, v.z}, v.bulge});
    }
    void endSequence() override { open_ = nullptr; }

    void addSpline(const DL_SplineData& s) override {
        DxfEntity e = entity(DxfEntity::Kind::Spline);
        e.degree = static_cast<int>(s.degree);
        e.flags = s.flags;
        e.startTangent = {s.tangentStartX, s.tangentStartY, s.tangentStartZ};
        e.endTangent = {s.tangentEndX, s.tangentEndY, s.tangentEndZ};
        open_ = add(std::move(e));
    }
    void addControlPoint(const DL_ControlPointData& c) override {
        if (!open_ || open_->kind != DxfEntity::Kind::Spline) return;
        open_->vertices.push_back({{c.x, c.y, c.z}, 0});
        open_->weights.push_back(c.w);
    }
    void addKnot(const DL_KnotData& k) override {
        if (open_ && open_->kind == DxfEntity::Kind::Spline) open_->knots.push_back(k.k);
    }
    void addFitPoint(const DL_FitPointData& f) override {
        if (open_ && open_->kind == DxfEntity::Kind::Spline) open_->fit.push_back({f.x, f.y, f.z});
    }

    void addInsert(const DL_InsertData& i) override {
        DxfEntity e = entity(DxfEntity::Kind::Insert);
        e.block = i.name;
        e.a = {i.ipx, i.ipy, i.ipz};
        e.b = {i.sx, i.sy, i.sz};
        e.a0 = i.angle;
        e.columns = std::max(1, i.cols);
        e.rows = std::max(1, i.rows);
        e.columnSpacing = i.colSp;
        e.rowSpacing = i.rowSp;
        add(std::move(e));
    }

  private:
    // The types that have a path (POLYLINE may still turn out to be a mesh).
    static bool hasPath(const std::string& t) {
        static const std::set<std::string> types = {"LINE",     "ARC",        "CIRCLE", "ELLIPSE",
                                                    "POLYLINE", "LWPOLYLINE", "SPLINE", "INSERT"};
        return types.count(t) > 0;
    }
    // Parts of the entity before them, and the structure of the file: not entities.
    static bool partOfAnother(const std::string& t) {
        return t == "VERTEX" || t == "SEQEND" || t == "ATTRIB" || t == "BLOCK" || t == "ENDBLK" ||
               t == "ENDSEC" || t == "SECTION" || t == "EOF";
    }
    std::map<std::string, long>* skippedFor(const Seen& s) {
        if (s.section == "ENTITIES" && !s.paper) return &model.skipped;
        if (s.section == "BLOCKS" && !s.block.empty() && !paperBlock(s.block))
            return &model.blocks[s.block].skipped;
        return nullptr;
    }
    void countSkipped(const Seen& s) {
        if (s.type.empty() || hasPath(s.type) || partOfAnother(s.type)) return;
        if (auto* m = skippedFor(s)) ++(*m)[s.type];
    }
    DxfEntity entity(DxfEntity::Kind k) {
        DxfEntity e;
        e.kind = k;
        e.type = prev_.type;
        e.line = prev_.line;
        const double* n = getExtrusion()->getDirection();
        e.extrusion = {n[0], n[1], n[2]};
        return e;
    }
    // Appends to the container of the entity just read; null when it is not cut (paper space,
    // another section).
    DxfEntity* add(DxfEntity e) {
        std::vector<DxfEntity>* target = nullptr;
        if (prev_.section == "ENTITIES" && !prev_.paper) target = &model.entities;
        if (prev_.section == "BLOCKS" && !prev_.block.empty() && !paperBlock(prev_.block))
            target = &model.blocks[prev_.block].entities;
        open_ = nullptr;  // a polyline or spline without its end takes no more points
        if (!target) return nullptr;
        target->push_back(std::move(e));
        return &target->back();
    }

    Seen cur_, prev_;
    long pairs_ = 0;  // code/value pairs read so far
    std::string section_, block_;
    DxfEntity* open_ = nullptr;  // the polyline or spline receiving vertices or points
};

// The checks dxflib does not make: readable pairs, lines it can hold, an ENTITIES section that
// ends. Empty when the file can be read.
std::string checkPairs(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return "Impossible de lire le fichier " + path + ".\nLe dessin n'a pas été modifié.";
    PairReader in(file.get());
    bool section = false, entities = false, ended = false;
    while (in.next()) {
        if (in.value.size() > 1000) return unreadableAt(in.valueLine(), "ligne de plus de 1000 caractères");
        if (in.code == 0) {
            if (entities && in.value == "ENDSEC") ended = true;
            if (in.value == "EOF") break;
            section = in.value == "SECTION";
        } else if (in.code == 2 && section && !ended) {
            entities = in.value == "ENTITIES";
            section = false;
        }
    }
    // dxflib reads on to the end: its lines are checked there too, but pairs it cannot read
    // after the entities do not hide the drawing.
    if (!in.error().empty() && !ended) return unreadableAt(in.codeLine(), in.error());
    if (!entities && !ended)
        return "Fichier DXF sans section ENTITIES : rien à importer.\nLe dessin n'a pas été modifié.";
    if (!ended) return unreadableAt(in.valueLine(), "fin du fichier avant ENDSEC (fichier coupé)");
    return {};
}

}  // namespace

DxfRead readDxfModel(const std::string& path) {
    DxfRead r;
    if (std::string e = checkPairs(path); !e.empty()) {
        r.error = e;
        return r;
    }
    auto collector = std::make_unique<Collector>();
    try {
        DL_Dxf dxf;
        if (!dxf.in(path, collector.get())) {
            r.error = "Impossible de lire le fichier " + path + ".\nLe dessin n'a pas été modifié.";
            return r;
        }
    } catch (...) {
        r.error =
            "La bibliothèque dxflib n'a pas pu lire le fichier " + path + ".\nLe dessin n'a pas été modifié.";
        return r;
    }
    r.model = std::move(collector->model);
    return r;
}

}  // namespace vornelle
