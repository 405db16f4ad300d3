// Step bytes, the pause count, the coefficient check, the virtual clock and the ppdev device
// choice.
#include "port/step.h"
#include "port/virtualclock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "port/portselector.h"
#include "port/backends/ppdevport.h"
#include "testsupport.h"

using namespace vornelle;

TEST(StepBytes, LowByteSetsDirHighByteAddsClock) {
    StepBytes hi = stepBytes(1, 2, true);  // X DIR pin 2, CLOCK pin 3
    EXPECT_EQ(hi.octetBas, 1);
    EXPECT_EQ(hi.octetHaut, 3);
    StepBytes lo = stepBytes(1, 2, false);
    EXPECT_EQ(lo.octetBas, 0);
    EXPECT_EQ(lo.octetHaut, 2);
    StepBytes z = stepBytes(64, 128, true);  // Z DIR pin 8, CLOCK pin 9
    EXPECT_EQ(z.octetBas, 64);
    EXPECT_EQ(z.octetHaut, 192);
}

TEST(PauseCount, RepeatedDoubleAddition) {
    EXPECT_EQ(pauseCount(20, 0.01), 1900u);
    EXPECT_EQ(pauseCount(1, 0.01), 1u);
    EXPECT_EQ(pauseCount(1, 5), 1u);
    EXPECT_EQ(pauseCount(0, 0.01), 0u);
    EXPECT_EQ(pauseCount(2, 0.5), 3u);
    EXPECT_FALSE(pauseCount(20, 0));
    EXPECT_FALSE(pauseCount(20, -0.01));
    EXPECT_FALSE(pauseCount(20, 1e-18));  // the counter would never pass 20
    // The count follows the accumulated sum, not (V - 1) / c + 1 computed exactly.
    double counter = 1;
    uint64_t n = 0;
    while (counter <= 80) ++n, counter += 0.03;
    EXPECT_EQ(pauseCount(80, 0.03), n);
}

TEST(Coefficient, RefusesTextsThatMakeNoPause) {
    EXPECT_EQ(*coefficient("0,01"), 0.01);
    for (const char* bad : {"x", "", "0", "-0,5", "0.01", "1E-300"}) {
        auto c = coefficient(bad);
        EXPECT_FALSE(c) << bad;
        EXPECT_NE(c.error().find("Coefficient vitesse"), std::string::npos);
    }
    CountedPause pause;
    std::string error;
    EXPECT_FALSE(pause.attentePas(20, 0, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(pause.attentePas(1, 0.01, error));  // 10 ns
    EXPECT_EQ(pause.count(20, 0.01), 1900u);
}

TEST(CountedPause, KeepsItsScheduleWithoutEverCatchingUp) {
    using namespace std::chrono;
    // A clock that the test moves; every reading also moves it on by 100 ns, so waits end.
    CountedPause::Clock::time_point t{};
    CountedPause pause([&t] { return t += nanoseconds(100); });
    std::string error;
    const nanoseconds d = 1900 * CountedPause::kIteration;  // V = 20, c = 0,01: 19 us
    ASSERT_TRUE(pause.attentePas(20, 0.01, error));
    auto first = pause.lastDeadline();
    EXPECT_GE(t, first);
    // Small work between pauses: the deadlines follow each other exactly one pause apart.
    for (int i = 1; i <= 5; ++i) {
        t += microseconds(2);
        ASSERT_TRUE(pause.attentePas(20, 0.01, error));
        EXPECT_EQ(pause.lastDeadline(), first + i * d);
    }
    // Work longer than half a pause: this write is still held half a pause.
    auto before = pause.lastDeadline();
    t = before + microseconds(15);
    auto start = t + nanoseconds(100);
    ASSERT_TRUE(pause.attentePas(20, 0.01, error));
    EXPECT_EQ(pause.lastDeadline(), start + d / 2);
    // Late by more than a pause: a new schedule from now, no burst to catch up.
    t = pause.lastDeadline() + milliseconds(3);
    start = t + nanoseconds(100);
    ASSERT_TRUE(pause.attentePas(20, 0.01, error));
    EXPECT_EQ(pause.lastDeadline(), start + d);
    // A pause of no iteration does not move the schedule.
    auto last = pause.lastDeadline();
    ASSERT_TRUE(pause.attentePas(0, 0.01, error));
    EXPECT_EQ(pause.lastDeadline(), last);
}

TEST(Ppdev, DeviceFromBaseAddressAndClearOpenFailure) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.file("proc/parport0"));
    std::filesystem::create_directories(dir.file("proc/parport3"));
    test::spit(dir.file("proc/parport0/base-addr"), "888\t1912\n");
    test::spit(dir.file("proc/parport3/base-addr"), "632\t1656\n");
    EXPECT_EQ(parportDevice(632, dir.file("proc"), "/dev/"), "/dev/parport3");
    EXPECT_EQ(parportDevice(888, dir.file("proc"), "/dev/"), "/dev/parport0");
    EXPECT_EQ(parportDevice(632, dir.file("none"), "/dev/"), "/dev/parport1");
    EXPECT_EQ(parportDevice(888, dir.file("none"), "/dev/"), "/dev/parport0");

    auto p = PpdevPort::open(dir.file("parport9"));
    ASSERT_FALSE(p);
    EXPECT_NE(p.error().find(dir.file("parport9")), std::string::npos);
    EXPECT_NE(p.error().find("ppdev"), std::string::npos);
    // A file that is not a parallel port cannot be claimed.
    test::spit(dir.file("fake"), "");
    auto q = PpdevPort::open(dir.file("fake"));
    ASSERT_FALSE(q);
    EXPECT_NE(q.error().find("PPCLAIM"), std::string::npos);
}

TEST(PortSelector, FallsBackToTheSimulatedMachineAndSaysSo) {
    PortSelector ports(false);
    std::vector<std::string> seen;
    ports.onChange([&seen](const std::string& d, const std::string& problem, bool) {
        seen.push_back(d);
        EXPECT_TRUE(problem.empty());  // not tried
    });
    PortLibrary& p = ports.select(888, Wiring{});
    EXPECT_EQ(&p, &ports.simulated());
    ports.select(888, Wiring{});
    ports.select(632, Wiring{});
    EXPECT_EQ(seen, (std::vector<std::string>{"Port simulé (aucun port parallèle)",
                                              "Port simulé (aucun port parallèle)"}));
}

TEST(VirtualClock, AddsEveryPauseFromTheFirstWriteAsTheRunLengthensIt) {
    VirtualClock clock;
    std::string error;
    ASSERT_TRUE(clock.attentePas(20, 0.01, error));
    EXPECT_EQ(clock.now(), 0u);  // before the first write
    clock.start();
    const struct {
        double factor;
        uint64_t iterations;
    } cases[] = {{1, 1900}, {2.5, 4750}, {1.3, lengthened(1900, 1.3)}, {0.5, 1900}};
    uint64_t expected = 0;
    for (const auto& c : cases) {
        ASSERT_TRUE(clock.attenteRythmee(20, 0.01, c.factor, error));
        EXPECT_GE(c.iterations, static_cast<uint64_t>(1900 * std::max(c.factor, 1.0)));
        expected += c.iterations * 10;
        EXPECT_EQ(clock.now(), expected) << c.factor;
    }
    EXPECT_FALSE(clock.attentePas(20, 0, error));
    EXPECT_NE(error.find("Coefficient vitesse"), std::string::npos);
    EXPECT_EQ(clock.now(), expected);
}
