// The classic import's first pass: the ENTITIES section to the scratch file tempX. It reacts
// to the group codes only inside the entities it handles, so the coordinates of other entities
// never reach the scratch file, and every handled entity gets exactly one placeholder line
// before its first coordinate pair.
#include <charconv>

#include "base/fields.h"
#include "dxfclassic.h"

namespace vornelle {
namespace {
enum class Kind { None, Polyline, Vertex, Line, Circle, Arc, Other };
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
            if (std::string e = endEntity(); !e.empty()) return unreadableAt(entityLine, e);
            entityLine = in.codeLine();
            seen10 = seen20 = seen11 = seen21 = seen40 = false;
            if (v == "ENDSEC") {
                if (inPolyline) return unreadableAt(in.codeLine(), "POLYLINE sans SEQEND");
                ended = true;
                break;
            }
            if (v == "VERTEX" && inPolyline) {
                kind = Kind::Vertex;
            } else if (v == "SEQEND" && inPolyline) {
                if (!placeholderDone) return unreadableAt(in.codeLine(), "POLYLINE sans sommet");
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
                return unreadableAt(in.codeLine(), "POLYLINE interrompue par " + std::string(v));
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
                ++skipped["ARC"];
                parentType = "ARC";
            } else if ((v == "VERTEX" || v == "SEQEND" || v == "ATTRIB") && !parentType.empty() &&
                       parentType != "LINE" && parentType != "CIRCLE" && parentType != "ARC") {
                // Part of the entity before it (an INSERT's attributes, say): counted with it.
                kind = Kind::Other;
            } else {
                kind = Kind::Other;
                ++skipped[std::string(v)];
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
                    if (!isDxfNumber(v))
                        return unreadableAt(in.valueLine(),
                                            "coordonnée \"" + std::string(v) + "\" illisible");
                    X = lastX = std::string(v);
                    seen10 = true;
                    if (firstPair) placeholder("");
                } else if (code == 20) {
                    if (!isDxfNumber(v))
                        return unreadableAt(in.valueLine(),
                                            "coordonnée \"" + std::string(v) + "\" illisible");
                    Y = std::string(v);
                    seen20 = true;
                    if (closed) {
                        closingX = X;
                        closingY = Y;
                        closed = false;
                    }
                    pair(lastX, v);
                } else if ((code == 40 && kind != Kind::Line) || (code == 42 && kind == Kind::Vertex)) {
                    if (!isDxfNumber(v))
                        return unreadableAt(in.valueLine(), "valeur \"" + std::string(v) + "\" illisible");
                    pair("rayon", "rayon");
                    pair(v, v);
                    if (code == 40) seen40 = true;
                } else if (code == 11 && kind == Kind::Line) {
                    if (!isDxfNumber(v))
                        return unreadableAt(in.valueLine(),
                                            "coordonnée \"" + std::string(v) + "\" illisible");
                    lineEndX = std::string(v);
                    seen11 = true;
                } else if (code == 21 && kind == Kind::Line) {
                    if (!isDxfNumber(v))
                        return unreadableAt(in.valueLine(),
                                            "coordonnée \"" + std::string(v) + "\" illisible");
                    pair(lineEndX, v);
                    seen21 = true;
                }
                break;
            case Kind::Arc:
                if (code == 10) {
                    if (!isDxfNumber(v))
                        return unreadableAt(in.valueLine(),
                                            "coordonnée \"" + std::string(v) + "\" illisible");
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
    if (!in.error().empty()) return unreadableAt(in.codeLine(), in.error());
    if (!ended) return unreadableAt(in.valueLine(), "fin du fichier avant ENDSEC (fichier coupé)");
    if (cuts == 0) return nothingToCut(skipped);
    if (Status s = out.close(); !s) return s.message;
    return {};
}

}  // namespace vornelle
