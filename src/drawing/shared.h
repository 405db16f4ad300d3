// Drawing values shared between pages: the path of the last FRA file saved, which the tool
// page proposes when it opens. Owned by the application.
#pragma once

#include <string>

namespace vornelle {

struct DrawingShared {
    std::string lastSavedFra;  // empty at start
};

}  // namespace vornelle
