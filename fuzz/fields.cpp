// Fuzz target: the comma-delimited field reader over any bytes, from memory and from a file,
// which must agree field by field and always come to an end.
#include "base/fields.h"

#include <string>
#include <vector>

#include "fuzzsupport.h"

using namespace vornelle;

namespace {
std::vector<std::string> readAll(FieldReader& r, size_t size) {
    std::vector<std::string> fields;
    std::string f;
    while (!r.atEnd() && r.next(f)) {
        fields.push_back(f);
        // Every field but an empty one at the very end consumes at least one byte.
        if (fields.size() > size + 1) vornelle::fuzz::broken("fin de la lecture");
    }
    return fields;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    FieldReader memory(text);
    std::vector<std::string> a = readAll(memory, size);
    auto file = FieldReader::open(fuzz::inputFile("champs", data, size));
    if (!file) fuzz::broken("ouverture", file.error());
    std::vector<std::string> b = readAll(*file, size);
    if (a != b) fuzz::broken("mêmes champs en mémoire et en fichier");
    if (memory.line() != file->line()) fuzz::broken("même ligne en mémoire et en fichier");
    return 0;
}
