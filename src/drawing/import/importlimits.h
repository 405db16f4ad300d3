// The bounds past which an import takes a file for damaged and refuses it, before anything is
// written: far above any real drawing (the largest samples make a few hundred thousand records),
// far below what would fill a disk or the memory.
#pragma once

#include <cstddef>

namespace vornelle {

// Records of one drawing: 10 million take about 1 GB in memory and 0,5 GB as an FRA file.
constexpr size_t kMaxImportRecords = 10'000'000;

// Largest coordinate or radius, in drawing units: a thousand kilometres even in millimetres.
constexpr double kMaxImportCoordinate = 1e12;

}  // namespace vornelle
