// DXF import; see dxfimport.h. The file is read as pairs of a group-code line and a value
// line. The first pass reacts to the group codes only inside the entities it handles, so
// the coordinates of other entities never reach the scratch file, and every handled entity
// gets exactly one placeholder line before its first coordinate pair.
#include "dxfimport.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <cmath>

#include "base/fields.h"
#include "base/files.h"
#include "base/numbers.h"
#include "trig.h"

namespace vornelle {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// A DXF number: optional sign, digits, optional fraction after a point, optional exponent.
bool isNumber(std::string_view t) {
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.remove_prefix(1);
    if (t.empty()) return false;
    double v;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    return ec == std::errc() && p == t.data() + t.size() && std::isfinite(v);
}

// Reads the DXF file as pairs of lines through a large buffer (the file is never held
// whole in memory).
class PairReader {
  public:
    explicit PairReader(std::FILE* f) : file_(f), buffer_(std::make_unique<char[]>(kSize)) {}
    // Next pair; false at the end of the file or on an unreadable code.
    bool next() {
        if (!line(codeText_)) return false;
        codeLine_ = line_;
        if (!line(valueText_)) {
            error_ = "valeur manquante après le code " + std::string(trim(codeText_));
            return false;
        }
        std::string_view c = trim(codeText_);
        value = trim(valueText_);
        int n = 0;
        auto [p, ec] = std::from_chars(c.data(), c.data() + c.size(), n);
        if (ec != std::errc() || p != c.data() + c.size()) {
            error_ = "code de groupe \"" + std::string(c) + "\" illisible";
            return false;
        }
        code = n;
        return true;
    }
    int code = 0;
    std::string_view value;  // valid until the next call
    long codeLine() const { return codeLine_; }
    long valueLine() const { return line_; }
    const std::string& error() const { return error_; }

  private:
    static constexpr size_t kSize = 1 << 20;
    bool line(std::string& out) {
        out.clear();
        bool any = false;
        for (;;) {
            if (pos_ == end_) {
                end_ = std::fread(buffer_.get(), 1, kSize, file_);
                pos_ = 0;
                if (end_ == 0) {
                    if (any) ++line_;
                    return any;
                }
            }
            any = true;
            const char* start = buffer_.get() + pos_;
            const char* nl = static_cast<const char*>(std::memchr(start, '\n', end_ - pos_));
            if (nl) {
                out.append(start, nl - start);
                pos_ += static_cast<size_t>(nl - start) + 1;
                ++line_;
                return true;
            }
            out.append(start, end_ - pos_);
            pos_ = end_;
        }
    }
    std::FILE* file_;
    std::unique_ptr<char[]> buffer_;
    size_t pos_ = 0, end_ = 0;
    std::string codeText_, valueText_;
    long line_ = 0, codeLine_ = 0;
    std::string error_;
};

struct Failure {
    std::string text;
};

enum class Kind { None, Polyline, Vertex, Line, Circle, Arc, Other };

}  // namespace

std::string dxfPoint(std::string_view text) {
    std::string t(text);
    for (size_t i = 1; i <= 3 && i < t.size(); ++i)
        if (t[i] == '.') t[i] = ',';
    return t;
}

ImportResult importDxf(const std::string& path, const std::string& work, Drawing& target) {
    ImportResult result;
    auto refuse = [&result](const std::string& text, const char* title) {
        result.message = {text, title, 272};
        return result;
    };
    if (path.empty()) return refuse("Nom du fichier ?", "Saisie incomplette !");
    if (!fileExists(path)) return refuse("Fichier introuvable !", "Mauvaise saisie !");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return refuse("Impossible de lire le fichier " + path + " : " + std::strerror(errno), "Mauvaise saisie !");
    const std::string scratch = work + "tempX";
    if (Status s = removeFile(scratch); !s) return refuse(s.message, "Mauvaise saisie !");

    auto bad = [&](long line, const std::string& why) {
        return refuse("Fichier DXF illisible ligne " + std::to_string(line) + " : " + why +
                          ".\nLe dessin n'a pas été modifié.",
                      "Mauvaise saisie !");
    };

    // First pass: DXF pairs to the scratch file.
    PairReader in(file.get());
    bool inEntities = false;
    while (!inEntities && in.next()) {
        if (in.code == 2 && in.value == "ENTITIES") inEntities = true;
    }
    if (!in.error().empty()) return bad(in.codeLine(), in.error());
    if (!inEntities)
        return refuse("Fichier DXF sans section ENTITIES : rien à importer.\nLe dessin n'a pas été modifié.",
                      "Mauvaise saisie !");

    auto opened = FieldWriter::append(scratch);
    if (!opened) return refuse(opened.error(), "Mauvaise saisie !");
    FieldWriter& out = *opened;
    auto pair = [&out](std::string_view a, std::string_view b) {
        out.text(a);
        out.text(b);
        out.endRecord();
    };
    Kind kind = Kind::None;
    bool inPolyline = false;  // between POLYLINE and its SEQEND
    bool firstPair = false, colourPending = false, placeholderDone = false, arcPending = false,
         closed = false;
    int arcValues = 0;
    std::string lastX, X, Y, lineEndX, closingX, closingY;
    // Groups seen in the current entity, to refuse one cut short.
    bool seen10 = false, seen20 = false, seen11 = false, seen21 = false, seen40 = false;
    long entityLine = 0;
    std::string parentType;  // the last top-level entity, for VERTEX and SEQEND counts
    long cuts = 0;

    auto endEntity = [&]() -> std::string {
        switch (kind) {
            case Kind::Vertex:
                if (!seen10 || !seen20) return "sommet de POLYLINE sans coordonnées";
                break;
            case Kind::Line:
                if (!seen10 || !seen20 || !seen11 || !seen21) return "LINE incomplète";
                break;
            case Kind::Circle:
                if (!seen10 || !seen20 || !seen40) return "CIRCLE incomplet";
                break;
            case Kind::Arc:
                if (!seen10 || !seen20 || !seen40 || arcValues < 2) return "ARC incomplet";
                break;
            default:
                break;
        }
        return {};
    };
    auto placeholder = [&](std::string_view colour) {
        if (placeholderDone) return;
        placeholderDone = true;
        firstPair = false;
        colourPending = false;
        if (colour.size() == 1 && colour[0] >= '1' && colour[0] <= '7') {
            std::string p = std::string("1") + colour[0];
            pair(p, p);
        } else {
            pair("19", "19");
        }
    };

    bool ended = false;
    while (in.next()) {
        const int code = in.code;
        const std::string_view v = in.value;
        if (code == 0) {
            if (std::string e = endEntity(); !e.empty()) return bad(entityLine, e);
            entityLine = in.codeLine();
            seen10 = seen20 = seen11 = seen21 = seen40 = false;
            if (v == "ENDSEC") {
                if (inPolyline) return bad(in.codeLine(), "POLYLINE sans SEQEND");
                ended = true;
                break;
            }
            if (v == "VERTEX" && inPolyline) {
                kind = Kind::Vertex;
            } else if (v == "SEQEND" && inPolyline) {
                if (!placeholderDone) return bad(in.codeLine(), "POLYLINE sans sommet");
                if (!closingX.empty()) {
                    pair(closingX, closingY);
                    closingX.clear();
                    closingY.clear();
                }
                pair("1", "1");
                inPolyline = false;
                kind = Kind::None;
                ++cuts;
            } else if (inPolyline) {
                return bad(in.codeLine(), "POLYLINE interrompue par " + std::string(v));
            } else if (v == "POLYLINE") {
                pair("0", "0");
                kind = Kind::Polyline;
                inPolyline = true;
                firstPair = true;
                colourPending = true;
                placeholderDone = false;
                closed = false;
                closingX.clear();
                parentType = "POLYLINE";
            } else if (v == "LINE" || v == "CIRCLE") {
                kind = v == "LINE" ? Kind::Line : Kind::Circle;
                pair(v == "LINE" ? "ligne" : "cercle", v == "LINE" ? "ligne" : "cercle");
                firstPair = true;
                colourPending = true;
                placeholderDone = false;
                ++cuts;
                parentType = std::string(v);
            } else if (v == "ARC") {
                kind = Kind::Arc;
                pair("arc", "arc");
                arcPending = true;
                arcValues = 0;
                ++result.skipped["ARC"];
                parentType = "ARC";
            } else if ((v == "VERTEX" || v == "SEQEND" || v == "ATTRIB") && !parentType.empty() &&
                       parentType != "LINE" && parentType != "CIRCLE" && parentType != "ARC") {
                // Part of the entity before it (an INSERT's attributes, say): counted with it.
                kind = Kind::Other;
            } else {
                kind = Kind::Other;
                ++result.skipped[std::string(v)];
                parentType = std::string(v);
            }
            continue;
        }
        switch (kind) {
            case Kind::Polyline:
                // The header: only its flags matter; its colour and coordinates are not cut.
                if (code == 70) {
                    int flags = 0;
                    std::from_chars(v.data(), v.data() + v.size(), flags);
                    closed = flags == 1 || flags == 129;
                }
                break;
            case Kind::Vertex:
            case Kind::Line:
            case Kind::Circle:
                if (code == 62) {
                    if (colourPending && firstPair) placeholder(v);
                } else if (code == 10) {
                    if (!isNumber(v))
                        return bad(in.valueLine(), "coordonnée \"" + std::string(v) + "\" illisible");
                    X = lastX = std::string(v);
                    seen10 = true;
                    if (firstPair) placeholder("");
                } else if (code == 20) {
                    if (!isNumber(v))
                        return bad(in.valueLine(), "coordonnée \"" + std::string(v) + "\" illisible");
                    Y = std::string(v);
                    seen20 = true;
                    if (closed) {
                        closingX = X;
                        closingY = Y;
                        closed = false;
                    }
                    pair(lastX, v);
                } else if ((code == 40 && kind != Kind::Line) || (code == 42 && kind == Kind::Vertex)) {
                    if (!isNumber(v))
                        return bad(in.valueLine(), "valeur \"" + std::string(v) + "\" illisible");
                    pair("rayon", "rayon");
                    pair(v, v);
                    if (code == 40) seen40 = true;
                } else if (code == 11 && kind == Kind::Line) {
                    if (!isNumber(v))
                        return bad(in.valueLine(), "coordonnée \"" + std::string(v) + "\" illisible");
                    lineEndX = std::string(v);
                    seen11 = true;
                } else if (code == 21 && kind == Kind::Line) {
                    if (!isNumber(v))
                        return bad(in.valueLine(), "coordonnée \"" + std::string(v) + "\" illisible");
                    pair(lineEndX, v);
                    seen21 = true;
                }
                break;
            case Kind::Arc:
                if (code == 10) {
                    if (!isNumber(v))
                        return bad(in.valueLine(), "coordonnée \"" + std::string(v) + "\" illisible");
                    lastX = std::string(v);
                    pair(v, v);
                    seen10 = true;
                } else if (code == 20) {
                    pair(lastX, v);
                    seen20 = true;
                } else if (code == 40) {
                    pair("rayon", "rayon");
                    pair(v, v);
                    seen40 = true;
                } else if ((code == 50 || code == 51) && arcPending) {
                    pair(v, v);
                    if (++arcValues == 2) arcPending = false;
                }
                break;
            default:
                break;
        }
    }
    if (!in.error().empty()) return bad(in.codeLine(), in.error());
    if (!ended) return bad(in.valueLine(), "fin du fichier avant ENDSEC (fichier coupé)");
    if (cuts == 0) {
        std::string what;
        for (const auto& [type, n] : result.skipped)
            what += (what.empty() ? "" : ", ") + std::to_string(n) + " " + type;
        return refuse("Aucune entité à découper" +
                          (what.empty() ? std::string(" : le dessin est vide") : " : " + what + " ignorées") +
                          ".\nLe dessin n'a pas été modifié.",
                      "Mauvaise saisie !");
    }
    if (Status s = out.close(); !s) return refuse(s.message, "Mauvaise saisie !");

    // Second pass: the scratch file to drawing records.
    auto sr = FieldReader::open(scratch);
    if (!sr) return refuse(sr.error(), "Mauvaise saisie !");
    Drawing d;
    long n = 1;
    std::string a, b;
    auto read = [&]() -> bool { return sr->next(a) && sr->next(b); };
    auto cut = [&n]() { return std::to_string(n++); };
    const TrigTables& trig = trigTables();
    auto scratchBad = [&]() {
        return refuse("Fichier de travail " + scratch + " incohérent.", "Mauvaise saisie !");
    };
    while (!sr->atEnd()) {
        if (!read()) return scratchBad();
        if (a == "0") {
            if (!read() || !read()) return scratchBad();  // placeholder, first vertex
            std::string x = dxfPoint(a), y = dxfPoint(b);
            d.appendFull(x, y, "0", "D", ".", ".");
            d.appendFull(x, y, "1", "0", cut(), ".");
            for (;;) {
                if (!read()) return scratchBad();
                if (a == "1" && b == "1") {
                    d.appendFull(x, y, "0", "F", ".", ".");
                    break;
                }
                if (a == "rayon") {
                    if (!read()) return scratchBad();
                    continue;
                }
                x = dxfPoint(a);
                y = dxfPoint(b);
                d.appendFull(x, y, "1", "0", ".", ".");
            }
        } else if (a == "ligne") {
            if (!read() || !read()) return scratchBad();
            std::string x1 = dxfPoint(a), y1 = dxfPoint(b);
            d.appendFull(x1, y1, "0", "D", ".", ".");
            d.appendFull(x1, y1, "1", "0", cut(), ".");
            if (!read()) return scratchBad();
            std::string x2 = dxfPoint(a), y2 = dxfPoint(b);
            d.appendFull(x2, y2, "1", "0", ".", ".");
            d.appendFull(x2, y2, "0", "F", ".", ".");
        } else if (a == "cercle") {
            if (!read() || !read()) return scratchBad();
            X = a;
            Y = b;
            if (!read() || !read()) return scratchBad();  // "rayon", radius
            double cx = *leadingNumber(X), cy = *leadingNumber(Y), R = *leadingNumber(a);
            std::string px = numberText(cx + R, ','), py = numberText(cy, ',');
            d.appendFull(px, py, "0", "D", ".", ".");
            d.appendFull(px, py, "1", "0", cut(), ".");
            for (int k = 5; k <= 360; k += 5) {
                px = numberText(cx + R * trig.cosine[k], ',');
                py = numberText(cy + R * trig.sine[k], ',');
                d.appendFull(px, py, "1", "0", ".", ".");
            }
            d.appendFull(px, py, "1", "0", ".", ".");
            d.appendFull(px, py, "0", "F", ".", ".");
        } else if (a == "arc") {
            // Its centre line, centre pair, radius and the two angles: nothing to cut.
            for (int k = 0; k < 6; ++k)
                if (!read()) return scratchBad();
        }
    }
    d.Text3 = std::to_string(n - 1);
    target = std::move(d);
    result.ok = true;
    return result;
}

}  // namespace vornelle
