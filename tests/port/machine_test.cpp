// The machine service's step count: it must agree with what the drivers took, whatever the
// wiring, across jobs, and move nothing for a byte the port refused.
#include "port/machine.h"

#include <gtest/gtest.h>

#include <random>

#include "port/portfault.h"
#include "testsupport.h"

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

TEST(MachinePort, ALostRealPortRefusesMotionUntilTheOperatorChoosesTheSimulatedMachine) {
    PortSelector ports(true);
    SimulatedMachine* real = nullptr;
    int opened = 0;
    ports.setOpener([&](const std::string&) -> Outcome<std::unique_ptr<PortLibrary>> {
        if (++opened > 1) return Failure{"aucun périphérique /dev/parport0"};  // unplugged
        auto port = std::make_unique<SimulatedMachine>();
        real = port.get();
        return std::unique_ptr<PortLibrary>(std::move(port));
    });
    Machine machine(ports);
    auto write = [](JobContext& ctx) { ctx.port.Write_Port_Bit(888, 2); };
    ASSERT_TRUE(machine.start(888, Wiring{}, write, {}));
    machine.wait();
    ASSERT_NE(real, nullptr);
    real->failAtWrite(real->writeCount() + 1);
    ASSERT_TRUE(machine.start(888, Wiring{}, write, {}));
    machine.wait();  // the port fault gives the adapter up

    // No silent fall-back: every start is refused, and the page's check says why.
    EXPECT_FALSE(machine.start(888, Wiring{}, write, {}));
    EXPECT_NE(ports.lostPort().find("aucun périphérique"), std::string::npos);
    test::ScriptedDialogs dialogs;
    dialogs.answers = {Button::No};
    EXPECT_FALSE(portReady(machine, dialogs, 888, Wiring{}));
    EXPECT_EQ(dialogs.calls.back().title, "Port parallèle");
    EXPECT_EQ(ports.simulated().writeCount(), 0);
    // The operator's explicit choice.
    EXPECT_TRUE(portReady(machine, dialogs, 888, Wiring{}));
    ASSERT_TRUE(machine.start(888, Wiring{}, write, {}));
    machine.wait();
    EXPECT_EQ(ports.simulated().writeCount(), 1);
    EXPECT_EQ(opened, 2);  // not tried again once the simulated machine was chosen
}

TEST(MachinePort, APageMadeAgainLeavesNoListenerBehind) {
    PortSelector ports(false);
    Machine machine(ports);
    int told = 0;
    int first = machine.onBusyChanged([&told](bool) { ++told; });
    machine.removeBusyListener(first);
    machine.onBusyChanged([&told](bool) { ++told; });
    EXPECT_EQ(machine.busyListeners(), 1u);
    ASSERT_TRUE(machine.start(888, Wiring{}, [](JobContext&) {}, {}));
    machine.wait();
    EXPECT_EQ(told, 2);  // busy, then idle: once each
}

}  // namespace
}  // namespace vornelle
