// Data and work folders; see folders.h.
#include "folders.h"

#include <cstdlib>

#include "files.h"

namespace vornelle {
namespace {
std::string withSlash(std::string p) {
    if (p.empty() || p.back() != '/') p += '/';
    return p;
}
}  // namespace

Outcome<std::string> cheminTemp() {
    std::string folder;
    if (const char* v = std::getenv("VORNELLE_HOME"); v && *v) {
        folder = withSlash(v);
    } else if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x && x[0] == '/') {
        folder = withSlash(x) + "vornelle/";
    } else if (const char* h = std::getenv("HOME"); h && *h) {
        folder = withSlash(h) + ".local/share/vornelle/";
    } else {
        return Failure{"Dossier de données introuvable : ni VORNELLE_HOME ni HOME ne sont définis."};
    }
    if (Status s = ensureFolder(folder.substr(0, folder.size() - 1), 0700); !s)
        return Failure{"Dossier de données de Vornelle inutilisable : " + s.message};
    return folder;
}

Outcome<std::string> dossierTravail() {
    auto base = cheminTemp();
    if (!base) return base;
    std::string work = *base + "work/";
    if (Status s = ensureFolder(work.substr(0, work.size() - 1), 0700); !s)
        return Failure{"Dossier de travail inutilisable : " + s.message};
    return work;
}

}  // namespace vornelle
