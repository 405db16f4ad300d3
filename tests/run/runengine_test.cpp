// The cutting run against the simulated machine, with the panel's flags driven from the
// yield the way its buttons would be.
#include "run/runengine.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "cutfilerig.h"
#include "run/recordreader.h"

using namespace vornelle;

namespace {

struct Rig : test::RunRig {
    RunOutcome run(RunVariant v = RunVariant::Command11) {
        RunOutcome o = runCut(services, v);
        EXPECT_EQ(pointer.depth, 0);
        return o;
    }
};

// Command11 with the default weights: Z down-step 32, up-step 48.
const int kDown = 32, kUp = 48, kX = 2;

}  // namespace

TEST(Run, PlaysEveryRecordInTwoWritesAndFollowsTheMaterial) {
    Rig r;
    // travel, plunge, cut, a Z-up while... in, lift, travel back.
    r.cut({kX, kX, kDown, kDown, kX | 1, kUp, kX + 1});
    RunOutcome o = r.run();
    EXPECT_TRUE(o.started);
    EXPECT_FALSE(o.stopped);
    EXPECT_EQ(o.records, 7u);
    EXPECT_EQ(r.machine.values(), (std::vector<int>{0, 2, 0, 2, 0, 32, 0, 32, 1, 3, 16, 48, 1, 3}));
    EXPECT_EQ(r.dialogs.texts(), (std::vector<std::string>{"Prêt pour la découpe ?", "découpe terminée !"}));
    EXPECT_EQ(r.dialogs.calls[0].style, 276);
    EXPECT_EQ(r.dialogs.calls[0].title, "Découpe");
    // Start at 100 - 20; the first Z down: in-material pace again; the Z up: out-of-material.
    EXPECT_EQ(r.host.positions, (std::vector<int>{80, 80, 10}));
    EXPECT_EQ(r.state.horsmatiere, 1);
    // Delays: two per record at the pace then in force.
    ASSERT_EQ(r.pacer.counts.size(), 14u);
    EXPECT_EQ(r.pacer.counts[0], *pauseCount(80, 0.01));
    EXPECT_EQ(r.pacer.counts[13], *pauseCount(10, 0.01));
    EXPECT_EQ(r.host.log, (std::vector<std::string>{"show", "end"}));
    EXPECT_EQ(r.host.feeds, (std::pair<std::string, std::string>{"20", "90"}));
    EXPECT_EQ(r.host.lastProgress, (std::pair<uint64_t, uint64_t>{7, 7}));
    EXPECT_EQ(r.machine.position(0), 0);
    EXPECT_EQ(r.machine.position(2), 1);  // two steps down, one up

    // A Z-up record while out of the material changes nothing; feed 100 means no delay.
    Rig q;
    q.host.f.Text10 = "100";
    q.cut({kUp, kUp});
    q.run();
    EXPECT_EQ(q.host.positions, std::vector<int>{0});
    EXPECT_EQ(q.pacer.counts, (std::vector<uint64_t>{0, 0, 0, 0}));
}

TEST(Run, ScrollBarWriteBackReachesTheFeedsAndASecondRunStartsOut) {
    Rig r;
    r.cut({kX, kDown, kX, kX, kUp, kX, kX});
    // The operator moves the scroll bar to 30 while the tool is in the material, then to
    // 5 once it is out again.
    r.yield.onYield = [&r] {
        if (r.machine.writeCount() == 6 && r.host.position != 30) r.host.setScrollPosition(30);
        if (r.machine.writeCount() == 12 && r.host.position != 5) r.host.setScrollPosition(5);
    };
    r.run();
    EXPECT_EQ(r.state.vitdans, 70);
    EXPECT_EQ(r.state.vithors, 95);
    EXPECT_EQ(r.host.feeds, (std::pair<std::string, std::string>{"70", "95"}));

    // Second run: starts from horsmatiere 1 and the page's fields again.
    r.yield.onYield = nullptr;
    r.host.positions.clear();
    r.state.horsmatiere = 0;
    r.cut({kX, kDown});
    r.run();
    EXPECT_EQ(r.host.positions, (std::vector<int>{80, 80}));
}

TEST(Run, PauseLiftsAndLowersByTheClearance) {
    Rig r;
    r.host.f.Text5 = "120";
    r.host.f.Text8 = "2";
    r.cut({kX, kX, kX});
    bool resumed = false;
    r.yield.onYield = [&] {
        if (r.machine.writeCount() == 2 && r.state.pause == 0 && !resumed) r.state.pause = 1;
        // While waiting: the lift is done (2 + 480 writes), answer "Reprise".
        if (r.machine.writeCount() == 2 + 480 && !resumed) {
            resumed = true;
            r.state.reprise = 1;
        }
    };
    r.run();
    std::vector<int> v = r.machine.values();
    ASSERT_EQ(v.size(), 2u + 480 + 480 + 4);
    EXPECT_EQ(v[2], 16);  // up-direction
    EXPECT_EQ(v[3], 48);  // up-step
    EXPECT_EQ(v[2 + 480], 0);
    EXPECT_EQ(v[2 + 481], 32);
    EXPECT_EQ(r.machine.steps(2), 480);
    EXPECT_EQ(r.machine.position(2), 0);
    EXPECT_EQ(r.state.pause, 0);
    EXPECT_EQ(r.state.reprise, 0);

    // A "Reprise" already pending: the next pause ends at once after the lift.
    Rig p;
    p.cut({kX, kX});
    p.state.reprise = 0;
    p.yield.onYield = [&] {
        if (p.machine.writeCount() == 2 && p.state.pause == 0 && p.machine.steps(2) == 0) {
            p.state.reprise = 1;
            p.state.pause = 1;
        }
    };
    p.run();
    EXPECT_EQ(p.machine.steps(2), 40);  // 20 up, 20 down
    EXPECT_EQ(p.dialogs.texts().back(), "découpe terminée !");
}

TEST(Run, StopEndsAPauseOrAZMoveAtOnceTheToolLeftWhereItIs) {
    // Requests pressed after record 1 (2 writes); the stop pressed once `stopAt` writes are made
    // (0: never). Clearance 2 mm x 10 steps: a lift of 20 steps; one millimetre: 10 steps.
    struct Case {
        const char* what;
        bool pause;
        int deeper;  // clicks on "+ profond"
        int stopAt;
        long zSteps, z;
        bool stopped;
    } cases[] = {
        {"stop while paused, no Reprise", true, 0, 2 + 40, 20, -20, true},
        {"stop half-way up", true, 0, 2 + 10, 5, -5, true},
        {"stop during + profond", false, 1, 2 + 6, 3, 3, true},
        {"two clicks, one millimetre", false, 2, 0, 10, 10, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig r;
        r.cut({kX, kX, kX, kX});
        bool pressed = false;
        r.yield.onYield = [&] {
            if (!pressed && r.machine.writeCount() == 2) {
                pressed = true;
                if (c.pause) r.state.pause = 1;
                for (int i = 0; i < c.deeper; ++i) r.state.profplus = 1;
            }
            if (c.stopAt && r.machine.writeCount() == c.stopAt) r.state.arret = 1;
        };
        RunOutcome o = r.run();
        EXPECT_EQ(o.stopped, c.stopped);
        EXPECT_EQ(o.records, c.stopped ? 1u : 4u);
        EXPECT_EQ(r.machine.steps(2), c.zSteps);
        EXPECT_EQ(r.machine.position(2), c.z);
        EXPECT_EQ(r.state.arret, 0);
        EXPECT_EQ(r.state.pause, 0);
        if (c.stopped) {
            EXPECT_EQ(r.dialogs.texts(), (std::vector<std::string>{"Prêt pour la découpe ?", "Découpe arretée !"}));
            EXPECT_EQ(r.host.log, (std::vector<std::string>{"show", "stop", "end"}));
        }
    }

    // Shallower in Command12: the raise writes 0 then the Z clock weight.
    Rig s;
    s.cut({kX, kX});
    s.yield.onYield = [&] {
        if (s.machine.writeCount() == 2) s.state.profmoins = 1;
    };
    s.run(RunVariant::Command12);
    std::vector<int> v = s.machine.values();
    EXPECT_EQ(v[2], 0);
    EXPECT_EQ(v[3], 32);
    EXPECT_EQ(s.machine.steps(2), 10);
}

TEST(Run, RefusalsWriteNothing) {
    auto refused = [](Rig& r, const std::string& fragment) {
        RunOutcome o = r.run();
        EXPECT_FALSE(o.started);
        EXPECT_EQ(r.machine.writeCount(), 0);
        ASSERT_FALSE(r.dialogs.calls.empty());
        EXPECT_NE(r.dialogs.calls.back().text.find(fragment), std::string::npos)
            << r.dialogs.calls.back().text;
    };
    Rig noName;
    noName.host.f.Text9 = "";
    refused(noName, "Saisie nom du fichier de découpe ?");
    Rig missing;
    refused(missing, "Fichier introuvable !");
    Rig empty;
    empty.cut({});
    refused(empty, "vide");
    Rig bad;
    test::spit(bad.host.f.Text9, "2\r\n3\r\n256\r\n");
    refused(bad, "l'enregistrement 3 (\"256\")");
    Rig word;
    test::spit(word.host.f.Text9, "2\r\nabc\r\n");
    refused(word, "\"abc\"");
    Rig coef;
    coef.cut({2});
    coef.host.f.Text2 = "0";
    refused(coef, "Coefficient vitesse");
    Rig feed;
    feed.cut({2});
    feed.host.f.Text10 = "120";
    refused(feed, "0 à 100");
    Rig tiny;
    tiny.cut({2});
    tiny.host.f.Text2 = "0,0000000001";  // 10^12 iterations per pause
    refused(tiny, "trop petit");
    Rig weight;
    weight.cut({2});
    weight.host.f.weights[3] = "1e300";
    refused(weight, "CLOCK Y");
    Rig three;
    three.cut({2});
    three.host.f.weights[0] = "3";  // two data lines at once
    refused(three, "puissance de deux");
    // Clearances the pause could not lift by: no number, past the Z travel, past any step count.
    for (const char* clearance : {"abc", "", "301", "1200000000000000000000"}) {
        Rig lift;
        lift.cut({2});
        lift.host.f.Text8 = clearance;
        refused(lift, "Dégagement pour changement d'outil");
    }
    Rig no;
    no.cut({2});
    no.dialogs.answers = {Button::No};
    refused(no, "Prêt pour la découpe ?");
    EXPECT_TRUE(no.host.log.empty());
}

TEST(Run, ClearanceEditedDuringAPauseStillBringsTheToolBack) {
    // Lifted by 10 x 2 = 20 steps; during the wait the operator types 5 into the clearance
    // and 30 into the steps per millimetre: the tool still comes down by 20.
    Rig r;
    r.cut({kX, kX});
    int phase = 0;
    r.yield.onYield = [&] {
        if (phase == 0 && r.machine.writeCount() == 2) {
            r.state.pause = 1;
            phase = 1;
        } else if (phase == 1 && r.machine.writeCount() == 2 + 40) {
            r.host.f.Text8 = "5";
            r.host.f.Text5 = "30";
            ++r.host.version;
            r.state.reprise = 1;
            phase = 2;
        }
    };
    r.run();
    EXPECT_EQ(r.machine.steps(2), 40);
    EXPECT_EQ(r.machine.position(2), 0);
    EXPECT_EQ(r.dialogs.texts().back(), "découpe terminée !");
}

TEST(Run, AFieldHalfTypedDuringTheRunKeepsTheLastUsableValue) {
    // "0,02" typed over "0,01" passes through "0" and "0,0": the run goes on at 0,01 until
    // the coefficient reads again as a number above 0.
    Rig r;
    r.cut({kX, kX, kX, kX});
    r.yield.onYield = [&] {
        const char* typed = r.machine.writeCount() == 2 ? "0" : r.machine.writeCount() == 4 ? "0,0"
                            : r.machine.writeCount() == 6                                   ? "0,02"
                                                                                             : nullptr;
        if (typed && r.host.f.Text2 != typed) {
            r.host.f.Text2 = typed;
            ++r.host.version;
        }
    };
    RunOutcome o = r.run();
    EXPECT_FALSE(o.stopped);
    EXPECT_EQ(o.records, 4u);
    ASSERT_EQ(r.pacer.counts.size(), 8u);
    for (int i : {1, 2, 3, 4}) EXPECT_EQ(r.pacer.counts[i], *pauseCount(80, 0.01)) << i;
    EXPECT_EQ(r.pacer.counts[5], *pauseCount(80, 0.02));
}

TEST(Run, APortThatStopsAnsweringEndsTheRunAtItsRecord) {
    Rig r;
    r.cut({kX, kX, kX, kX, kX});
    r.machine.failAtWrite(7);  // the first write of record 4
    std::string fault;
    auto plan = prepareRun(r.services, RunVariant::Command11);
    ASSERT_TRUE(plan);
    beginRun(r.services);
    PlayResult played = playRun(r.services, *plan, &fault);
    RunOutcome o = finishRun(r.services, *plan, played);
    EXPECT_TRUE(o.stopped);
    EXPECT_EQ(o.records, 3u);
    EXPECT_EQ(r.machine.writeCount(), 6);
    EXPECT_EQ(fault, "Le port Port simulé (aucun port parallèle) ne répond plus (écriture refusée).");
    ASSERT_EQ(r.dialogs.calls.size(), 2u);
    const std::string& m = r.dialogs.calls[1].text;
    EXPECT_EQ(m.rfind("Découpe arretée !", 0), 0u) << m;
    EXPECT_NE(m.find("ne répond plus"), std::string::npos) << m;
    EXPECT_NE(m.find("Enregistrement 4 sur 5"), std::string::npos) << m;
    EXPECT_EQ(r.host.log, (std::vector<std::string>{"show", "stop", "end"}));
    EXPECT_EQ(r.pointer.depth, 0);
}

TEST(Run, ACutFileChangedAfterItsCheckIsRefused) {
    // Rewritten with more records: refused before the first write.
    Rig grown;
    grown.cut({kX, kX, kX});
    auto plan = prepareRun(grown.services, RunVariant::Command11);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->total, 3u);
    grown.cut({kX, kX, kX, kX, kX, kX});
    beginRun(grown.services);
    PlayResult played = playRun(grown.services, *plan, nullptr);
    EXPECT_EQ(played.records, 0u);
    EXPECT_EQ(grown.machine.writeCount(), 0);
    EXPECT_NE(played.failure.find("a changé depuis sa vérification (3 enregistrements vérifiés)"),
              std::string::npos)
        << played.failure;

    // Same size and date, more records: played up to the count checked, then stopped.
    Rig same;
    test::spit(same.host.f.Text9, "2\r\n2\r\n2\r\n");
    struct stat before;
    ASSERT_EQ(::stat(same.host.f.Text9.c_str(), &before), 0);
    plan = prepareRun(same.services, RunVariant::Command11);
    ASSERT_TRUE(plan);
    test::spit(same.host.f.Text9, "2,2,2,2,2");
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, same.host.f.Text9.c_str(), times, 0), 0);
    beginRun(same.services);
    played = playRun(same.services, *plan, nullptr);
    EXPECT_EQ(played.records, 3u);
    EXPECT_EQ(same.machine.writeCount(), 6);
    EXPECT_NE(played.failure.find("3 enregistrements vérifiés, un de plus lu"), std::string::npos)
        << played.failure;

    // Shorter: the run ends with the records read and says so.
    Rig shrunk;
    test::spit(shrunk.host.f.Text9, "2,2,2,2,2");
    ASSERT_EQ(::stat(shrunk.host.f.Text9.c_str(), &before), 0);
    plan = prepareRun(shrunk.services, RunVariant::Command11);
    ASSERT_TRUE(plan);
    test::spit(shrunk.host.f.Text9, "2\r\n2\r\n2\r\n");
    const struct timespec again[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, shrunk.host.f.Text9.c_str(), again, 0), 0);
    beginRun(shrunk.services);
    played = playRun(shrunk.services, *plan, nullptr);
    EXPECT_EQ(played.records, 3u);
    EXPECT_NE(played.failure.find("5 enregistrements vérifiés, 3 lus"), std::string::npos) << played.failure;
}

TEST(RecordReader, AcceptsCommasAndBlanksOnly) {
    test::TempDir dir;
    test::spit(dir.file("a.def"), " 1\r\n2,3\n255  \r\n");
    auto n = checkCutFile(dir.file("a.def"));
    ASSERT_TRUE(n);
    EXPECT_EQ(*n, 4u);
    test::spit(dir.file("b.def"), "1 2\r\n");
    EXPECT_FALSE(checkCutFile(dir.file("b.def")));
    test::spit(dir.file("c.def"), "-1\r\n");
    EXPECT_FALSE(checkCutFile(dir.file("c.def")));
    // A record of 3 MB: refused by its number, quoted by its start only.
    test::spit(dir.file("d.def"), "1\r\n" + std::string(3 << 20, '9') + "\r\n");
    auto d = checkCutFile(dir.file("d.def"));
    ASSERT_FALSE(d);
    EXPECT_NE(d.error().find("l'enregistrement 2 (\"999"), std::string::npos) << d.error().substr(0, 300);
    EXPECT_LT(d.error().size(), 400u);
}

TEST(Run, APacingFileSetsEachRecordsFeedAndLengthensItsPauses) {
    // A relief: down into the material, along, up while still cutting, along. The Z steps
    // alone would switch to the travel pace at the step up; the pacing file keeps the
    // material pace and doubles the pauses of the last two records (a ramp).
    Rig r;
    r.cut({kDown, kX, kUp, kX});
    Pacing p;
    p.cut = *cutStampOf(r.host.f.Text9);
    p.runs = {{2, 1, PacingFeed::In}, {2, 2, PacingFeed::In}};
    ASSERT_TRUE(writePacing(pacingPathFor(r.host.f.Text9), p).ok());
    EXPECT_FALSE(r.run().stopped);
    const uint64_t in = *pauseCount(80, 0.01);
    EXPECT_EQ(r.pacer.counts, (std::vector<uint64_t>{in, in, in, in, 2 * in, 2 * in, 2 * in, 2 * in}));
    EXPECT_EQ(r.state.horsmatiere, 0);

    // The column's travel feed acts as the Z steps do; a pacing file of another cut file is
    // refused before any write.
    Rig t;
    t.cut({kX, kX, kX});
    p.cut = *cutStampOf(t.host.f.Text9);
    p.runs = {{1, 1, PacingFeed::In}, {2, 1, PacingFeed::Out}};
    ASSERT_TRUE(writePacing(pacingPathFor(t.host.f.Text9), p).ok());
    t.run();
    EXPECT_EQ(t.host.positions, (std::vector<int>{80, 10}));
    EXPECT_EQ(t.pacer.counts.back(), *pauseCount(10, 0.01));
    // A pause point after record 2: the run lifts and waits for "Reprise" as on "Pause".
    Rig m;
    m.cut({kX, kX, kX});
    p.cut = *cutStampOf(m.host.f.Text9);
    p.runs = {{2, 1, PacingFeed::In, true}, {1, 1, PacingFeed::In}};
    ASSERT_TRUE(writePacing(pacingPathFor(m.host.f.Text9), p).ok());
    m.yield.onYield = [&m] {
        if (m.machine.writeCount() == 4 + 40) m.state.reprise = 1;  // lifted 20 steps: resume
    };
    EXPECT_FALSE(m.run().stopped);
    EXPECT_EQ(m.machine.steps(2), 40);
    EXPECT_EQ(m.machine.writeCount(), 6 + 80);

    t.cut({kX, kX, kX, kX});
    RunOutcome o = t.run();
    EXPECT_FALSE(o.started);
    EXPECT_EQ(t.machine.writeCount(), 6);  // the first run's only
    EXPECT_NE(t.dialogs.calls.back().text.find("rythme"), std::string::npos);
}
