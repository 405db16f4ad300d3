// Drawing lists, marker rule and FRA file; see drawing.h.
#include "drawing.h"

#include "base/fields.h"
#include "base/numbers.h"

namespace vornelle {

void Drawing::clear() {
    for (TextList* l : {&List1, &List2, &List3, &List4, &List5, &List6, &List7, &List9, &List10, &List11})
        l->clear();
    resetMarkers();
}

void Drawing::appendRecord(std::string_view x, std::string_view y, std::string_view z) {
    List1.push_back(x);
    List2.push_back(y);
    List3.push_back(z);
    if (phase == 2) {
        List5.push_back(std::to_string(counter));
        ++counter;
        ++phase;
    } else {
        List5.push_back(".");
    }
    if (z != "0") {
        List4.push_back("0");
    } else if (phase == 1) {
        List4.push_back("D");
        phase = 2;
    } else {
        List4.push_back("F");
        phase = 1;
    }
}

void Drawing::finishLoad() {
    Text3 = std::to_string(counter - 1);
    List6.clear();
    for (size_t i = 0; i < List3.size(); ++i) List6.push_back(".");
}

void Drawing::appendFull(std::string_view x, std::string_view y, std::string_view z, std::string_view m,
                         std::string_view o, std::string_view e) {
    List1.push_back(x);
    List2.push_back(y);
    List3.push_back(z);
    List4.push_back(m);
    List5.push_back(o);
    List6.push_back(e);
}

void Drawing::rebuildMarkers() {
    TextList z = List3, x = List1, y = List2;
    List1.clear();
    List2.clear();
    List3.clear();
    List4.clear();
    List5.clear();
    resetMarkers();
    for (size_t i = 0; i < z.size(); ++i) appendRecord(x[i], y[i], z[i]);
    Text3 = std::to_string(counter - 1);
}

std::optional<double> coordinateValue(std::string_view text) {
    if (auto v = decimalValue(text)) return v;
    if (text.find('.') == std::string_view::npos || text.find(',') != std::string_view::npos)
        return std::nullopt;
    std::string t(text);
    for (char& ch : t)
        if (ch == '.') ch = ',';
    return decimalValue(t);
}

std::string fraCoordinate(std::string_view text) {
    std::string t(text);
    for (size_t i = 1; i <= 3 && i < t.size(); ++i)
        if (t[i] == '.') t[i] = ',';
    return t;
}

Status writeFra(const Drawing& d, const std::string& path) {
    auto w = FieldWriter::append(path);
    if (!w) return Status::failure(w.error());
    w->raw("0,0,0");
    w->endRecord();
    for (size_t i = 0; i < d.List1.size(); ++i) {
        w->text(fraCoordinate(d.List1[i]));
        w->text(fraCoordinate(d.List2[i]));
        w->text(i < d.List3.size() ? d.List3[i] : std::string_view("0"));
        w->endRecord();
    }
    w->raw("0,0,0");
    w->endRecord();
    return w->close();
}

Status readFra(Drawing& d, const std::string& path) {
    d.clear();
    auto r = FieldReader::open(path);
    auto fail = [&d](const std::string&) {
        d.List6.clear();
        for (size_t i = 0; i < d.List3.size(); ++i) d.List6.push_back(".");
        return Status::failure(kFraUnusable);
    };
    if (!r) return fail(r.error());
    std::string x, y, z;
    do {
        if (!r->next(x) || !r->next(y) || !r->next(z)) return fail(r->error());
        d.appendRecord(x, y, z);
    } while (!r->atEnd());
    if (!r->error().empty()) return fail(r->error());
    d.finishLoad();
    return Status::success();
}

}  // namespace vornelle
