// The classic import's first pass: the ENTITIES section to the scratch file tempX. It reacts
// to the group codes only inside the entities it handles, so the coordinates of other entities
// never reach the scratch file, and every handled entity gets exactly one placeholder line
// before its first coordinate pair.
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "base/fields.h"
#include "base/message.h"
#include "dxfclassic.h"
#include "importlimits.h"

namespace vornelle {
namespace {
enum class Kind { None, Polyline, Vertex, Line, Circle, Arc, Other };

// A number whose size no real drawing reaches: its circle's records would be far outside
// the machine (the records of a circle are computed from its centre and radius).
bool beyondLimits(std::string_view v) {
    if (!isDxfNumber(v)) return false;
    const double x = std::strtod(std::string(v).c_str(), nullptr);
    return !(std::fabs(x) <= kMaxImportCoordinate);
}

std::string unreadableValue(long line, const char* what, std::string_view v) {
    return unreadableAt(line, std::string(what) + " " + quotedText(v) + " illisible");
}

// The state of the first pass between two pairs; each method returns the refusal text, empty
// when the pass goes on.
class ScratchWriter {
  public:
    ScratchWriter(FieldWriter& out, std::map<std::string, long>& skipped) : out_(out), skipped_(skipped) {}
    // A group 0: the end of the entity before, and the start of the next one.
    std::string entity(std::string_view v, long line);
    // Any other group of the current entity.
    std::string group(int code, std::string_view v, long line);
    // The ENDSEC of the section: the last entity complete, no polyline left open.
    std::string endSection(long line) const {
        if (std::string e = endEntity(); !e.empty()) return unreadableAt(entityLine_, e);
        if (inPolyline_) return unreadableAt(line, "POLYLINE sans SEQEND");
        return {};
    }
    long cuts() const { return cuts_; }

  private:
    void pair(std::string_view a, std::string_view b) {
        out_.text(a);
        out_.text(b);
        out_.endRecord();
    }
    std::string endEntity() const;
    void placeholder(std::string_view colour);
    std::string pointGroup(int code, std::string_view v, long line);  // VERTEX, LINE, CIRCLE
    std::string arcGroup(int code, std::string_view v, long line);

    FieldWriter& out_;
    std::map<std::string, long>& skipped_;
    Kind kind_ = Kind::None;
    bool inPolyline_ = false;  // between POLYLINE and its SEQEND
    bool firstPair_ = false, colourPending_ = false, placeholderDone_ = false, arcPending_ = false,
         closed_ = false;
    int arcValues_ = 0;
    std::string lastX_, X_, Y_, lineEndX_, closingX_, closingY_;
    // Groups seen in the current entity, to refuse one cut short.
    bool seen10_ = false, seen20_ = false, seen11_ = false, seen21_ = false, seen40_ = false;
    long entityLine_ = 0;
    std::string parentType_;  // the last top-level entity, for VERTEX and SEQEND counts
    long cuts_ = 0;
};

std::string ScratchWriter::endEntity() const {
    switch (kind_) {
        case Kind::Vertex:
            if (!seen10_ || !seen20_) return "sommet de POLYLINE sans coordonnées";
            break;
        case Kind::Line:
            if (!seen10_ || !seen20_ || !seen11_ || !seen21_) return "LINE incomplète";
            break;
        case Kind::Circle:
            if (!seen10_ || !seen20_ || !seen40_) return "CIRCLE incomplet";
            break;
        case Kind::Arc:
            if (!seen10_ || !seen20_ || !seen40_ || arcValues_ < 2) return "ARC incomplet";
            break;
        default:
            break;
    }
    return {};
}

void ScratchWriter::placeholder(std::string_view colour) {
    if (placeholderDone_) return;
    placeholderDone_ = true;
    firstPair_ = false;
    colourPending_ = false;
    if (colour.size() == 1 && colour[0] >= '1' && colour[0] <= '7') {
        std::string p = std::string("1") + colour[0];
        pair(p, p);
    } else {
        pair("19", "19");
    }
}

std::string ScratchWriter::entity(std::string_view v, long line) {
    if (std::string e = endEntity(); !e.empty()) return unreadableAt(entityLine_, e);
    entityLine_ = line;
    seen10_ = seen20_ = seen11_ = seen21_ = seen40_ = false;
    if (v == "VERTEX" && inPolyline_) {
        kind_ = Kind::Vertex;
    } else if (v == "SEQEND" && inPolyline_) {
        if (!placeholderDone_) return unreadableAt(line, "POLYLINE sans sommet");
        if (!closingX_.empty()) {
            pair(closingX_, closingY_);
            closingX_.clear();
            closingY_.clear();
        }
        pair("1", "1");
        inPolyline_ = false;
        kind_ = Kind::None;
        ++cuts_;
    } else if (inPolyline_) {
        return unreadableAt(line, "POLYLINE interrompue par " + std::string(v));
    } else if (v == "POLYLINE") {
        pair("0", "0");
        kind_ = Kind::Polyline;
        inPolyline_ = true;
        firstPair_ = true;
        colourPending_ = true;
        placeholderDone_ = false;
        closed_ = false;
        closingX_.clear();
        parentType_ = "POLYLINE";
    } else if (v == "LINE" || v == "CIRCLE") {
        kind_ = v == "LINE" ? Kind::Line : Kind::Circle;
        pair(v == "LINE" ? "ligne" : "cercle", v == "LINE" ? "ligne" : "cercle");
        firstPair_ = true;
        colourPending_ = true;
        placeholderDone_ = false;
        ++cuts_;
        parentType_ = std::string(v);
    } else if (v == "ARC") {
        kind_ = Kind::Arc;
        pair("arc", "arc");
        arcPending_ = true;
        arcValues_ = 0;
        ++skipped_["ARC"];
        parentType_ = "ARC";
    } else if ((v == "VERTEX" || v == "SEQEND" || v == "ATTRIB") && !parentType_.empty() &&
               parentType_ != "LINE" && parentType_ != "CIRCLE" && parentType_ != "ARC") {
        // Part of the entity before it (an INSERT's attributes, say): counted with it.
        kind_ = Kind::Other;
    } else {
        kind_ = Kind::Other;
        ++skipped_[std::string(v)];
        parentType_ = std::string(v);
    }
    return {};
}

std::string ScratchWriter::group(int code, std::string_view v, long line) {
    switch (kind_) {
        case Kind::Polyline:
            // The header: only its flags matter; its colour and coordinates are not cut.
            if (code == 70) {
                int flags = 0;
                std::from_chars(v.data(), v.data() + v.size(), flags);
                closed_ = flags == 1 || flags == 129;
            }
            return {};
        case Kind::Vertex:
        case Kind::Line:
        case Kind::Circle:
            return pointGroup(code, v, line);
        case Kind::Arc:
            return arcGroup(code, v, line);
        default:
            return {};
    }
}

std::string ScratchWriter::pointGroup(int code, std::string_view v, long line) {
    if (kind_ == Kind::Circle && (code == 10 || code == 20 || code == 40) && beyondLimits(v))
        return unreadableAt(line, std::string(code == 40 ? "rayon" : "centre") + " de CIRCLE " +
                                      quotedText(v) + " au-delà de 10^12 unités (nombre endommagé ?)");
    if (code == 62) {
        if (colourPending_ && firstPair_) placeholder(v);
    } else if (code == 10) {
        if (!isDxfNumber(v)) return unreadableValue(line, "coordonnée", v);
        X_ = lastX_ = std::string(v);
        seen10_ = true;
        if (firstPair_) placeholder("");
    } else if (code == 20) {
        if (!isDxfNumber(v)) return unreadableValue(line, "coordonnée", v);
        Y_ = std::string(v);
        seen20_ = true;
        if (closed_) {
            closingX_ = X_;
            closingY_ = Y_;
            closed_ = false;
        }
        pair(lastX_, v);
    } else if ((code == 40 && kind_ != Kind::Line) || (code == 42 && kind_ == Kind::Vertex)) {
        if (!isDxfNumber(v)) return unreadableValue(line, "valeur", v);
        pair("rayon", "rayon");
        pair(v, v);
        if (code == 40) seen40_ = true;
    } else if (code == 11 && kind_ == Kind::Line) {
        if (!isDxfNumber(v)) return unreadableValue(line, "coordonnée", v);
        lineEndX_ = std::string(v);
        seen11_ = true;
    } else if (code == 21 && kind_ == Kind::Line) {
        if (!isDxfNumber(v)) return unreadableValue(line, "coordonnée", v);
        pair(lineEndX_, v);
        seen21_ = true;
    }
    return {};
}

std::string ScratchWriter::arcGroup(int code, std::string_view v, long line) {
    if (code == 10) {
        if (!isDxfNumber(v)) return unreadableValue(line, "coordonnée", v);
        lastX_ = std::string(v);
        pair(v, v);
        seen10_ = true;
    } else if (code == 20) {
        pair(lastX_, v);
        seen20_ = true;
    } else if (code == 40) {
        pair("rayon", "rayon");
        pair(v, v);
        seen40_ = true;
    } else if ((code == 50 || code == 51) && arcPending_) {
        pair(v, v);
        if (++arcValues_ == 2) arcPending_ = false;
    }
    return {};
}

}  // namespace

std::string unreadableAt(long line, const std::string& why) {
    return "Fichier DXF illisible ligne " + std::to_string(line) + " : " + why +
           ".\nLe dessin n'a pas été modifié.";
}

std::string nothingToCut(const std::map<std::string, long>& skipped) {
    std::string what;
    for (const auto& [type, n] : skipped) what += (what.empty() ? "" : ", ") + std::to_string(n) + " " + type;
    return "Aucune entité à découper" +
           (what.empty() ? std::string(" : le dessin est vide") : " : " + what + " ignorées") +
           ".\nLe dessin n'a pas été modifié.";
}

std::string writeScratch(PairReader& in, const std::string& scratch, std::map<std::string, long>& skipped) {
    auto opened = FieldWriter::append(scratch);
    if (!opened) return opened.error();
    ScratchWriter w(*opened, skipped);
    bool ended = false;
    while (in.next()) {
        if (in.code == 0 && in.value == "ENDSEC") {
            if (std::string e = w.endSection(in.codeLine()); !e.empty()) return e;
            ended = true;
            break;
        }
        std::string e =
            in.code == 0 ? w.entity(in.value, in.codeLine()) : w.group(in.code, in.value, in.valueLine());
        if (!e.empty()) return e;
    }
    if (!in.error().empty()) return unreadableAt(in.codeLine(), in.error());
    if (!ended) return unreadableAt(in.valueLine(), "fin du fichier avant ENDSEC (fichier coupé)");
    if (w.cuts() == 0) return nothingToCut(skipped);
    if (Status s = opened->close(); !s) return s.message;
    return {};
}

}  // namespace vornelle
