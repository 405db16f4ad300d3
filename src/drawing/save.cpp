// Saving a drawing; see save.h.
#include "save.h"

#include "base/files.h"

namespace vornelle {

SaveResult saveDrawing(const Drawing& d, const std::string& N, DrawingShared& shared) {
    SaveResult r;
    auto refuse = [&r](const char* text, const char* title) {
        r.message = {text, title, 272};
        return r;
    };
    if (N.empty()) return refuse("Nom du fichier ?", "Saisie incomplette !");
    std::string end = N.size() >= 3 ? N.substr(N.size() - 3) : N;
    if (end == "dxf" || end == "dat" || end == "pro")
        return refuse("Ne pas mettre d'extension au fichier", "essaie encore");
    std::string path = N + ".fra";
    if (fileExists(path)) return refuse("Nom deja utilisé ", "Mauvaise saisie !");
    if (d.List1.size() != d.List2.size()) return refuse("Nombre de X <> Y<> Z ", "Mauvaise saisie !");
    // The file cannot be larger than its texts with their quotes, commas and line ends.
    uint64_t bytes = 2 * 7;
    for (size_t i = 0; i < d.List1.size(); ++i)
        bytes += d.List1[i].size() + d.List2[i].size() + (i < d.List3.size() ? d.List3[i].size() : 1) + 10;
    if (auto free = freeSpace(path); free && bytes > *free) {
        r.message = {"Le fichier " + path + " demanderait " + sizeText(bytes, true) + ", il reste " +
                         sizeText(*free, false) + " sur le disque.",
                     "Mauvaise saisie !", 272};
        return r;
    }
    if (Status s = writeFra(d, path); !s) {
        // A partial file would block the next try with "Nom deja utilisé ".
        removeFile(path);
        r.message = {
            "Une erreur est survenue pendant la création du fichier reportez vous à la notice "
            "d'utilisation\n" +
                s.message,
            "Mauvaise saisie !", 272};
        return r;
    }
    shared.lastSavedFra = path;
    r.ok = true;
    r.path = path;
    return r;
}

}  // namespace vornelle
