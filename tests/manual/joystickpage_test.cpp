// The joystick page on the offscreen platform with the simulated machine.
#include "manual/joystickpage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "base/files.h"
#include "config/configmachine.h"
#include "testsupport.h"
#include "ui/clicklabel.h"

using namespace vornelle;

namespace {
configmachine config() {
    configmachine c;
    c.pasmmX = "120";
    c.pasmmY = "80";
    c.pasmmZ = "200";
    c.coefvitesse = "0,01";
    c.descenteZ = "5";
    c.numport = "2";
    c.poidsdirX = "1", c.poidsclkX = "2", c.poidsdirY = "4", c.poidsclkY = "8";
    c.poidsdirZ = "64", c.poidsclkZ = "128";
    return c;
}

struct Fixture {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::RecordingNavigator nav;
    PortSelector ports{false};
    test::ScriptedYield yield;
    test::RecordingPacer pacer;
    std::unique_ptr<JoystickPage> page;
    Fixture() {
        page = std::make_unique<JoystickPage>(
            dialogs, nav, [this] { return Outcome<std::string>(dir.path()); }, ports, yield, pacer);
    }
    QLineEdit* text(const char* n) { return page->findChild<QLineEdit*>(n); }
    QPushButton* button(const char* n) { return page->findChild<QPushButton*>(n); }
    QCheckBox* check(const char* n) { return page->findChild<QCheckBox*>(n); }
    SimulatedMachine& machine() { return ports.simulated(); }
};
}  // namespace

TEST(JoystickPage, WithoutConfigurationShowsTheMessageAndNeverWrites) {
    Fixture f;
    EXPECT_EQ(f.page->windowTitle(), "Manettes virtuelles");
    EXPECT_EQ(f.text("Text1")->text(), "120");
    EXPECT_EQ(f.text("Text4")->text(), "0,01");
    EXPECT_EQ(f.text("Text2")->text(), "1");
    f.page->formLoad();
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.dialogs.calls[0].text, "Veuillez configurer sinon ... ");
    EXPECT_EQ(f.dialogs.calls[0].title, "on ne me la fait pas à moi !!!");
    EXPECT_EQ(f.dialogs.calls[0].style, 288);
    EXPECT_FALSE(f.page->port());
    f.button("Command10")->click();
    f.button("Command1")->click();
    EXPECT_EQ(f.dialogs.calls.size(), 3u);
    EXPECT_EQ(f.machine().writeCount(), 0);
    EXPECT_FALSE(fileExists(f.dir.file("vrnlman.cfg")));

    // A configuration without a port number: said, and still nothing written.
    Fixture g;
    configmachine c = config();
    c.numport = "";
    ASSERT_TRUE(sauveconfig(g.dir.path(), c));
    g.page->formLoad();
    ASSERT_EQ(g.dialogs.calls.size(), 1u);
    EXPECT_NE(g.dialogs.calls[0].text.find("port"), std::string::npos);
    g.button("Command9")->click();
    EXPECT_EQ(g.machine().writeCount(), 0);
}

TEST(JoystickPage, LoadsConfigurationMovesAndQuits) {
    Fixture f;
    ASSERT_TRUE(sauveconfig(f.dir.path(), config()));
    f.page->formLoad();
    EXPECT_TRUE(f.dialogs.calls.empty());
    EXPECT_EQ(f.page->port(), 632);
    EXPECT_EQ(f.text("Text3")->text(), "80");
    EXPECT_EQ(f.text("Text5")->text(), "200");
    EXPECT_EQ(test::slurp(f.dir.file("vrnlman.cfg")), "\"0\",\"0\",\"0\"\r\n");

    // Distance labels and the speed scroll bar.
    f.page->findChild<ClickLabel*>("Label17")->clicked();
    EXPECT_EQ(f.text("Text2")->text(), "50");
    auto* scroll = f.page->findChild<QScrollBar*>("HScroll1");
    auto* label8 = f.page->findChild<QLabel*>("Label8");
    EXPECT_EQ(label8->text(), "80");
    scroll->setValue(100);
    EXPECT_EQ(label8->text(), "0");
    scroll->setValue(1);
    EXPECT_EQ(label8->text(), "99");

    f.text("Text2")->setText("1");
    f.button("Command10")->click();
    EXPECT_EQ(f.machine().steps(0), 120);
    EXPECT_EQ(f.machine().lastPort(), 632);
    EXPECT_EQ(f.pacer.counts.front(), 1u);  // V = 1

    // Tick X, quit, show again: the page keeps its fields; the file holds the boxes.
    f.check("Check1")->setChecked(true);
    f.text("Text1")->setText("33");
    f.button("Command5")->click();
    EXPECT_EQ(f.nav.log, (std::vector<std::string>{"hide form5", "show Mach"}));
    EXPECT_EQ(test::slurp(f.dir.file("vrnlman.cfg")), "1,0,0\r\n");
    EXPECT_EQ(f.text("Text1")->text(), "33");

    // A new page (program restarted) restores the boxes from vrnlman.cfg.
    Fixture g;
    std::filesystem::copy(f.dir.file("vrnl1.cfg"), g.dir.file("vrnl1.cfg"));
    std::filesystem::copy(f.dir.file("vrnlman.cfg"), g.dir.file("vrnlman.cfg"));
    g.page->formLoad();
    EXPECT_TRUE(g.check("Check1")->isChecked());
    EXPECT_FALSE(g.check("Check2")->isChecked());
}

TEST(JoystickPage, StopButtonAndEscapeEndAMove) {
    Fixture f;
    ASSERT_TRUE(sauveconfig(f.dir.path(), config()));
    f.page->formLoad();
    QPushButton* stop = f.button("CommandArret");
    EXPECT_FALSE(stop->isEnabled());
    bool enabledDuringMove = false;
    f.yield.onYield = [&] {
        if (f.yield.count == 10) {
            enabledDuringMove = stop->isEnabled();
            stop->click();
        }
    };
    f.text("Text2")->setText("100");
    f.button("Command10")->click();
    EXPECT_TRUE(enabledDuringMove);
    EXPECT_EQ(f.machine().steps(0), 5);
    EXPECT_FALSE(stop->isEnabled());

    // Escape does the same, here during a homing whose X switch never closes.
    f.machine().setSwitches({-1000000000, 0, 0, 0});
    f.page->show();
    long start = f.yield.count;
    f.yield.onYield = [&] {
        if (f.yield.count == start + 3000) QTest::keyClick(f.page.get(), Qt::Key_Escape);
    };
    f.button("Command1")->click();
    EXPECT_FALSE(f.page->moving());
    EXPECT_GT(f.machine().steps(0), 100);
    EXPECT_LT(f.machine().steps(0), 3000);
    // A further move is not stopped by the earlier request.
    f.yield.onYield = nullptr;
    f.text("Text2")->setText("1");
    long before = f.machine().steps(1);
    f.button("Command6")->click();
    EXPECT_EQ(f.machine().steps(1) - before, 80);
}
