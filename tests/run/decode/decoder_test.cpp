// The decoder against the simulated machine playing the same file through the run, on
// random files, on a real drawing's generated cut file, and a duration worked out by hand.
#include "run/decode/decoder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "cutfilerig.h"

using namespace vornelle;

namespace {

// One cut file played by the run on the simulated machine and decoded with the same setup.
struct Rig : test::RunRig {
    DecoderSetup setup;
    Rig() {
        wire({1, 2, 4, 8, 16, 32, 64, 128}, {false, false, false});
        setup.feedIn = 20, setup.feedOut = 90, setup.c = 0.01;
        setup.stepsPerMm = {2, 4, 10};
    }
    void wire(std::array<int, 8> w, std::array<bool, 3> inv) {
        for (int i = 0; i < 8; ++i) host.f.weights[i] = std::to_string(w[i]);
        Wiring wiring;
        for (int a = 0; a < 3; ++a)
            wiring.dir[a] = w[2 * a], wiring.clk[a] = w[2 * a + 1], wiring.inv[a] = inv[a];
        machine.setWiring(wiring);
        machine.setRecording(false);
        setup.weights = w;
        setup.inv = inv;
    }
    // Plays and decodes; every figure the machine also counts must agree.
    Decoded compare(RunVariant v) {
        RunOutcome o = runCut(services, v);
        EXPECT_TRUE(o.started && !o.stopped);
        setup.variant = v;
        Decoded d = decodeCutFile(host.f.Text9, setup);
        EXPECT_TRUE(d.ok()) << d.error;
        EXPECT_EQ(d.records, o.records);
        for (int a = 0; a < 3; ++a) {
            EXPECT_EQ(d.axes[a].position, machine.position(a)) << "axis " << a;
            EXPECT_EQ(static_cast<long>(d.axes[a].plus + d.axes[a].minus), machine.steps(a)) << "axis " << a;
        }
        // The run's own delays, counted by the pacer, make the decoded duration.
        double counted = 0;
        for (uint64_t n : pacer.counts) counted += n * 10e-9;
        EXPECT_NEAR(d.seconds, counted, 1e-9 * counted);
        return d;
    }
};

}  // namespace

TEST(Decoder, RandomFilesDecodeAsTheMachineStepsForEveryWiringAndVariant) {
    std::mt19937 rng(14);
    std::uniform_int_distribution<int> byte(0, 255);
    struct Case {
        std::array<int, 8> w;
        std::array<bool, 3> inv;
        RunVariant v;
    };
    for (const Case& c : {Case{{1, 2, 4, 8, 16, 32, 64, 128}, {false, false, false}, RunVariant::Command11},
                          Case{{1, 2, 4, 8, 16, 32, 64, 128}, {true, false, true}, RunVariant::Command12},
                          Case{{128, 64, 32, 16, 8, 4, 0, 0}, {false, true, false}, RunVariant::Command11},
                          Case{{2, 1, 8, 4, 32, 16, 0, 0}, {true, true, true}, RunVariant::Command12}}) {
        Rig r;
        r.wire(c.w, c.inv);
        std::vector<int> records(3000);
        for (int& x : records) x = byte(rng);
        r.cut(records);
        Decoded d = r.compare(c.v);
        EXPECT_EQ(d.ticksIn + d.ticksOut, 3000u);
        EXPECT_GT(d.ticksIn, 0u);
        for (int a = 0; a < 3; ++a) {
            EXPECT_LE(d.axes[a].min, d.axes[a].position);
            EXPECT_GE(d.axes[a].max, d.axes[a].position);
        }
    }
}

TEST(Decoder, RealDrawingGeneratedAndPlayedEndsWhereTheMachineEnds) {
    Rig r;
    std::filesystem::create_directories(r.dir.file("work"));
    ASSERT_TRUE(test::saveSquareFra(r.dir.file("work/"), r.dir.file("d.fra")));
    GenerationInput in;
    in.text1 = r.dir.file("d.fra");
    in.Text9 = r.dir.file("piece");
    in.Text7 = "note";
    in.Text4 = "1";
    in.Text12 = "2";
    in.Text6 = "200", in.Text3 = "133,33", in.Text5 = "400";
    in.weights = {"1", "2", "4", "8", "16", "32", "64", "128"};
    in.inversions = {"1", "0", "1"};
    in.Text10 = "20", in.Text11 = "10";
    test::CountingPointer pointer;
    GenerationResult g = generate(in, r.dir.file("work/"), pointer);
    ASSERT_TRUE(g.ok) << g.message.text;
    r.host.f.Text9 = g.defPath;
    r.host.f.Text5 = "400";
    r.wire({1, 2, 4, 8, 16, 32, 64, 128}, {true, false, true});
    r.setup.stepsPerMm = {200, 133.33, 400};
    Decoded d = r.compare(RunVariant::Command12);
    EXPECT_TRUE(d.problems.empty()) << d.problems[0];
    for (int a = 0; a < 3; ++a) EXPECT_EQ(d.axes[a].position, 0);
    EXPECT_GT(d.axes[0].max - d.axes[0].min, 0);
    EXPECT_GT(d.lengthIn, 0);
    EXPECT_GT(d.lengthOut, 0);
    EXPECT_GT(d.axes[2].max, 0);  // it went into the material
}

TEST(Decoder, TinyFileDurationLengthsAndProblemsWorkedOutByHand) {
    Rig r;
    // X step out, Z down (in), X step in, Z up (out), X step out; Command11: down 32, up 48.
    r.cut({2, 32, 2, 48, 2});
    Decoded d = r.compare(RunVariant::Command11);
    // Records 1 to 3 at V = 100 - 20 = 80: 7900 iterations a delay (the counter's sum of 0,01
    // drifts just past 80.00); records 4 and 5 at V = 100 - 90 = 10: 901 (it lands on 10.00).
    // Two delays a record, 10 ns an iteration.
    EXPECT_EQ(*pauseCount(80, 0.01), 7900u);
    EXPECT_EQ(*pauseCount(10, 0.01), 901u);
    EXPECT_NEAR(d.seconds, 2 * (3 * 7900 + 2 * 901) * 10e-9, 1e-12);
    EXPECT_EQ(d.ticksIn, 2u);
    EXPECT_EQ(d.ticksOut, 3u);
    // X at 2 steps per mm, Z at 10.
    EXPECT_NEAR(d.lengthIn, 0.5 + 0.1, 1e-12);
    EXPECT_NEAR(d.lengthOut, 0.5 + 0.1 + 0.5, 1e-12);
    EXPECT_EQ(d.axes[0].position, 3);
    EXPECT_EQ(d.axes[0].plus, 3u);
    EXPECT_EQ(d.axes[2].plus, 1u);
    EXPECT_EQ(d.axes[2].minus, 1u);
    EXPECT_EQ(d.axes[2].max, 1);
    EXPECT_DOUBLE_EQ(d.axes[0].peakRate, 1 / (2 * 901 * 10e-9));
    EXPECT_DOUBLE_EQ(decodedMm(r.setup, 0, d.axes[0].position), 1.5);
    ASSERT_EQ(d.problems.size(), 1u);
    EXPECT_NE(d.problems[0].find("X 3"), std::string::npos);
}

TEST(Decoder, UnwiredLinesBadRecordsAndEmptyFilesAreReported) {
    Rig r;
    r.setup.weights = {1, 2, 4, 8, 16, 32, 0, 0};
    r.cut({2, 64, 128 + 2, 0});
    Decoded d = decodeCutFile(r.host.f.Text9, r.setup);
    ASSERT_TRUE(d.ok());
    ASSERT_EQ(d.problems.size(), 2u);  // X ends at 2 steps; two records on unwired lines
    EXPECT_EQ(d.problems[1].find("2 enregistrements"), 0u);
    test::spit(r.host.f.Text9, "2\r\n300\r\n");
    d = decodeCutFile(r.host.f.Text9, r.setup);
    EXPECT_NE(d.error.find("enregistrement"), std::string::npos) << d.error;
    test::spit(r.host.f.Text9, "");
    EXPECT_NE(decodeCutFile(r.host.f.Text9, r.setup).error.find("vide"), std::string::npos);
    EXPECT_FALSE(decodeCutFile(r.dir.file("none.def"), r.setup).ok());
}
