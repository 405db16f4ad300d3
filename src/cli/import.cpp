// vornelle-cli import-dxf and import-dat: a drawing imported (classic or complete DXF, or DAT),
// its entry points set as on the drawing page or chosen by the automatic order, saved as FRA.
#include <charconv>
#include <tuple>

#include "base/folders.h"
#include "base/numbers.h"
#include "clisupport.h"
#include "commands.h"
#include "drawing/import/complete/dxfcomplete.h"
#include "drawing/import/datimport.h"
#include "drawing/import/dxfimport.h"
#include "drawing/order/autoorder.h"
#include "drawing/order/cutorder.h"
#include "drawing/save.h"

namespace vornelle::cli {

std::optional<Entry> parseEntry(const std::string& text) {
    size_t eq = text.find('=');
    if (eq == 0 || eq == std::string::npos) return std::nullopt;
    Entry e;
    auto [end, ec] = std::from_chars(text.data(), text.data() + eq, e.index);
    if (ec != std::errc() || end != text.data() + eq) return std::nullopt;
    e.number = text.substr(eq + 1);
    return e;
}

namespace {

// The entry points as the drawing page sets them, then "Réorganisation coupes".
int applyEntries(Drawing& d, const std::vector<Entry>& entries, Output& out) {
    for (const Entry& e : entries) {
        if (e.index >= d.size()) {
            out.error = "--entry " + std::to_string(e.index) + "=" + e.number + " : le dessin a " +
                        std::to_string(d.size()) + " enregistrements, numérotés de 0 à " +
                        std::to_string(d.size() - 1);
            if (d.size() == 0) out.error = "--entry : le dessin n'a aucun enregistrement";
            return 2;
        }
        if (CutOrderResult c = canEnter(d, e.index); !c) {
            out.error = c.message.text;
            return 1;
        }
        if (Validation v = validate(d, e.index, e.number); !v) {
            out.error = v.message.text;
            return 1;
        }
    }
    if (entries.empty()) return 0;
    if (CutOrderResult r = reorganise(d); !r) {
        out.error = r.message.text;
        return 1;
    }
    return 0;
}

}  // namespace

std::optional<double> pointOrComma(const std::string& text) {
    std::string t = text;
    for (char& c : t)
        if (c == '.') c = ',';
    return decimalValue(t);
}

namespace {

// The complete import with the options as typed; exit status 2 for an option that is not a
// number.
int importComplete(const ImportArgs& a, Drawing& d, ImportResult& r, nlohmann::ordered_json& extra,
                   Output& out) {
    CompleteOptions o;
    for (auto [text, value, name] :
         {std::tuple{&a.tolerance, &o.tolerance, "--tolerance"}, std::tuple{&a.join, &o.join, "--join"}}) {
        if (!*text) continue;
        auto v = pointOrComma(**text);
        if (!v) {
            out.error = std::string(name) + " " + **text + " : un nombre est attendu (0,01 ou 0.01)";
            return 2;
        }
        *value = *v;
    }
    CompleteResult c = importDxfComplete(a.file, o, d);
    r.ok = c.ok;
    r.message = c.message;
    r.skipped = c.skipped;
    extra = {{"closed", c.closed}, {"open", c.open}, {"units", c.units}};
    return 0;
}

}  // namespace

int importDrawing(const ImportArgs& a, Output& out) {
    if (a.autoOrder && !a.entries.empty()) {
        out.error =
            "--auto-order et --entry ne vont pas ensemble : l'ordre automatique choisit tous les points "
            "d'entrée";
        return 2;
    }
    Drawing d;
    ImportResult r;
    nlohmann::ordered_json extra = nlohmann::ordered_json::object();
    if (a.dxf && a.extended) {
        if (int code = importComplete(a, d, r, extra, out); code != 0) return code;
    } else if (a.dxf) {
        auto work = dossierTravail();
        if (!work) {
            out.error = work.error();
            return 1;
        }
        r = importDxf(a.file, *work, d);
    } else {
        r = importDat(a.file, d);
    }
    if (!r.ok) {
        out.error = r.message.text;
        return 1;
    }
    if (int code = applyEntries(d, a.entries, out); code != 0) return code;
    AutoOrderResult order;
    if (a.autoOrder) order = autoOrder(d);
    DrawingShared shared;
    SaveResult s = saveDrawing(d, a.name, shared);
    if (!s.ok) {
        out.error = s.message.text;
        return 1;
    }
    nlohmann::ordered_json skipped = nlohmann::ordered_json::object();
    for (const auto& [type, n] : r.skipped) skipped[type] = n;
    long cuts = 0;  // Text3 is the decimal text of the cut count
    std::from_chars(d.Text3.data(), d.Text3.data() + d.Text3.size(), cuts);
    nlohmann::ordered_json j = {{"fra", s.path}, {"cuts", cuts}, {"records", d.size()}, {"skipped", skipped}};
    for (const auto& [key, value] : extra.items()) j[key] = value;
    if (a.autoOrder) {
        j["travel_before"] = order.travelBefore;
        j["travel_after"] = order.travelAfter;
    }
    out.json = jsonLine(j);
    return 0;
}

}  // namespace vornelle::cli
