// Details file; see details.h.
#include "details.h"

#include "base/fields.h"
#include "base/files.h"

namespace vornelle {

std::string detailsRecord(const Details& d) {
    FieldWriter w;
    for (const std::string& f : d.fields) w.text(f);
    w.endRecord();
    return w.contents();
}

Status writeDetails(const std::string& path, const Details& d) {
    auto w = FieldWriter::append(path);
    if (!w) return Status::failure(w.error());
    for (const std::string& f : d.fields) w->text(f);
    w->endRecord();
    return w->close();
}

Status replaceDetails(const std::string& path, const Details& d) {
    return replaceFile(path, detailsRecord(d));
}

Outcome<Details> readDetails(const std::string& path) {
    auto text = readFile(path);
    if (!text) return Failure{"Fichier de détails " + path + " introuvable ou illisible."};
    FieldReader r(*text);
    Details d;
    for (size_t i = 0; i < d.fields.size(); ++i) {
        if (!r.next(d.fields[i]))
            return Failure{"Fichier de détails " + path + " incomplet : " + std::to_string(i) +
                           " champs sur 10. Rien n'a été modifié."};
    }
    return d;
}

std::string detailsPathFor(const std::string& cutName, bool upperToo) {
    auto ends = [&](const char* e) {
        return cutName.size() >= 4 && cutName.compare(cutName.size() - 4, 4, e) == 0;
    };
    if (ends(".def") || (upperToo && ends(".DEF"))) return cutName.substr(0, cutName.size() - 4) + ".det";
    return cutName + ".det";
}

}  // namespace vornelle
