// Fuzz target: the number conversions of typed and stored texts, their round trips through
// the general number text, and the coordinate and weight conversions built on them.
#include "base/numbers.h"

#include <cmath>
#include <string>

#include "drawing/import/datimport.h"
#include "drawing/drawing.h"
#include "drawing/import/dxfimport.h"
#include "fuzzsupport.h"
#include "port/step.h"

using namespace vornelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::optional<double> values[] = {decimalValue(text), leadingNumber(text), coordinateValue(text)};
    leadingNumberOr0(text);
    for (const auto& v : values) {
        if (!v) continue;
        if (!std::isfinite(*v)) fuzz::broken("nombre fini", text);
        // The 15-digit text reads back to itself once rounded.
        const std::string shown = numberText(*v, ','), stored = numberText(*v, '.');
        auto again = decimalValue(shown);
        auto stored2 = leadingNumber(stored);
        if (!again || !stored2 || *again != *stored2)
            fuzz::broken("texte d'un nombre relu", text + " -> " + shown);
        if (numberText(*again, ',') != shown) fuzz::broken("texte d'un nombre stable", text + " -> " + shown);
        const double r = roundHalfEven(*v);
        if (r != std::floor(r) || std::fabs(r - *v) > 0.5) fuzz::broken("arrondi", text);
        std::string zeros;
        datText(*v, zeros);
    }
    fraCoordinate(text);
    dxfPoint(text);
    if (auto w = signalWeight(text, "n°1"); w && (*w < 0 || *w > 255))
        fuzz::broken("poids d'un signal", text);
    return 0;
}
