// The simulated machine decodes rising clock edges with the wiring and inversion flags and
// opens its switches where it is told.
#include "port/backends/simulatedmachine.h"

#include <gtest/gtest.h>

using namespace vornelle;

TEST(SimulatedMachine, RisingEdgesStepTheAxesWithDirectionAndInversion) {
    SimulatedMachine m;
    Wiring w;  // X dir 1 clk 2, Y dir 4 clk 8, Z dir 16 clk 32
    m.setWiring(w);
    // X towards larger (DIR 0), three steps.
    for (int i = 0; i < 3; ++i) {
        m.Write_Port_Bit(888, 0);
        m.Write_Port_Bit(888, 2);
    }
    EXPECT_EQ(m.position(0), 3);
    // Clock held high does not step again.
    m.Write_Port_Bit(888, 2);
    EXPECT_EQ(m.steps(0), 3);
    // Y and Z together, DIR high: towards smaller Y, Z up (negative).
    m.Write_Port_Bit(888, 4 | 16);
    m.Write_Port_Bit(888, 4 | 8 | 16 | 32);
    EXPECT_EQ(m.position(1), -1);
    EXPECT_EQ(m.position(2), -1);
    EXPECT_EQ(m.writeCount(), 9);
    EXPECT_EQ(m.values().back(), 60);
    EXPECT_EQ(m.lastPort(), 888);

    w.inv[0] = true;
    m.setWiring(w);
    m.Write_Port_Bit(888, 0);
    m.Write_Port_Bit(888, 2);
    // The inversion turned the frame round (3 became -3); DIR 0 inverted is towards smaller X.
    EXPECT_EQ(m.position(0), -4);
}

TEST(SimulatedMachine, SwitchesReadOneUntilReached) {
    SimulatedMachine m;
    m.setSwitches({-2, -3, -4, -1});
    EXPECT_EQ(m.Read_Busy(888), 1);
    EXPECT_EQ(m.Read_Pe(888), 1);
    EXPECT_EQ(m.Read_Select(888), 1);
    m.setPosition(-2, -3, -4);
    EXPECT_EQ(m.Read_Busy(888), 0);
    EXPECT_EQ(m.Read_Pe(888), 0);
    EXPECT_EQ(m.Read_Select(888), 0);
    EXPECT_EQ(m.Read_Error(888), 1);
    m.setPosition(0, 0, -1);
    EXPECT_EQ(m.Read_Error(888), 0);
}
