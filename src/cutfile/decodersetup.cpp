// Decoder setup from the tool page's fields; see decodersetup.h.
#include "decodersetup.h"

#include "base/numbers.h"
#include "port/step.h"

namespace vornelle {

Outcome<DecoderSetup> decoderSetup(const ToolFields& t) {
    static const char* names[8] = {"DIR X", "CLOCK X", "DIR Y", "CLOCK Y", "DIR Z", "CLOCK Z", "7", "8"};
    DecoderSetup s;
    for (int i = 0; i < 8; ++i) {
        auto w = signalWeight(t.weights[i], names[i]);
        if (!w) return Failure{w.error()};
        s.weights[i] = *w;
    }
    for (int k = 0; k < 3; ++k) s.inv[k] = leadingNumberOr0(t.inversions[k]) == 1;
    s.variant = t.invZ ? RunVariant::Command12 : RunVariant::Command11;
    const std::string* perMm[3] = {&t.Text6, &t.Text3, &t.Text5};
    for (int k = 0; k < 3; ++k) s.stepsPerMm[k] = decimalValue(*perMm[k]).value_or(0);
    auto c = coefficient(t.Text2);
    if (!c) return Failure{c.error()};
    s.c = *c;
    return s;
}

}  // namespace vornelle
