// The record layout of a cut; see dxfrecords.h.
#include "dxfrecords.h"

namespace vornelle {

void CutRecords::start(std::string_view x, std::string_view y) {
    d_.appendFull(x, y, "0", "D", ".", ".");
    d_.appendFull(x, y, "1", "0", std::to_string(next_++), ".");
}

}  // namespace vornelle
