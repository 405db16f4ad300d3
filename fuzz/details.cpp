// Fuzz target: the details file (.det) as edited by hand. Ten fields that read are replaced
// and read back unchanged.
#include "cutfile/details.h"

#include <string>

#include "fuzzsupport.h"

using namespace vornelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::inputFile("piece.det", data, size);
    auto d = readDetails(path);
    if (!d) {
        if (d.error().empty()) fuzz::broken("message du refus");
        return 0;
    }
    for (const std::string& f : d->fields)
        if (f.find('"') != std::string::npos) return 0;
    if (Status s = replaceDetails(path, *d); !s) fuzz::broken("remplacement", s.message);
    auto again = readDetails(path);
    if (!again || !(*again == *d)) fuzz::broken("détails relus à l'identique");
    return 0;
}
