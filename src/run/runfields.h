// The tool page's fields as the run's loop uses them, converted once per change: the
// coefficient, the Z steps per mm and clearance, and the port values of the Z moves for the
// run's variant; and the clearance's own check before a run.
#pragma once

#include <string>

#include "runengine.h"

namespace vornelle {

struct FieldValues {
    std::string problem;  // a field that cannot be used: the run stops with this message
    double c = 0;         // coefficient
    double text5 = 0;     // Z steps per mm
    double text8 = 0;     // clearance, mm
    int dirSum = 0;       // DIR lines of the four axes: the first write of a record
    int zMask = 0;        // Z DIR and CLOCK lines
    int downDir = 0, downStep = 0, upDir = 0, upStep = 0;
};

FieldValues convert(const RunFields& f, RunVariant v);

// The scroll-bar position of a feed, as the run sets it.
int toPosition(double feed);

}  // namespace vornelle
