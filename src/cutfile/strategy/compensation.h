// Tool diameter compensation: each closed contour of the drawing turned into the path of the
// tool's centre, half the diameter outside or inside it (round joins, as the cutter's own
// shape leaves them), holes told from outlines by how many contours enclose them; contours
// the tool cannot enter, or whose paths would cut into each other, reported by cut number.
#pragma once

#include <string>
#include <vector>

#include "drawingcuts.h"
#include "settings.h"

namespace vornelle {

enum class CutSide { Outside, Inside, OnLine };

struct ToolPath {
    std::vector<Pt> pts;  // the tool's centre; a closed path ends on its first point
    bool closed = false;
    CutSide side = CutSide::OnLine;
    bool hole = false;        // inside an odd number of closed contours
    bool pocket = false;      // bounds a pocket of the tool's region: the part lies outside it
    Pt entry;                 // the drawing's entry point of the cut
    std::vector<Pt> corners;  // corners of the drawn contour sharper than 90°
    double zFlag = 1;
};

struct CompensationReport {
    int outside = 0, inside = 0, onLine = 0, open = 0;  // contours cut each way (open ones on the line)
    std::vector<int> tooSmallHoles, tooSmallOthers;     // the tool cannot enter them
    std::vector<std::vector<int>> merged;               // closer than the tool: cut as one path
    std::vector<int> crowded;                           // too close to the contour around them
    // Every cut number not cut on its own, in increasing order.
    std::vector<int> notCut() const;
};

struct Compensated {
    std::vector<std::vector<ToolPath>> pathsOf;  // per cut of the drawing, the paths cut there
    CompensationReport report;
};

// The paths of every cut for the settings' diameter and compensation (none: on the line). The
// failure's French message, empty on success.
std::string compensate(const std::vector<DrawingCut>& cuts, const StrategySettings& s, Compensated& out);

// The corners of a drawn contour where the path turns by more than 90°.
std::vector<Pt> sharpCorners(const std::vector<Pt>& contour, bool closed);

}  // namespace vornelle
