// Arrow moves and homing against the simulated machine, with a pacer that records counts.
#include "manual/motion.h"

#include <gtest/gtest.h>

#include "port/backends/simulatedmachine.h"
#include "testsupport.h"

using namespace vornelle;

namespace {
struct Rig {
    SimulatedMachine machine;
    test::ScriptedYield yield;
    test::RecordingPacer pacer;
    double V = 20;
    std::string c = "0,01";
    bool stop = false;
    MoveContext ctx{
        machine, 888, yield, pacer, [this] { return V; }, [this] { return c; }, [this] { return stop; }};
    Rig() {
        Wiring w;
        w.dir[0] = 1, w.clk[0] = 2, w.dir[1] = 4, w.clk[1] = 8, w.dir[2] = 64, w.clk[2] = 128;
        machine.setWiring(w);
    }
    std::vector<int> pairs(int a, int b, int n) {
        std::vector<int> v;
        for (int i = 0; i < n; ++i) v.push_back(a), v.push_back(b);
        return v;
    }
};
}  // namespace

TEST(Jog, ArrowBytesAndCountsFollowTheTable) {
    Rig r;
    ASSERT_TRUE(jog(r.ctx, Arrow::Command10, "120", "1", 1, 2, false));
    EXPECT_EQ(r.machine.values(), r.pairs(1, 3, 120));
    EXPECT_EQ(r.yield.count, 240);  // a yield after every write
    ASSERT_EQ(r.pacer.counts.size(), 240u);
    EXPECT_EQ(r.pacer.counts[0], 1900u);

    r.machine.clear();
    ASSERT_TRUE(jog(r.ctx, Arrow::Command11, "120", "1", 1, 2, false));
    EXPECT_EQ(r.machine.values(), r.pairs(0, 2, 120));
    // Ticking the X box swaps the two arrows.
    r.machine.clear();
    ASSERT_TRUE(jog(r.ctx, Arrow::Command10, "120", "1", 1, 2, true));
    EXPECT_EQ(r.machine.values(), r.pairs(0, 2, 120));
    r.machine.clear();
    ASSERT_TRUE(jog(r.ctx, Arrow::Command11, "120", "1", 1, 2, true));
    EXPECT_EQ(r.machine.values(), r.pairs(1, 3, 120));

    // Z: up with the box clear drives DIR low, down drives it high.
    r.machine.clear();
    ASSERT_TRUE(jog(r.ctx, Arrow::Command8, "1", "1", 64, 128, false));
    EXPECT_EQ(r.machine.values(), r.pairs(0, 128, 1));
    r.machine.clear();
    ASSERT_TRUE(jog(r.ctx, Arrow::Command9, "1", "1", 64, 128, false));
    EXPECT_EQ(r.machine.values(), r.pairs(64, 192, 1));
    // Y right with the box clear: DIR high.
    r.machine.clear();
    ASSERT_TRUE(jog(r.ctx, Arrow::Command6, "1", "2", 4, 8, false));
    EXPECT_EQ(r.machine.values(), r.pairs(4, 12, 2));
}

TEST(Jog, DistanceAndStepsPerMmConversions) {
    Rig r;
    ASSERT_TRUE(jog(r.ctx, Arrow::Command10, "100,5", "2", 1, 2, false));
    EXPECT_EQ(r.machine.writeCount(), 402);  // 201 steps
    r.machine.clear();
    ASSERT_TRUE(jog(r.ctx, Arrow::Command10, "10", "2,5", 1, 2, false));
    EXPECT_EQ(r.machine.writeCount(), 40);  // 2,5 mm moves 2 mm
    r.machine.clear();
    ASSERT_TRUE(jog(r.ctx, Arrow::Command10, "100,25", "1", 1, 2, false));
    EXPECT_EQ(r.machine.steps(0), 100);
    r.machine.clear();
    ASSERT_TRUE(jog(r.ctx, Arrow::Command10, "0,5", "1", 1, 2, false));
    EXPECT_EQ(r.machine.writeCount(), 0);

    // Texts that are not numbers: a message and no write.
    r.machine.clear();
    Status s = jog(r.ctx, Arrow::Command10, "10", "x", 1, 2, false);
    EXPECT_FALSE(s);
    EXPECT_NE(s.message.find("Distance"), std::string::npos);
    s = jog(r.ctx, Arrow::Command10, "120.5", "1", 1, 2, false);
    EXPECT_NE(s.message.find("pas par mm"), std::string::npos);
    r.c = "x";
    s = jog(r.ctx, Arrow::Command10, "10", "1", 1, 2, false);
    EXPECT_NE(s.message.find("Coefficient"), std::string::npos);
    r.c = "0";
    EXPECT_FALSE(jog(r.ctx, Arrow::Command10, "10", "1", 1, 2, false));
    EXPECT_EQ(r.machine.writeCount(), 0);
}

TEST(Jog, SpeedAndCoefficientAreReadAtEveryPauseAndStopEndsTheMove) {
    Rig r;
    // After the fourth yield the user moves the scroll bar to 1.
    r.yield.onYield = [&r] {
        if (r.yield.count == 4) r.V = 1;
    };
    ASSERT_TRUE(jog(r.ctx, Arrow::Command10, "3", "1", 1, 2, false));
    EXPECT_EQ(r.pacer.counts, (std::vector<uint64_t>{1900, 1900, 1900, 1, 1, 1}));

    // The coefficient becomes unusable in the middle: the move ends with a message.
    Rig bad;
    bad.yield.onYield = [&bad] {
        if (bad.yield.count == 3) bad.c = "";
    };
    Status s = jog(bad.ctx, Arrow::Command10, "10", "1", 1, 2, false);
    EXPECT_FALSE(s);
    EXPECT_EQ(bad.machine.writeCount(), 3);

    // "Arrêt" pressed during the second step: the move ends before the third.
    Rig stop;
    stop.yield.onYield = [&stop] {
        if (stop.yield.count == 3) stop.stop = true;
    };
    EXPECT_TRUE(jog(stop.ctx, Arrow::Command10, "10", "1", 1, 2, false));
    EXPECT_EQ(stop.machine.writeCount(), 4);
}

TEST(Homing, FourPhasesAgainstTheSwitches) {
    Rig r;
    r.machine.setSwitches({-30, -50, -10, -4});
    HomingSetup h;
    h.dir[0] = 1, h.clk[0] = 2, h.dir[1] = 4, h.clk[1] = 8, h.dir[2] = 64, h.clk[2] = 128;
    h.descenteZ = "5";
    h.stepsPerMmZ = "200";
    ASSERT_TRUE(home(r.ctx, h));
    EXPECT_EQ(r.machine.position(0), -30);
    EXPECT_EQ(r.machine.position(1), -50);
    EXPECT_EQ(r.machine.steps(0), 30);
    EXPECT_EQ(r.machine.steps(1), 50);  // Y went on alone after X reached its switch
    // Up 10, down 6 to the zero switch, then up 5 x 200 = 1000 steps.
    EXPECT_EQ(r.machine.steps(2), 10 + 6 + 1000);
    EXPECT_EQ(r.machine.position(2), -4 - 1000);
    // The last 1000 pairs are the Z up move with DIR high.
    auto v = r.machine.values();
    EXPECT_EQ(v[v.size() - 2], 64);
    EXPECT_EQ(v.back(), 192);

    // Switch already closed: still one Z step up before going on; X and Y already home.
    Rig closed;
    closed.machine.setSwitches({0, 0, 0, 2});
    h.descenteZ = "0";
    ASSERT_TRUE(home(closed.ctx, h));
    EXPECT_EQ(closed.machine.steps(0), 0);
    EXPECT_EQ(closed.machine.steps(1), 0);
    EXPECT_EQ(closed.machine.steps(2), 1 + 3);

    // Machine inversion flags reverse every phase; the machine decodes with the same flags.
    Rig inv;
    Wiring w = inv.machine.wiring();
    w.inv[0] = w.inv[1] = w.inv[2] = true;
    inv.machine.setWiring(w);
    inv.machine.setSwitches({-3, -2, -2, -1});
    h.inv[0] = h.inv[1] = h.inv[2] = true;
    h.descenteZ = "2,7";  // leading number: 2 mm
    h.stepsPerMmZ = "1,5";
    ASSERT_TRUE(home(inv.ctx, h));
    EXPECT_EQ(inv.machine.position(0), -3);
    EXPECT_EQ(inv.machine.position(1), -2);
    EXPECT_EQ(inv.machine.position(2), -1 - 3);
    EXPECT_EQ(inv.machine.values()[0], 0);  // Z up with Z inverted: DIR low

    // A switch that never closes: "Arrêt" ends the homing.
    Rig endless;
    endless.machine.setSwitches({-1000000000, 0, -1, 0});
    endless.yield.onYield = [&endless] {
        if (endless.yield.count == 5000) endless.stop = true;
    };
    h = HomingSetup{};
    h.dir[0] = 1, h.clk[0] = 2, h.dir[1] = 4, h.clk[1] = 8, h.dir[2] = 64, h.clk[2] = 128;
    h.stepsPerMmZ = "1";
    EXPECT_TRUE(home(endless.ctx, h));
    EXPECT_LT(endless.machine.steps(0), 2000);

    Rig badZ;
    h.stepsPerMmZ = "abc";
    EXPECT_FALSE(home(badZ.ctx, h));
    EXPECT_EQ(badZ.machine.writeCount(), 0);
}
