// vrnl1.cfg and vrnlman.cfg; see configmachine.h. Both files are replaced through a new
// file renamed over the old one, so stopping the program mid-save never loses them.
#include "configmachine.h"

#include "base/fields.h"
#include "base/files.h"
#include "base/numbers.h"
#include "base/message.h"

namespace vornelle {

std::array<std::string*, configmachine::kTextCount> configmachine::texts() {
    return {&pasmmX,    &pasmmY,     &pasmmZ,    &coefvitesse, &vitdecoupe, &vithorsmatiere, &descenteZ,
            &numport,   &degagement, &poidsdirX, &poidsclkX,   &poidsdirY,  &poidsclkY,      &poidsdirZ,
            &poidsclkZ, &poidsnc1,   &poidsnc2,  &pindirX,     &pinclkX,    &pindirY,        &pinclkY,
            &pindirZ,   &pinclkZ,    &pinnc1,    &pinnc2};
}

std::array<const std::string*, configmachine::kTextCount> configmachine::texts() const {
    auto m = const_cast<configmachine*>(this)->texts();
    std::array<const std::string*, kTextCount> r;
    for (int i = 0; i < kTextCount; ++i) r[i] = m[i];
    return r;
}

std::string configLine(const configmachine& c) {
    FieldWriter w;
    for (const std::string* t : c.texts()) w.text(*t);
    w.integer(c.invX);
    w.integer(c.invY);
    w.integer(c.invZ);
    w.endRecord();
    return w.contents();
}

Status sauveconfig(const std::string& folder, const configmachine& c) {
    Status s = replaceFile(folder + kConfigFile, configLine(c));
    if (!s) return Status::failure("La configuration n'a pas pu être enregistrée.\n" + s.message);
    return s;
}

bool existeconfig(const std::string& folder) {
    return fileExists(folder + kConfigFile);
}

ConfigRead lisconfig(const std::string& folder) {
    ConfigRead r;
    auto text = readFile(folder + kConfigFile);
    if (!text) {
        r.error = "Fichier de configuration " + folder + kConfigFile + " illisible.\n" + text.error();
        return r;
    }
    FieldReader in(*text);
    auto items = r.config.texts();
    std::string field;
    for (int i = 0; i < configmachine::kTextCount; ++i) {
        if (!in.next(field)) {
            r.error = "Fichier de configuration incomplet : " + std::to_string(r.itemsRead) +
                      " éléments lus sur 28. Enregistrez de nouveau la configuration.";
            return r;
        }
        *items[i] = field;
        ++r.itemsRead;
    }
    int* flags[3] = {&r.config.invX, &r.config.invY, &r.config.invZ};
    for (int i = 0; i < 3; ++i) {
        if (!in.next(field)) {
            r.error = "Fichier de configuration incomplet : " + std::to_string(r.itemsRead) +
                      " éléments lus sur 28. Enregistrez de nouveau la configuration.";
            return r;
        }
        auto v = decimalValue(field);
        if (!v) {
            r.error = "Fichier de configuration illisible : l'inversion " + std::string(1, "XYZ"[i]) +
                      " vaut " + quotedText(field) + " au lieu de 0 ou 1. Enregistrez de nouveau la configuration.";
            return r;
        }
        *flags[i] = *v == 1 ? 1 : 0;
        ++r.itemsRead;
    }
    return r;
}

std::optional<uint16_t> portAddress(const std::string& numport) {
    auto v = decimalValue(numport);
    if (!v) return std::nullopt;
    return *v == 2 ? 632 : 888;
}

std::string configIncomplete(const configmachine& c) {
    if (!portAddress(c.numport))
        return "Configuration incomplète : le numéro de port parallèle (LPT 1 ou 2) n'est pas "
               "renseigné. Complétez-le en page configuration.";
    return {};
}

Status creefleches(const std::string& folder) {
    if (fileExists(folder + kArrowFile)) return Status::success();
    return replaceFile(folder + kArrowFile, "\"0\",\"0\",\"0\"\r\n");
}

Outcome<ArrowFlags> lisfleches(const std::string& folder) {
    auto text = readFile(folder + kArrowFile);
    if (!text) return Failure{text.error()};
    FieldReader in(*text);
    bool* flags[3];
    ArrowFlags f;
    flags[0] = &f.x;
    flags[1] = &f.y;
    flags[2] = &f.z;
    std::string field;
    for (bool* flag : flags) {
        if (!in.next(field)) return Failure{"Fichier " + folder + kArrowFile + " incomplet."};
        auto v = decimalValue(field);
        *flag = v && *v == 1;
    }
    return f;
}

Status sauvefleches(const std::string& folder, ArrowFlags f) {
    std::string line =
        std::string(f.x ? "1" : "0") + "," + (f.y ? "1" : "0") + "," + (f.z ? "1" : "0") + "\r\n";
    return replaceFile(folder + kArrowFile, line);
}

}  // namespace vornelle
