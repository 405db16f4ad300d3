// Classic DXF import; see dxfimport.h. The checks of the page come first, then the two
// passes of dxfclassic.h through the scratch file.
#include "dxfimport.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/files.h"
#include "dxfclassic.h"
#include "dxfpairs.h"

namespace vornelle {

std::string dxfPoint(std::string_view text) {
    std::string t(text);
    for (size_t i = 1; i <= 3 && i < t.size(); ++i)
        if (t[i] == '.') t[i] = ',';
    return t;
}

namespace {

// The scratch file writes at most this many bytes per byte of the DXF file: a radius group
// of four bytes and its value becomes two quoted pairs.
constexpr uint64_t kScratchPerDxfByte = 6;

// The refusal when the scratch file could outgrow the free space of the work folder.
std::string scratchShortage(std::FILE* dxf, const std::string& scratch) {
    struct stat st;
    if (::fstat(fileno(dxf), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    const uint64_t need = static_cast<uint64_t>(st.st_size) * kScratchPerDxfByte;
    auto free = freeSpace(scratch);
    if (!free) return free.error();
    if (need <= *free) return {};
    return "Le fichier de travail " + scratch + " demanderait jusqu'à " + sizeText(need, true) +
           ", il reste " + sizeText(*free, false) + " sur le disque.\nLe dessin n'a pas été modifié.";
}

}  // namespace

ImportResult importDxf(const std::string& path, const std::string& work, Drawing& target) {
    ImportResult result;
    auto refuse = [&result](const std::string& text, const char* title) {
        result.message = {text, title, 272};
        return result;
    };
    if (path.empty()) return refuse("Nom du fichier ?", "Saisie incomplette !");
    if (!fileExists(path)) return refuse("Fichier introuvable !", "Mauvaise saisie !");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return refuse("Impossible de lire le fichier " + path + " : " + std::strerror(errno),
                      "Mauvaise saisie !");
    const std::string scratch = work + "tempX";
    if (Status s = removeFile(scratch); !s) return refuse(s.message, "Mauvaise saisie !");
    if (std::string e = scratchShortage(file.get(), scratch); !e.empty())
        return refuse(e, "Mauvaise saisie !");

    // First pass: DXF pairs to the scratch file.
    PairReader in(file.get());
    bool inEntities = false;
    while (!inEntities && in.next()) {
        if (in.code == 2 && in.value == "ENTITIES") inEntities = true;
    }
    if (!in.error().empty()) return refuse(unreadableAt(in.codeLine(), in.error()), "Mauvaise saisie !");
    if (!inEntities)
        return refuse("Fichier DXF sans section ENTITIES : rien à importer.\nLe dessin n'a pas été modifié.",
                      "Mauvaise saisie !");

    if (std::string e = writeScratch(in, scratch, result.skipped); !e.empty()) {
        removeFile(scratch);
        return refuse(e, "Mauvaise saisie !");
    }
    Drawing d;
    if (std::string e = readScratch(scratch, d); !e.empty()) {
        removeFile(scratch);
        return refuse(e, "Mauvaise saisie !");
    }
    target = std::move(d);
    result.ok = true;
    return result;
}

}  // namespace vornelle
