// Stopping a cut and taking it up again: the two halves write exactly the bytes of one
// uninterrupted run, whatever record the stop falls on; the .reprise file refuses another or
// a changed cut file; the machine is brought back to the stop when it was moved since.
#include <gtest/gtest.h>

#include "base/files.h"
#include "cutfilerig.h"
#include "manual/motion.h"
#include "run/bringback.h"
#include "run/resumefile.h"

using namespace vornelle;

namespace {

// One program session on the simulated machine: its own flags, panel and dialogs.
struct Session : test::RunSession {
    explicit Session(const std::string& cut, const std::string& feedOut = "90") : RunSession(cut) {
        host.f.Text5 = "3";
        host.f.Text11 = feedOut;
        yield.onYield = [this] { material.push_back(state.horsmatiere); };
    }
    std::vector<int> material;  // the material state at each yield of the record loop
    std::array<long, 3> position() const {
        return {machine.position(0), machine.position(1), machine.position(2)};
    }
    // The cut from the start, or from its .reprise, stopping after `stopAfter` records.
    RunOutcome play(bool resume, uint64_t stopAfter = UINT64_MAX) {
        std::optional<RunPlan> plan;
        if (resume) {
            auto point = readResume(host.f.Text9);
            EXPECT_TRUE(point.ok()) << point.error();
            if (!point) return {};
            machine.setPosition(point->position[0], point->position[1], point->position[2]);
            plan = prepareResume(services, RunVariant::Command11, *point);
        } else {
            plan = prepareRun(services, RunVariant::Command11);
        }
        EXPECT_TRUE(plan.has_value());
        if (!plan) return {};
        plan->stopAfter = stopAfter;
        beginRun(services);
        PlayResult played = playRun(services, *plan);
        RunOutcome o = finishRun(services, *plan, played);
        EXPECT_TRUE(keepResumePoint(state, *plan, played, o, host.position, position()).ok());
        return o;
    }
};

const int kDown = 32, kUp = 48, kX = 2, kY = 8, kXback = 3;

// Travel, plunge, cut along X and Y, lift, travel back, a second plunge and lift, home.
std::vector<int> sampleCut() {
    return {kX, kX, kY, kDown, kDown, kX, kX | kY, kY, kUp, kUp, kXback, kDown, kXback, kUp, kXback, kY | 4};
}

template <class T>
std::vector<T> joined(std::vector<T> a, const std::vector<T>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(Resume, EveryStopPointResumedWritesTheUninterruptedBytesAtTheSamePace) {
    test::TempDir dir;
    std::string cut = dir.file("c.def");
    std::vector<int> records = sampleCut();
    test::writeCut(cut, records);
    // Without a pacing file, then with one whose runs each lengthen their pauses by a factor of
    // their own and whose feed column departs from the Z steps in places; once more at one feed
    // in and out of the material, the scroll bar then telling nothing of the column at the stop.
    using F = PacingFeed;
    const struct {
        std::vector<PacingRun> runs;
        std::string feedOut;
    } pacings[] = {
        {{}, "90"},
        {{{3, 1.25, F::Out}, {5, 1.5, F::In}, {3, 2, F::Out}, {2, 3, F::In}, {3, 1, F::Out}}, "90"},
        {{{3, 1.25, F::In}, {5, 1.5, F::In}, {3, 2, F::Out}, {2, 3, F::In}, {3, 1, F::Out}}, "20"},
    };
    std::vector<uint64_t> unpaced;
    for (const auto& [runs, feedOut] : pacings) {
        SCOPED_TRACE((runs.empty() ? "no pacing file, " : "pacing file, ") + feedOut);
        if (!runs.empty()) {
            ASSERT_TRUE(writePacing(pacingPathFor(cut), {*cutStampOf(cut), runs}).ok());
        }
        Session whole(cut, feedOut);
        ASSERT_FALSE(whole.play(false).stopped);
        EXPECT_FALSE(hasResume(cut));
        if (runs.empty())
            unpaced = whole.pacer.counts;
        else
            EXPECT_NE(whole.pacer.counts, unpaced);  // the pacing file is followed

        for (uint64_t n = 0; n <= records.size(); ++n) {
            SCOPED_TRACE("stop after " + std::to_string(n));
            Session first(cut, feedOut);
            RunOutcome a = first.play(false, n);
            EXPECT_TRUE(a.stopped);
            EXPECT_EQ(first.dialogs.calls.back().text, "Découpe arretée !");
            ASSERT_TRUE(hasResume(cut));
            // Another program session: nothing kept in memory but the file.
            Session second(cut, feedOut);
            RunOutcome b = second.play(true);
            EXPECT_FALSE(b.stopped);
            EXPECT_EQ(a.records + b.records, records.size());
            EXPECT_EQ(second.dialogs.calls[0].text, "Reprendre la découpe à l'enregistrement " +
                                                        std::to_string(n) + " sur " +
                                                        std::to_string(records.size()) + " ?");
            EXPECT_EQ(second.dialogs.calls.back().text, "découpe terminée !");
            EXPECT_EQ(joined(first.machine.values(), second.machine.values()), whole.machine.values());
            EXPECT_EQ(joined(first.pacer.counts, second.pacer.counts), whole.pacer.counts);
            EXPECT_EQ(second.position(), whole.position());
            EXPECT_EQ(joined(first.material, second.material), whole.material);
            EXPECT_FALSE(hasResume(cut));  // the normal end removed it
        }
    }
}

TEST(Resume, StopRightAfterAPauseOrADeeperRequestThenAgainAfterTheResume) {
    test::TempDir dir;
    std::string cut = dir.file("c.def");
    std::vector<int> records = sampleCut();
    test::writeCut(cut, records);
    // Requests pressed during record 6 (in the material): a pause, or "+ profond".
    for (bool pause : {true, false}) {
        SCOPED_TRACE(pause ? "pause" : "+ profond");
        auto press = [pause](Session& s, bool stop) {
            s.yield.onYield = [&s, pause, stop] {
                if (s.machine.writeCount() == 12) {
                    if (pause)
                        s.state.pause = 1, s.state.reprise = 1;
                    else
                        s.state.profplus = 1;
                }
                // The stop once the request's Z move is made: the pause's lift of 6 steps, or
                // the millimetre deeper (3 steps).
                if (stop && s.machine.writeCount() == (pause ? 24 : 18)) s.state.arret = 1;
            };
        };
        Session whole(cut);
        press(whole, false);
        whole.play(false);
        Session first(cut);
        press(first, true);
        EXPECT_TRUE(first.play(false).stopped);
        auto point = readResume(cut);
        ASSERT_TRUE(point.ok());
        EXPECT_EQ(point->played, 6u);
        EXPECT_EQ(point->horsmatiere, 0);
        // The stop during the pause left the tool up: the resume lowers it first.
        EXPECT_EQ(point->lifted, pause ? 6 : 0);
        // Stopped again two records later, and resumed once more.
        Session second(cut);
        EXPECT_TRUE(second.play(true, 8).stopped);
        Session third(cut);
        EXPECT_FALSE(third.play(true).stopped);
        EXPECT_EQ(joined(joined(first.machine.values(), second.machine.values()), third.machine.values()),
                  whole.machine.values());
        EXPECT_EQ(third.position(), whole.position());
        EXPECT_EQ(whole.position()[2], pause ? 0 : 3);  // one millimetre deeper stays deeper
    }
}

TEST(Resume, AnotherOrAChangedCutFileIsRefusedWithAMessage) {
    test::TempDir dir;
    std::string cut = dir.file("c.def");
    test::writeCut(cut, sampleCut());
    Session first(cut);
    first.play(false, 5);
    ASSERT_TRUE(readResume(cut).ok());
    EXPECT_EQ(resumePathFor(cut), dir.file("c.reprise"));
    EXPECT_EQ(resumePathFor(dir.file("C.DEF")), dir.file("C.reprise"));
    EXPECT_EQ(resumePathFor(dir.file("sans")), dir.file("sans.reprise"));

    // c (no extension) shares c.reprise with c.def: the file says whose it is.
    test::spit(dir.file("c"), "2\r\n");
    auto other = readResume(dir.file("c"));
    ASSERT_FALSE(other.ok());
    EXPECT_EQ(other.error(), "La reprise " + dir.file("c.reprise") +
                                 " est celle du fichier découpe c.def, pas de c : elle ne peut pas servir.");

    // One record changed, same size: the digest tells.
    std::string text = test::slurp(cut);
    text[0] = '3';
    test::spit(cut, text);
    auto changed = readResume(cut);
    ASSERT_FALSE(changed.ok());
    EXPECT_EQ(changed.error(),
              "Le fichier découpe c.def a changé depuis l'interruption : la découpe ne peut pas "
              "être reprise.");

    // A damaged file is refused, not half read.
    test::spit(dir.file("c.reprise"), "vornelle-reprise 1\nfichier=c.def\ntaille=12\n");
    auto damaged = readResume(cut);
    ASSERT_FALSE(damaged.ok());
    EXPECT_NE(damaged.error().find("Fichier de reprise illisible"), std::string::npos);
}

TEST(Resume, ARunThatDiesLeavesNoResumePointAndAnotherFrameIsRefused) {
    test::TempDir dir;
    std::string cut = dir.file("c.def");
    test::writeCut(cut, sampleCut());
    Session first(cut);
    first.play(false, 3);
    ASSERT_TRUE(readResume(cut).ok());
    // The same cut again from the start, the program killed at record 8: it never gets to
    // keep its resume point, and the stop at record 3 must not be replayed from here.
    Session died(cut);
    auto plan = prepareRun(died.services, RunVariant::Command11);
    ASSERT_TRUE(plan);
    plan->stopAfter = 8;
    beginRun(died.services);
    playRun(died.services, *plan);
    auto stale = readResume(cut);
    ASSERT_FALSE(stale.ok());
    EXPECT_EQ(stale.error(), kRunDied);

    // A stop counted with X inverted, a resume with X as wired: refused before any write.
    const std::array<std::string, 3> spmm{"3", "3", "3"};
    std::string inverted = machineFrame({1, 4, 16}, {2, 8, 32}, {true, false, false}, spmm, false);
    std::string now = machineFrame({1, 4, 16}, {2, 8, 32}, {false, false, false}, spmm, false);
    Session stopped(cut);
    auto run = prepareRun(stopped.services, RunVariant::Command11, inverted);
    run->stopAfter = 4;
    beginRun(stopped.services);
    PlayResult played = playRun(stopped.services, *run);
    RunOutcome o = finishRun(stopped.services, *run, played);
    ASSERT_TRUE(keepResumePoint(stopped.state, *run, played, o, 0, stopped.position()).ok());
    Session resumed(cut);
    auto point = readResume(cut);
    ASSERT_TRUE(point.ok());
    EXPECT_FALSE(prepareResume(resumed.services, RunVariant::Command11, *point, now));
    EXPECT_NE(resumed.dialogs.calls.back().text.find("a changé depuis l'interruption"), std::string::npos);
    EXPECT_EQ(resumed.machine.writeCount(), 0);
    EXPECT_TRUE(prepareResume(resumed.services, RunVariant::Command11, *point, inverted));
}

TEST(Resume, TheFileReadsBackWhatWasWritten) {
    ResumePoint p;
    p.cut = "piece.def";
    p.size = 123456789012;
    p.digest = 18446744073709551557ull;
    p.played = 41;
    p.total = 99;
    p.horsmatiere = 0;
    p.vitdans = 12.5;
    p.vithors = 0.1;  // not a short binary fraction
    p.pace = 87;
    p.position = {-5, 1234567, -240};
    p.lifted = 60;
    p.frame = machineFrame({1, 4, 16}, {2, 8, 32}, {false, true, false}, {"200", "200", "400,5"}, false);
    auto back = parseResume(resumeText(p));
    ASSERT_TRUE(back.ok()) << back.error();
    EXPECT_EQ(resumeText(*back), resumeText(p));
    EXPECT_EQ(back->vithors, 0.1);
    EXPECT_EQ(back->position, p.position);
    std::string t = resumeText(p);
    EXPECT_FALSE(parseResume(t.replace(t.find("joues=41"), 8, "joues=100")).ok());  // more than the total
}

TEST(Resume, AJogAfterTheStopIsUndoneAboveTheWorkBeforeTheCutGoesOn) {
    test::TempDir dir;
    std::string cut = dir.file("c.def");
    std::vector<int> records = sampleCut();
    test::writeCut(cut, records);
    Session whole(cut);
    whole.play(false);

    Session s(cut);
    s.play(false, 7);  // in the material, 2 steps deep
    std::array<long, 3> stop = s.position();
    ASSERT_EQ(stop[2], 2);
    // The operator jogs Z up 5 steps and X along 4, then resumes in the same session.
    test::ScriptedYield y;
    test::RecordingPacer pacer;
    MoveContext m{s.machine, 888, y, pacer, [] { return 0.0; }, [] { return std::string("0,01"); }};
    ASSERT_TRUE(emitSteps(m, stepBytes(16, 32, true), 5).ok());
    ASSERT_TRUE(emitSteps(m, stepBytes(1, 2, false), 4).ok());
    std::array<long, 3> jogged = s.position();
    EXPECT_EQ(jogged, (std::array<long, 3>{stop[0] + 4, stop[1], -3}));

    BringBackSetup setup;
    setup.clearance = 3 * 2;  // Text5 x Text8
    setup.paceOut = 10;
    setup.paceIn = 80;
    setup.coefficient = "0,01";
    auto legs = bringBackLegs(jogged, stop, setup.clearance);
    EXPECT_EQ(legs[0].steps, -3);  // up to the clearance above the cut's start height
    EXPECT_EQ(legs[1].steps, -4);
    EXPECT_EQ(legs[2].steps, 0);
    EXPECT_EQ(legs[3].steps, 8);  // down to the stop's depth
    EXPECT_TRUE(legs[3].in);
    // The travel height: never above a tool already clear, never inside the work.
    struct Travel {
        long fromZ, toZ, clearance, surface, up, down;
    } travels[] = {
        {-50, 2, 20, 0, 0, 52},     // raised 50 since the stop: no further climb
        {5, 5, 2, 0, -7, 7},        // X jogged at depth: up out of the work, not depth - clearance
        {-100, -100, 6, -90, 0, 0}, // both above the work
        {12, 14, 6, 10, -8, 10},    // the cut started 10 steps lower than the count's zero
    };
    for (const Travel& t : travels) {
        auto l = bringBackLegs({0, 0, t.fromZ}, {5, 0, t.toZ}, static_cast<double>(t.clearance), t.surface);
        EXPECT_EQ(l[0].steps, t.up) << t.fromZ << " " << t.toZ;
        EXPECT_EQ(l[3].steps, t.down) << t.fromZ << " " << t.toZ;
    }
    EXPECT_EQ(bringBackLegs({0, 0, 0}, {1, 0, 0}, 1.2e21)[0].steps, -1000000000);  // no wrap-around
    long lowest = 0;
    bool xyBelow = false;
    std::array<long, 3> before = jogged;
    s.machine.setObserver([&](uint8_t) {
        std::array<long, 3> now = s.position();
        if ((now[0] != before[0] || now[1] != before[1]) && now[2] != -6) xyBelow = true;
        lowest = std::max(lowest, now[2]);
        before = now;
    });
    size_t writes = s.machine.values().size();
    test::RecordingPacer movePacer;
    ASSERT_TRUE(bringBack(s.machine, 888, y, movePacer, setup, jogged, stop).ok());
    s.machine.setObserver(nullptr);
    EXPECT_EQ(s.position(), stop);
    EXPECT_FALSE(xyBelow);
    EXPECT_LE(lowest, stop[2]);
    EXPECT_EQ(s.machine.values().size() - writes, 2u * (3 + 4 + 8));
    // Out-of-material pace for the first two legs, in-material for the last.
    EXPECT_EQ(movePacer.counts.front(), *pauseCount(10, 0.01));
    EXPECT_EQ(movePacer.counts.back(), *pauseCount(80, 0.01));
    // Same place: nothing to do.
    EXPECT_EQ(bringBackLegs(stop, stop, 6)[0].steps, 0);
    // "Arret d'urgence" during the move back ends it at the next step.
    {
        SimulatedMachine other;
        other.setPosition(jogged[0], jogged[1], jogged[2]);
        BringBackSetup stopping = setup;
        stopping.stopRequested = [&other] { return other.writeCount() >= 6; };
        ASSERT_TRUE(bringBack(other, 888, y, movePacer, stopping, jogged, stop).ok());
        EXPECT_EQ(other.writeCount(), 6);
        EXPECT_EQ(other.position(2), jogged[2] - 3);
    }
    // The Z clearance switch closes one step up: the climb ends there, the way down is longer.
    {
        SimulatedMachine other;
        Switches sw;
        sw.zClearance = jogged[2] - 1;
        other.setSwitches(sw);
        other.setPosition(jogged[0], jogged[1], jogged[2]);
        ASSERT_TRUE(bringBack(other, 888, y, movePacer, setup, jogged, stop).ok());
        EXPECT_EQ(other.writeCount(), 2 * (1 + 4 + 6));
        EXPECT_EQ(other.position(2), stop[2]);
    }

    // The cut goes on from there as if it had never stopped.
    std::vector<int> all = whole.machine.values();
    std::vector<int> tail(all.begin() + 2 * 7, all.end());
    size_t mark = s.machine.values().size();
    EXPECT_FALSE(s.play(true).stopped);
    std::vector<int> now = s.machine.values();
    EXPECT_EQ(std::vector<int>(now.begin() + static_cast<long>(mark), now.end()), tail);
    EXPECT_EQ(s.position(), whole.position());
}

TEST(Resume, AFailureDuringAPauseKeepsTheDepthTheCutExpects) {
    test::TempDir dir;
    std::string cut = dir.file("c.def");
    test::writeCut(cut, sampleCut());
    Session s(cut);
    // A pause during record 6; the port gives up after three of the six lift steps.
    s.yield.onYield = [&s] {
        if (s.machine.writeCount() == 12) s.state.pause = 1;
    };
    s.machine.failAtWrite(12 + 2 * 3 + 1);
    RunOutcome o = s.play(false);
    EXPECT_TRUE(o.stopped);
    auto point = readResume(cut);
    ASSERT_TRUE(point.ok());
    EXPECT_EQ(point->played, 6u);
    EXPECT_EQ(s.position()[2], 2 - 3);
    // Where the machine stands, and the lift a resume takes back before record 7.
    EXPECT_EQ(point->position[2], 2 - 3);
    EXPECT_EQ(point->lifted, 3);
}
