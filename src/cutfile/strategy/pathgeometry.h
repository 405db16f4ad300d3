// Plane geometry of the tool's paths in millimetres: area and length, the point of a path
// nearest another, and a closed path turned round or started elsewhere without moving it.
// A closed path repeats its first point at its end.
#pragma once

#include <vector>

#include "drawingcuts.h"

namespace vornelle {

// The signed area (mm²) of a closed path, positive when it runs counter-clockwise
// with X to the right and Y up.
double signedArea(const std::vector<Pt>& closed);

double pathLength(const std::vector<Pt>& path);

// The closed path started at its point nearest `p` (a point inserted on an edge when that is
// nearest), same shape and direction.
std::vector<Pt> startNearest(const std::vector<Pt>& closed, Pt p);

// The closed path run the other way from the same start.
std::vector<Pt> reversedClosed(const std::vector<Pt>& closed);

// Where along `path` (mm from its start) its point nearest `p` lies.
double positionNearest(const std::vector<Pt>& path, Pt p);

// Distance of p to the segment ab, and the fraction of ab where its foot lies.
double distanceToSegment(Pt p, Pt a, Pt b, double& t);

}  // namespace vornelle
