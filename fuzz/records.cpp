// Fuzz target: the record reader of the run and the check made before it. Both see the same
// records, and the check accepts exactly the files the reader plays to their end.
#include <string>

#include "fuzzsupport.h"
#include "run/recordreader.h"

using namespace vornelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::inputFile("piece.def", data, size);
    RecordReader reader;
    if (Status s = reader.open(path); !s) fuzz::broken("ouverture", s.message);
    uint8_t value = 0;
    RecordReader::Result r;
    while ((r = reader.next(value)) == RecordReader::Result::Record)
        if (reader.count() > size) fuzz::broken("plus d'enregistrements que d'octets");
    if (r == RecordReader::Result::Bad && reader.error().empty())
        fuzz::broken("message d'un enregistrement faux");
    auto checked = checkCutFile(path);
    const bool playable = r == RecordReader::Result::End && reader.count() > 0;
    if (checked.ok() != playable) fuzz::broken("vérification et lecture d'accord");
    if (checked && *checked != reader.count()) fuzz::broken("même nombre d'enregistrements");
    return 0;
}
