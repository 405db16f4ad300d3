// One motion at a time, whatever window the operator uses: the real pages wired as the
// program wires them, on the simulated machine.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>

#include "config/configmachine.h"
#include "cutfile/page/toolpage.h"
#include "machinetest.h"
#include "mainwindowfixture.h"
#include "manual/page/joystickpage.h"

using namespace vornelle;

namespace {
// The program's window, shown, on a machine of 100 steps per mm at feeds 50.
struct App : test::MainWindowFixture {
    App() : MainWindowFixture(configure) { window->show(); }
    static void configure(const test::TempDir& dir) {
        configmachine c;
        c.pasmmX = "100", c.pasmmY = "100", c.pasmmZ = "100";
        c.coefvitesse = "0,01", c.vitdecoupe = "50", c.vithorsmatiere = "50";
        c.descenteZ = "2", c.degagement = "2", c.numport = "1";
        c.poidsnc1 = "64", c.poidsnc2 = "128";
        c.pindirX = "2", c.pinclkX = "3", c.pindirY = "4", c.pinclkY = "5", c.pindirZ = "6", c.pinclkZ = "7";
        c.pinnc1 = "8", c.pinnc2 = "9";
        c.poidsdirX = "1", c.poidsclkX = "2", c.poidsdirY = "4", c.poidsclkY = "8";
        c.poidsdirZ = "16", c.poidsclkZ = "32";
        EXPECT_TRUE(sauveconfig(dir.path(), c));
    }
    ToolPage* tool() { return static_cast<ToolPage*>(window->page(PageId::Mach)); }
    JoystickPage* joystick() { return static_cast<JoystickPage*>(window->page(PageId::Form5)); }
    QPushButton* button(QWidget* page, const char* n) { return page->findChild<QPushButton*>(n); }
    // A cut of `n` records, each one X step.
    void cutFile(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += "2\r\n";
        test::spit(dir.file("c.def"), s);
        tool()->findChild<QLineEdit*>("Text9")->setText(QString::fromStdString(dir.file("c.def")));
    }
};
}  // namespace

TEST(Interlock, NoJogOrHomingDuringACut) {
    App a;
    a.window->show(PageId::Mach);
    ASSERT_NE(a.tool(), nullptr);
    a.cutFile(300);
    a.ports.simulated().setRecording(true);
    test::Gate gate;
    a.machine.setStepHook([&] {
        if (a.ports.simulated().writeCount() > 40 && !gate.reached()) gate.arrive();
    });
    a.button(a.tool(), "Command11")->click();
    ASSERT_TRUE(gate.waitReached());
    // The joystick page opened during the cut: its arrows and "A la niche" are refused.
    a.window->show(PageId::Form5);
    ASSERT_NE(a.joystick(), nullptr);
    for (const char* n : {"Command10", "Command6", "Command9", "Command1"})
        EXPECT_FALSE(a.button(a.joystick(), n)->isEnabled()) << n;
    a.joystick()->arrow(Arrow::Command10);  // even when called directly
    a.joystick()->homing();
    // A second "Découper" neither.
    EXPECT_FALSE(a.runner.run(a.tool(), RunVariant::Command11).started);
    // Nothing that could open a box over the run's panel: the main menu's pages, the tool
    // page's commands and menus.
    auto pageEntries = [&a](bool enabled, int menus) {
        int seen = 0;
        for (QAction* m : a.window->menuBar()->actions())
            if (QStringList{"coo", "fidec", "config"}.contains(m->objectName())) {
                EXPECT_EQ(m->isEnabled(), enabled) << m->objectName().toStdString();
                ++seen;
            }
        EXPECT_EQ(seen, menus);  // the tool page's own menus are shown once it is back
        for (const char* n : {"Command3", "Command10"}) EXPECT_EQ(a.button(a.tool(), n)->isEnabled(), enabled) << n;
    };
    pageEntries(false, 3);
    gate.release();
    ASSERT_TRUE(test::waitIdle(a.machine));
    EXPECT_EQ(a.dialogs.calls.back().text, "découpe terminée !");
    // The trace is the cut's alone: 0 then 2 for each record, and nothing else.
    std::vector<int> v = a.ports.simulated().values();
    ASSERT_EQ(v.size(), 600u);
    for (size_t i = 0; i < v.size(); ++i) ASSERT_EQ(v[i], i % 2 ? 2 : 0) << i;
    EXPECT_EQ(a.ports.simulated().steps(0), 300);
    EXPECT_EQ(a.ports.simulated().steps(1) + a.ports.simulated().steps(2), 0);
    // Once the cut has ended the arrows work again.
    EXPECT_TRUE(a.button(a.joystick(), "Command10")->isEnabled());
    pageEntries(true, 0);
}

TEST(Interlock, NoCutDuringAJog) {
    App a;
    a.window->show(PageId::Mach);
    a.cutFile(10);
    a.window->show(PageId::Form5);
    a.joystick()->findChild<QLineEdit*>("Text2")->setText("10");  // 1000 steps
    test::Gate gate;
    a.machine.setStepHook([&] {
        if (a.ports.simulated().writeCount() > 20 && !gate.reached()) gate.arrive();
    });
    a.button(a.joystick(), "Command10")->click();
    ASSERT_TRUE(gate.waitReached());
    EXPECT_FALSE(a.button(a.tool(), "Command11")->isEnabled());
    EXPECT_FALSE(a.runner.run(a.tool(), RunVariant::Command11).started);
    EXPECT_TRUE(a.dialogs.calls.empty());  // no "Prêt pour la découpe ?" either
    gate.release();
    ASSERT_TRUE(test::waitIdle(a.machine));
    EXPECT_EQ(a.ports.simulated().steps(0), 1000);
    EXPECT_EQ(a.ports.simulated().writeCount(), 2000);
    EXPECT_TRUE(a.button(a.tool(), "Command11")->isEnabled());
}

TEST(Interlock, ClosingTheToolPageDuringACutStopsItFirst) {
    App a;
    a.window->show(PageId::Mach);
    a.cutFile(300);
    test::Gate gate;
    a.machine.setStepHook([&] {
        if (a.ports.simulated().writeCount() > 40 && !gate.reached()) gate.arrive();
    });
    a.button(a.tool(), "Command11")->click();
    ASSERT_TRUE(gate.waitReached());
    a.window->show(PageId::Mach);  // brought back from the main menu during the cut
    QPointer<QWidget> page = a.tool();
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->parentWidget()->close());  // the close box of its window
    EXPECT_EQ(a.run.arret, 1);
    gate.release();
    ASSERT_TRUE(test::waitIdle(a.machine));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(a.dialogs.calls.back().text, "Découpe arretée !");
    EXPECT_LT(a.ports.simulated().steps(0), 300);
    EXPECT_FALSE(page);  // closed once the cut had ended
    EXPECT_EQ(a.window->page(PageId::Mach), nullptr);
}
