// The home check: two homings on the simulated machine around a job, the switches' closures
// compared with the steps counted in between, and the verdict's wording.
#include "manual/homecheck.h"

#include <gtest/gtest.h>

#include "port/backends/simulatedmachine.h"
#include "port/countingport.h"
#include "testsupport.h"

using namespace vornelle;

TEST(HomeCheck, VerdictWithinTheRepeatabilityOrAxisByAxis) {
    const std::array<double, 3> spmm = {120, 200, 400};
    struct Case {
        SwitchMarks after;
        long repeatability;
        std::string verdict;
    };
    const Case cases[] = {
        {{0, 0, 0}, 0, "Aucun pas perdu"},
        {{2, -2, 1}, 2, "Aucun pas perdu"},
        {{37, 0, 0}, 2, "X a perdu 37 pas (0,31 mm) : réduisez la vitesse ou l'accélération"},
        {{-37, 3, 400},
         2,
         "X a perdu 37 pas (0,31 mm), Y a perdu 3 pas (0,02 mm), Z a perdu 400 pas (1,00 mm) : réduisez la "
         "vitesse ou l'accélération"},
    };
    for (const Case& c : cases) {
        HomeCheck h = compareHomings({0, 0, 0}, c.after, c.repeatability, spmm);
        EXPECT_EQ(h.verdict, c.verdict);
        EXPECT_EQ(h.drift, c.after);
        EXPECT_EQ(h.lost, c.verdict != "Aucun pas perdu");
    }
    EXPECT_FALSE(repeatabilitySteps("2,5"));
    EXPECT_FALSE(repeatabilitySteps("-1"));
    EXPECT_EQ(*repeatabilitySteps("3"), 3);
}

TEST(HomeCheck, StepsLostBetweenTwoHomingsAreFoundAndNoneWithout) {
    // Every 10th step of X towards plus lost during the jog only: 100 out lose 10.
    for (long every : {0L, 10L}) {
        SimulatedMachine machine;
        machine.setSwitches({-30, -50, -10, -4});
        Wiring w;
        CountingPort counter;
        counter.attach(machine, w);
        test::ScriptedYield yield;
        test::RecordingPacer pacer;
        MoveContext m{counter, 888, yield, pacer, [] { return 2.0; }, [] { return std::string("0,5"); }};
        HomingSetup h;
        for (int a = 0; a < 3; ++a) h.dir[a] = w.dir[a], h.clk[a] = w.clk[a];
        h.descenteZ = "1";
        h.stepsPerMmZ = "3";
        auto counted = [&] { return counter.position(); };
        auto before = markedHoming(m, h, counted);
        ASSERT_TRUE(before) << before.error();
        EXPECT_EQ((*before)[0], -30);
        machine.loseSteps(0, every);
        machine.setLosing(true);
        ASSERT_TRUE(emitSteps(m, stepBytes(w.dir[0], w.clk[0], false), 100));
        ASSERT_TRUE(emitSteps(m, stepBytes(w.dir[0], w.clk[0], true), 100));
        machine.setLosing(false);
        // X is back on its switch as far as the count knows: moved off it before homing.
        auto after = markedHoming(m, h, counted);
        ASSERT_TRUE(after) << after.error();
        HomeCheck c = compareHomings(*before, *after, 0, {10, 10, 10});
        EXPECT_EQ(c.drift, (std::array<long, 3>{every ? 10 : 0, 0, 0}));
        EXPECT_EQ(c.details, every ? "X : 10 pas (1,00 mm), Y : 0 pas (0,00 mm), Z : 0 pas (0,00 mm)"
                                   : "X : 0 pas (0,00 mm), Y : 0 pas (0,00 mm), Z : 0 pas (0,00 mm)");
        EXPECT_EQ(c.verdict, every ? "X a perdu 10 pas (1,00 mm) : réduisez la vitesse ou l'accélération"
                                   : "Aucun pas perdu");
    }
}
