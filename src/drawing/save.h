// "Sauver" of the drawing page: the name checks, then the drawing written as NAME.fra and
// remembered as the last saved FRA path.
#pragma once

#include <string>

#include "base/message.h"
#include "drawing.h"
#include "shared.h"

namespace vornelle {

struct SaveResult {
    bool ok = false;
    Message message;
    std::string path;
};

SaveResult saveDrawing(const Drawing& d, const std::string& name, DrawingShared& shared);

}  // namespace vornelle
