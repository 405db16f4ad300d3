// Fuzz target: the decoder of cut files, with the wiring and paces taken from the first
// bytes. It accepts what the check accepts, counts the same records and stays finite.
#include "run/decode/decoder.h"

#include <cmath>
#include <string>

#include "fuzzsupport.h"
#include "run/recordreader.h"

using namespace vornelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    DecoderSetup setup;
    setup.weights = {1, 2, 4, 8, 16, 32, 64, 128};
    for (int a = 0; a < 3; ++a) setup.inv[a] = (data[0] >> a) & 1;
    setup.variant = (data[0] & 8) ? RunVariant::Command12 : RunVariant::Command11;
    setup.stepsPerMm = {static_cast<double>(data[1]), 200, 0};
    setup.feedIn = data[2] % 101;
    setup.feedOut = data[3] % 101;
    const std::string path = fuzz::inputFile("piece.def", data + 4, size - 4);
    Decoded d = decodeCutFile(path, setup);
    auto checked = checkCutFile(path);
    if (d.ok() != checked.ok()) fuzz::broken("décodage et vérification d'accord", d.error);
    if (!d.ok()) return 0;
    if (d.records != *checked) fuzz::broken("même nombre d'enregistrements");
    if (!std::isfinite(d.seconds) || !std::isfinite(d.lengthIn) || !std::isfinite(d.lengthOut))
        fuzz::broken("durée et longueurs finies");
    if (d.ticksIn + d.ticksOut != d.records) fuzz::broken("enregistrements dans et hors matière");
    return 0;
}
