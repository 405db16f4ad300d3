// "Reprendre la découpe" on the tool page with the machine service and the simulated machine:
// a real sample's cut stopped halfway, the tool jogged, the cut resumed; and the same after a
// restart of the program, when the operator has to say the machine has not moved.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "cutfilerig.h"
#include "machinetest.h"
#include "manual/motion.h"
#include "run/resumefile.h"
#include "toolpagefixture.h"

using namespace vornelle;

namespace {
// One program session: its machine service, run controller and tool page, loaded, with
// "Reprendre la découpe" wired.
struct Session : test::ToolPageSession {
    Session(PortSelector& p, const std::string& home) : ToolPageSession(p, home) {
        page->resumeButton()->setAction([this] { runner.resume(page.get(), RunVariant::Command12); });
        page->formLoad();
    }
    QPushButton* button(const char* n) { return page->findChild<QPushButton*>(n); }
    int port() const { return page->property("port").toInt(); }
    // Z up then down by the given steps and X along, as the joystick page would move it.
    void jog(long up, long down, long x) {
        Wiring w;
        w.inv[2] = true;
        auto address = static_cast<int16_t>(port());
        machine.start(
            static_cast<uint16_t>(address), w,
            [this, address, up, down, x](JobContext& ctx) {
                MoveContext m{ctx.port,           address,
                              ctx.yield,          pacer,
                              [] { return 0.0; }, [] { return std::string("0,01"); }};
                // Z inverted: DIR high is down.
                EXPECT_TRUE(emitSteps(m, stepBytes(16, 32, false), static_cast<double>(up)).ok());
                EXPECT_TRUE(emitSteps(m, stepBytes(16, 32, true), static_cast<double>(down)).ok());
                EXPECT_TRUE(emitSteps(m, stepBytes(1, 2, false), static_cast<double>(x)).ok());
            },
            [](const std::string&) {});
        EXPECT_TRUE(test::waitIdle(machine));
    }
};

// Feeds 100 (no pause), Z direction inverted (Command12); the sample saved as d.fra.
struct Rig : test::ToolPageHome {
    std::vector<int> bytes;  // every byte the simulated port took
    uint64_t ticks = 0;
    std::string cut;
    Rig() : ToolPageHome(test::toolConfig("100", "100")) {
        ports.simulated().setRecording(false);
        ports.simulated().setObserver([this](uint8_t v) { bytes.push_back(v); });
        EXPECT_TRUE(test::saveSquareFra(dir.file("data/work/"), dir.file("d.fra")));
        cut = dir.file("piece.def");
    }
    void generate(Session& s) {
        s.makeCutFile(dir.file("d.fra"), dir.file("piece"));
        std::ifstream def(cut);
        std::string line;
        while (std::getline(def, line)) ++ticks;
        s.dialogs.calls.clear();
    }
    std::array<long, 3> position() const {
        auto& m = const_cast<PortSelector&>(ports).simulated();
        return {m.position(0), m.position(1), m.position(2)};
    }
};

}  // namespace

TEST(ResumePage, StoppedHalfwayJoggedAndResumedTheCutEndsAtTheOriginEveryRecordPlayedOnce) {
    Rig r;
    Session s(r.ports, r.dir.path());
    r.generate(s);
    ASSERT_GT(r.ticks, 1000u);
    EXPECT_TRUE(s.button("reprendre")->isHidden());

    // The whole cut once, as the reference.
    s.button("Command12")->click();
    ASSERT_TRUE(test::waitIdle(s.machine));
    std::vector<int> whole = r.bytes;
    ASSERT_EQ(whole.size(), 2 * r.ticks);
    ASSERT_EQ(r.position(), (std::array<long, 3>{0, 0, 0}));
    r.bytes.clear();
    s.dialogs.calls.clear();

    // "Arret d'urgence" halfway.
    long half = 2 * static_cast<long>(r.ticks / 2);  // writes after record ticks / 2
    s.machine.setStepHook([&] {
        if (r.ports.simulated().writeCount() == 2 * static_cast<long>(r.ticks) + half) s.run.arret = 1;
    });
    s.button("Command12")->click();
    ASSERT_TRUE(test::waitIdle(s.machine));
    s.machine.setStepHook(nullptr);
    EXPECT_EQ(s.dialogs.texts(), (std::vector<std::string>{"Prêt pour la découpe ?", "Découpe arretée !"}));
    uint64_t played = s.runner.last().records;
    EXPECT_EQ(played, r.ticks / 2);
    EXPECT_FALSE(s.button("reprendre")->isHidden());
    EXPECT_EQ(s.button("reprendre")->text(), "Reprendre la découpe");
    std::array<long, 3> stop = r.position();
    std::vector<int> first = r.bytes;

    // The bit changed: Z up 300 steps and down 280 only, X pushed by 7.
    s.jog(300, 280, 7);
    EXPECT_NE(r.position(), stop);

    // "Arret d'urgence" on the way back, 10 steps up: the .reprise stays as it was.
    std::string kept = test::slurp(resumePathFor(r.cut));
    long mark = r.ports.simulated().writeCount();
    s.machine.setStepHook([&] {
        if (r.ports.simulated().writeCount() == mark + 20) s.run.arret = 1;
    });
    s.dialogs.calls.clear();
    s.button("reprendre")->click();
    ASSERT_TRUE(test::waitIdle(s.machine));
    s.machine.setStepHook(nullptr);
    EXPECT_EQ(s.dialogs.texts().back(), "Découpe arretée !");
    EXPECT_EQ(r.ports.simulated().writeCount(), mark + 20);
    EXPECT_EQ(test::slurp(resumePathFor(r.cut)), kept);
    EXPECT_FALSE(s.button("reprendre")->isHidden());

    r.bytes.clear();
    s.dialogs.calls.clear();
    s.button("reprendre")->click();
    ASSERT_TRUE(test::waitIdle(s.machine));
    EXPECT_EQ(s.dialogs.texts(),
              (std::vector<std::string>{"Reprendre la découpe à l'enregistrement " + std::to_string(played) +
                                            " sur " + std::to_string(r.ticks) + " ?",
                                        "découpe terminée !"}));
    EXPECT_EQ(s.runner.last().records, r.ticks - played);
    EXPECT_EQ(r.position(), (std::array<long, 3>{0, 0, 0}));
    // The move back (Z up to the 1 mm clearance x 400 steps above the cut's start height, where
    // the stop was, from the 20 + 10 steps above it the jog and the stopped move left; 7 back
    // in X; down by 400), then exactly the rest of the cut.
    size_t back = 2 * ((400 - 30) + 7 + 400);
    ASSERT_EQ(r.bytes.size(), back + 2 * (r.ticks - played));
    std::vector<int> joined = first;
    joined.insert(joined.end(), r.bytes.begin() + static_cast<long>(back), r.bytes.end());
    EXPECT_EQ(joined, whole);
    EXPECT_FALSE(std::filesystem::exists(r.dir.file("piece.reprise")));
    EXPECT_TRUE(s.button("reprendre")->isHidden());
}

TEST(ResumePage, AfterARestartTheOperatorConfirmsTheMachineHasNotMoved) {
    Rig r;
    {
        Session s(r.ports, r.dir.path());
        r.generate(s);
        s.machine.setStepHook([&] {
            if (r.ports.simulated().writeCount() == 1000) s.run.arret = 1;
        });
        s.button("Command12")->click();
        ASSERT_TRUE(test::waitIdle(s.machine));
        ASSERT_EQ(s.runner.last().records, 500u);
    }
    std::vector<int> first = r.bytes;
    std::array<long, 3> stop = r.position();
    // A new session: its machine service counts from 0 again.
    Session s(r.ports, r.dir.path());
    s.page->findChild<QLineEdit*>("Text9")->setText(QString::fromStdString(r.cut));
    ASSERT_FALSE(s.button("reprendre")->isHidden());
    s.dialogs.answers = {Button::Yes, Button::No};
    s.button("reprendre")->click();
    EXPECT_EQ(s.dialogs.texts().back(), "La machine est-elle restée à l'arrêt depuis l'interruption ?");
    EXPECT_EQ(s.dialogs.calls.back().title, "Position de la machine inconnue");
    EXPECT_FALSE(s.machine.busy());  // No: nothing moves
    EXPECT_EQ(r.position(), stop);

    r.bytes.clear();
    s.dialogs.calls.clear();
    s.button("reprendre")->click();  // Yes to both
    ASSERT_TRUE(test::waitIdle(s.machine));
    EXPECT_EQ(s.dialogs.texts().back(), "découpe terminée !");
    EXPECT_EQ(r.position(), (std::array<long, 3>{0, 0, 0}));
    EXPECT_EQ(first.size() + r.bytes.size(), 2 * r.ticks);  // nothing moved back, every record once
    EXPECT_FALSE(hasResume(r.cut));

    // A .reprise of a cut file that has changed since is refused with its message.
    ASSERT_TRUE(writeResume(r.cut, ResumePoint{}).ok());
    test::spit(r.cut, test::slurp(r.cut) + "0\r\n");
    s.dialogs.calls.clear();
    s.button("reprendre")->click();
    EXPECT_EQ(s.dialogs.texts(),
              std::vector<std::string>{"Le fichier découpe piece.def a changé depuis l'interruption : la "
                                       "découpe ne peut pas être reprise."});
    EXPECT_FALSE(s.machine.busy());
}
