// DXF import: POLYLINE (with VERTEX and SEQEND), LINE and CIRCLE entities of the ENTITIES
// section become cuts of the drawing; ARC is recognised but cuts nothing; every other entity
// is skipped and counted. Two passes: the DXF file to the scratch file tempX of value pairs,
// then tempX to drawing records.
#pragma once

#include <map>
#include <string>

#include "base/message.h"
#include "drawing/drawing.h"

namespace vornelle {

struct ImportResult {
    bool ok = false;
    Message message;                      // the refusal or failure, when not ok
    std::map<std::string, long> skipped;  // entities of ENTITIES that gave no cut, by type
};

// Imports `path` into `d`. The drawing is replaced only on success; on failure it stays as
// it was and the message says why. `workFolder` (ending in '/') receives tempX.
ImportResult importDxf(const std::string& path, const std::string& workFolder, Drawing& d);

// The coordinate text of the drawing for a DXF value: a point at position 2, 3 or 4 becomes
// a comma, a point further on stays.
std::string dxfPoint(std::string_view text);

}  // namespace vornelle
