// Drawing values shared between pages and kept while the program runs: the path of the last
// FRA file saved, which the tool page proposes when it opens, and the next entry-point order
// number of Form7's Text1, which runs on across drawings. Owned by the application.
#pragma once

#include <string>

namespace vornelle {

struct DrawingShared {
    std::string lastSavedFra;      // empty at start
    std::string form7Text1 = "1";  // Text1 of Form7, "1" when the program starts
};

}  // namespace vornelle
