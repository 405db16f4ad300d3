// Sine and cosine tables; see trig.h. Each value is computed in the first quadrant in long
// double and rounded once to double, with the quadrant's signs applied exactly.
#include "trig.h"

#include <cmath>

namespace vornelle {
namespace {

double sineDegrees(int k) {
    k %= 360;
    double sign = 1;
    if (k >= 180) {
        k -= 180;
        sign = -1;
    }
    if (k > 90) k = 180 - k;
    // k in 0..90
    if (k == 0) return 0.0;
    if (k == 30) return sign * 0.5;
    if (k == 90) return sign * 1.0;
    const long double pi = 3.141592653589793238462643383279502884L;
    return sign * static_cast<double>(std::sin(static_cast<long double>(k) * pi / 180.0L));
}

TrigTables build() {
    TrigTables t;
    for (int k = 0; k <= 362; ++k) {
        t.sine[k] = sineDegrees(k);
        t.cosine[k] = sineDegrees(k + 90);
    }
    return t;
}

}  // namespace

const TrigTables& trigTables() {
    static const TrigTables tables = build();
    return tables;
}

}  // namespace vornelle
