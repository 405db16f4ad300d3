// Sine and cosine tables of whole degrees, 0 to 362: entry k is the double nearest to the
// sine or cosine of k degrees, exactly 0, 0,5 or 1 (with its sign) where the true value is.
#pragma once

#include <array>

namespace vornelle {

struct TrigTables {
    std::array<double, 363> sine, cosine;
};

const TrigTables& trigTables();

}  // namespace vornelle
