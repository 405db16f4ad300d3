// Time a cut file takes, or has left, at given feeds, from its records in and out of the
// material: each record is two counted pauses at the pace of its state, and the records
// before the first material change play at the in-material pace, as the run starts. With a
// pacing file, from its runs instead: their feed column and pause factors.
#pragma once

#include <cstdint>
#include <optional>

#include "decoder.h"

namespace vornelle {

// Seconds of one record (two pauses of 10 ns iterations) at feed 0..100 and coefficient c;
// no value when c allows no pause.
std::optional<double> recordSeconds(double feed, double c);

// Seconds left once `doneIn` records in the material and `doneOut` out of it have played
// (as the run counts them), at the feeds now set; no value when c allows no pause.
std::optional<double> secondsLeft(const Decoded& d, uint64_t doneIn, uint64_t doneOut, double feedIn,
                                  double feedOut, double c);

// The same for a cut with a pacing file, once `done` records have played from the cut's
// start: each record at the feed of its column (M in, H out of the material) now set, its
// pauses lengthened by its run's factor.
std::optional<double> secondsLeft(const Pacing& p, uint64_t done, double feedIn, double feedOut, double c);

}  // namespace vornelle
