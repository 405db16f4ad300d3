// The machine service's step count: it must agree with what the drivers took, whatever the
// wiring, across jobs, and move nothing for a byte the port refused.
#include "port/machine.h"

#include <gtest/gtest.h>

#include <random>

#include "port/portfault.h"

namespace vornelle {
namespace {

std::array<long, 3> simulated(SimulatedMachine& s) {
    return {s.position(0), s.position(1), s.position(2)};
}

TEST(MachineCount, FollowsTheDriversAcrossWiringsJobsAndFaults) {
    PortSelector ports(false);
    Machine machine(ports);
    std::mt19937 random(7);
    // Four wirings: the usual one, inverted axes, a shared direction line, Z clock missing.
    Wiring wirings[4];
    wirings[1].inv[0] = wirings[1].inv[2] = true;
    wirings[2].dir[1] = 1;
    wirings[3].clk[2] = 0;
    for (const Wiring& w : wirings) {
        ports.simulated().setRecording(false);
        ASSERT_TRUE(machine.start(888, w,
                                  [&](JobContext& ctx) {
                                      for (int i = 0; i < 5000; ++i)
                                          ctx.port.Write_Port_Bit(888, static_cast<int16_t>(random() & 0xff));
                                  },
                                  {}));
        machine.wait();
        EXPECT_EQ(machine.position(), simulated(ports.simulated()));
    }
    EXPECT_EQ(machine.writes(), 20000u);

    // A new origin, then a job whose port fails at its 11th write: ten bytes count.
    machine.setPosition({0, 0, 0});
    ports.simulated().setPosition(0, 0, 0);
    ports.simulated().clear();
    ports.simulated().failAtWrite(11);
    std::string fault;
    ASSERT_TRUE(machine.start(
        888, Wiring{},
        [&](JobContext& ctx) {
            // X forward: clock up, clock down, ten times over.
            for (int i = 0; i < 10; ++i) ctx.port.Write_Port_Bit(888, i % 2 ? 0 : 2);
            ctx.port.Write_Port_Bit(888, 2);
        },
        [&](const std::string& f) { fault = f; }));
    machine.wait();
    EXPECT_FALSE(fault.empty());
    EXPECT_EQ(machine.position(), (std::array<long, 3>{5, 0, 0}));
    EXPECT_EQ(machine.writes(), 20010u);

    // X inverted in the configuration between two jobs: the motor has not moved, the frame
    // has turned round, and a step towards larger X counts up in the new frame.
    machine.setPosition({5, 0, 0});
    Wiring inverted;
    inverted.inv[0] = true;
    ASSERT_TRUE(machine.start(888, inverted, [](JobContext& ctx) { ctx.port.Write_Port_Bit(888, 0); }, {}));
    machine.wait();
    EXPECT_EQ(machine.position(), (std::array<long, 3>{-5, 0, 0}));
    ASSERT_TRUE(machine.start(888, inverted, [](JobContext& ctx) { ctx.port.Write_Port_Bit(888, 1 | 2); }, {}));
    machine.wait();
    EXPECT_EQ(machine.position(), (std::array<long, 3>{-4, 0, 0}));
    ASSERT_TRUE(machine.start(888, Wiring{}, [](JobContext& ctx) { ctx.port.Write_Port_Bit(888, 0); }, {}));
    machine.wait();
    EXPECT_EQ(machine.position(), (std::array<long, 3>{4, 0, 0}));  // one step back, as wired
    machine.setPosition({5, 0, 0});

    // An origin marked (a homing's end) moves the page's frame, not the count's.
    machine.markOrigin();
    EXPECT_EQ(machine.fromOrigin(), (std::array<long, 3>{0, 0, 0}));
    EXPECT_EQ(machine.position(), (std::array<long, 3>{5, 0, 0}));
}

}  // namespace
}  // namespace vornelle
