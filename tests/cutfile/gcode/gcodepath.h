// Checks a cut file made from G-code against the program itself: the cut file decoded as the
// run plays it, every tick compared with the move it belongs to (straight line, arc or helix),
// within the arc tolerance plus 1,5 steps per axis, and the end where the program ends.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace vornelle::test {

struct PathCheck {
    double stepsPerMm = 100;  // every axis
    double scale = 1;
    double tolerance = 0.01;  // mm
    double tickSeconds = 0;   // length of an idle tick of a dwell
};

::testing::AssertionResult followsProgram(const std::string& def, const std::string& program,
                                          const PathCheck& c);

}  // namespace vornelle::test
