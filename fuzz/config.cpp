// Fuzz target: vrnl1.cfg and vrnlman.cfg as anybody may have edited them. A record that reads
// is saved and read back unchanged; a refused file is left as it was.
#include <string>

#include "base/files.h"
#include "config/configmachine.h"
#include "fuzzsupport.h"

using namespace vornelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& folder = fuzz::folder();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::inputFile(kConfigFile, data, size);
    fuzz::inputFile(kArrowFile, data, size);
    ConfigRead read = lisconfig(folder);
    lisfleches(folder);
    portAddress(read.config.numport);
    configIncomplete(read.config);
    if (readFile(folder + kConfigFile).value() != bytes) fuzz::broken("fichier lu intact");
    if (!read.ok()) {
        if (read.error.empty()) fuzz::broken("message du refus");
        return 0;
    }
    // Texts holding a double quote cannot be written back in the file's quoted fields.
    for (const std::string* t : read.config.texts())
        if (t->find('"') != std::string::npos) return 0;
    if (Status s = sauveconfig(folder, read.config); !s) fuzz::broken("enregistrement", s.message);
    ConfigRead again = lisconfig(folder);
    if (!again.ok() || !(again.config == read.config)) fuzz::broken("configuration relue à l'identique");
    return 0;
}
