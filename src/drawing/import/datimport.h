// DAT import: an airfoil profile of normalised points (x from 1 down to 0 and back) becomes
// one cut, mirrored (1 - x) and lifted by half a unit (y + 0,5).
#pragma once

#include <string>

#include "dxfimport.h"

namespace vornelle {

ImportResult importDat(const std::string& path, Drawing& d);

// The coordinate text of a DAT value: the general number text with a decimal comma, the
// scientific form of small values rewritten in plain form. `zeros` is the zero run kept from
// one value to the next within an import.
std::string datText(double v, std::string& zeros);

}  // namespace vornelle
