// The joystick page on the offscreen platform with the simulated machine.
#include "manual/page/joystickpage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "base/files.h"
#include "config/configmachine.h"
#include "machinetest.h"
#include "manual/repeatabilityfile.h"
#include "testsupport.h"
#include "ui/clicklabel.h"
#include "ui/qtservices.h"

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
    Machine machinery{ports, postToScreen(qApp)};
    test::RecordingPacer pacer;
    std::unique_ptr<JoystickPage> page;
    Fixture() {
        page = std::make_unique<JoystickPage>(
            dialogs, nav, [this] { return Outcome<std::string>(dir.path()); }, machinery, pacer);
        machinery.onBusyChanged([this](bool b) {
            if (page) page->setMotionBusy(b);
        });
    }
    ~Fixture() {
        test::waitIdle(machinery);
        page.reset();
    }
    // Clicks and waits until the move it started has ended.
    void click(const char* n) {
        button(n)->click();
        EXPECT_TRUE(test::waitIdle(machinery));
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
    f.click("Command10");
    f.click("Command1");
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
    g.click("Command9");
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
    f.click("Command10");
    EXPECT_EQ(f.machine().steps(0), 120);
    EXPECT_EQ(f.machine().lastPort(), 632);
    EXPECT_EQ(f.pacer.counts.front(), 1u);  // V = 1

    // Tick X, quit, show again: the page keeps its fields; the file holds the boxes.
    f.check("Check1")->setChecked(true);
    f.text("Text1")->setText("33");
    f.click("Command5");
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
    // Held at the 10th write (5 steps made, the 6th begun): the operator presses "Arrêt".
    test::Gate gate;
    f.machinery.setStepHook([&] {
        if (f.machine().writeCount() == 10 && !gate.reached()) gate.arrive();
    });
    f.text("Text2")->setText("100");
    f.button("Command10")->click();
    ASSERT_TRUE(gate.waitReached());
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_FALSE(f.button("Command6")->isEnabled());  // no second move meanwhile
    stop->click();
    gate.release();
    ASSERT_TRUE(test::waitIdle(f.machinery));
    EXPECT_EQ(f.machine().steps(0), 5);
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_TRUE(f.button("Command6")->isEnabled());

    // Escape does the same, here during a homing whose X switch never closes.
    f.machine().setSwitches({-1000000000, 0, 0, 0});
    f.page->show();
    test::Gate g2;
    f.machinery.setStepHook([&] {
        if (f.machine().steps(0) == 1000 && !g2.reached()) g2.arrive();
    });
    f.button("Command1")->click();
    ASSERT_TRUE(g2.waitReached());
    QTest::keyClick(f.page.get(), Qt::Key_Escape);
    g2.release();
    ASSERT_TRUE(test::waitIdle(f.machinery));
    EXPECT_FALSE(f.page->moving());
    EXPECT_EQ(f.machine().steps(0), 1000);
    // A further move is not stopped by the earlier request.
    f.machinery.setStepHook(nullptr);
    f.text("Text2")->setText("1");
    long before = f.machine().steps(1);
    f.click("Command6");
    EXPECT_EQ(f.machine().steps(1) - before, 80);
}

TEST(JoystickPage, LeavingDuringAHomingStopsItFirst) {
    // "quitter" during a homing: the homing stops, then the flags are saved and the page left.
    Fixture f;
    ASSERT_TRUE(sauveconfig(f.dir.path(), config()));
    f.page->formLoad();
    f.machine().setSwitches({-1000000000, 0, 0, 0});
    test::Gate gate;
    f.machinery.setStepHook([&] {
        if (f.machine().steps(0) == 50 && !gate.reached()) gate.arrive();
    });
    f.button("Command1")->click();
    ASSERT_TRUE(gate.waitReached());
    f.button("Command5")->click();
    EXPECT_TRUE(f.nav.log.empty());  // not left while the move runs
    gate.release();
    ASSERT_TRUE(test::waitIdle(f.machinery));
    EXPECT_EQ(f.machine().steps(0), 50);
    EXPECT_EQ(f.nav.log, (std::vector<std::string>{"hide form5", "show Mach"}));

    // The close box during a homing: refused until the homing has stopped, then closed;
    // the page is never freed under the move.
    Fixture g;
    ASSERT_TRUE(sauveconfig(g.dir.path(), config()));
    g.page->formLoad();
    g.machine().setSwitches({-1000000000, 0, 0, 0});
    g.page->show();
    test::Gate g2;
    g.machinery.setStepHook([&] {
        if (g.machine().steps(0) == 50 && !g2.reached()) g2.arrive();
    });
    g.button("Command1")->click();
    ASSERT_TRUE(g2.waitReached());
    EXPECT_FALSE(g.page->close());
    EXPECT_TRUE(g.page->isVisible());
    g2.release();
    ASSERT_TRUE(test::waitIdle(g.machinery));
    EXPECT_EQ(g.nav.log, (std::vector<std::string>{"close form5"}));
    EXPECT_EQ(g.machine().steps(0), 50);
}

TEST(JoystickPage, UnusableInputIsRefusedBeforeAnyWrite) {
    Fixture f;
    configmachine c = config();
    c.poidsclkX = "1e300";  // no data line has such a weight
    ASSERT_TRUE(sauveconfig(f.dir.path(), c));
    f.page->formLoad();
    f.click("Command10");
    ASSERT_FALSE(f.dialogs.calls.empty());
    EXPECT_NE(f.dialogs.calls.back().text.find("1e300"), std::string::npos);
    EXPECT_EQ(f.machine().writeCount(), 0);

    Fixture g;
    ASSERT_TRUE(sauveconfig(g.dir.path(), config()));
    g.page->formLoad();
    g.text("Text4")->setText("0,0000000001");  // a pause of 10^12 iterations
    g.click("Command10");
    ASSERT_EQ(g.dialogs.calls.size(), 1u);
    EXPECT_NE(g.dialogs.calls[0].text.find("trop petit"), std::string::npos);
    g.text("Text4")->setText("0,01");
    g.text("Text2")->setText("100000000000000000000");  // 1.2e22 steps: never ends
    g.click("Command10");
    ASSERT_EQ(g.dialogs.calls.size(), 2u);
    EXPECT_NE(g.dialogs.calls[1].text.find("trop grand"), std::string::npos);
    EXPECT_EQ(g.machine().writeCount(), 0);
}

TEST(JoystickPage, APortThatStopsAnsweringEndsTheMove) {
    Fixture f;
    ASSERT_TRUE(sauveconfig(f.dir.path(), config()));
    std::vector<std::string> status;
    f.ports.onChange([&](const std::string& d, const std::string&, bool) { status.push_back(d); });
    f.page->formLoad();
    f.machine().failAtWrite(7);
    f.text("Text2")->setText("100");
    f.click("Command10");
    EXPECT_EQ(f.machine().writeCount(), 6);
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_NE(f.dialogs.calls[0].text.find("Port simulé"), std::string::npos);
    EXPECT_NE(f.dialogs.calls[0].text.find("ne répond plus"), std::string::npos);
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back(), "Aucun port en service");
    // The next move opens the port again and works.
    f.text("Text2")->setText("1");
    f.click("Command10");
    EXPECT_EQ(f.machine().steps(0), 3 + 120);
    EXPECT_EQ(status.back(), "Port simulé (aucun port parallèle)");
}

TEST(JoystickPage, ThePositionFollowsTheMovesFromTheStartThenFromTheLastHoming) {
    Fixture f;
    ASSERT_TRUE(sauveconfig(f.dir.path(), config()));
    f.page->formLoad();
    PositionLabel* position = f.page->positionLabel();
    EXPECT_EQ(position->text(), "Position depuis le démarrage du programme : X 0,000 ; Y 0,000 ; Z 0,000 mm");
    f.text("Text2")->setText("2");
    f.click("Command10");  // X, 240 steps at 120 per mm, DIR high: counted downwards
    f.click("Command7");   // Y, 160 steps at 80 per mm, DIR low
    EXPECT_EQ(f.machine().position(0), -240);
    EXPECT_EQ(f.machine().position(1), 160);
    EXPECT_EQ(position->text(),
              "Position depuis le démarrage du programme : X -2,000 ; Y 2,000 ; Z 0,000 mm");
    // The steps per mm as the page holds them now.
    f.text("Text1")->setText("240");
    position->refresh();
    EXPECT_TRUE(position->text().contains("X -1,000 ; Y 2,000")) << position->text().toStdString();
    f.text("Text1")->setText("120");

    // Homing: the machine ends somewhere else, which is the new origin.
    f.click("Command1");
    EXPECT_TRUE(f.dialogs.calls.empty());
    EXPECT_NE(f.machine().position(0), -240);
    EXPECT_EQ(position->text(),
              "Position depuis la dernière mise à la niche : X 0,000 ; Y 0,000 ; Z 0,000 mm");
    f.text("Text2")->setText("1");
    long x = f.machine().position(0);
    f.click("Command11");  // X the other way, 1 mm
    EXPECT_EQ(f.machine().position(0), x + 120);
    EXPECT_EQ(position->text(),
              "Position depuis la dernière mise à la niche : X 1,000 ; Y 0,000 ; Z 0,000 mm");
}

TEST(JoystickPage, PositionCheckHomesThenAfterTheJogsTellsWhatWasLost) {
    Fixture f;
    ASSERT_TRUE(sauveconfig(f.dir.path(), config()));
    f.page->formLoad();
    EXPECT_EQ(f.button("CommandControle")->text(), "Contrôle de position");
    EXPECT_FALSE(f.button("CommandControle")->toolTip().isEmpty());
    f.text("TextRepetabilite")->setText("x");
    f.click("CommandControle");
    EXPECT_EQ(f.machine().writeCount(), 0);
    EXPECT_EQ(f.dialogs.calls.back().text, "Répétabilité \"x\" invalide : saisir un nombre entier de pas, 0 ou plus.");
    f.text("TextRepetabilite")->setText("2");
    // Every 10th step of X towards plus lost during the jogs: 1 mm out (120 steps) loses 12.
    const std::pair<long, std::string> cases[] = {
        {0, "Aucun pas perdu\nÉcart entre les deux prises d'origine : X : 0 pas (0,00 mm), Y : 0 pas (0,00 mm), "
            "Z : 0 pas (0,00 mm)."},
        {10, "X a perdu 12 pas (0,10 mm) : réduisez la vitesse ou l'accélération\nÉcart entre les deux prises "
             "d'origine : X : 12 pas (0,10 mm), Y : 0 pas (0,00 mm), Z : 0 pas (0,00 mm)."},
    };
    for (const auto& [every, verdict] : cases) {
        f.click("CommandControle");
        EXPECT_TRUE(f.page->positionNoted());
        EXPECT_EQ(f.dialogs.calls.back().text.rfind("Position notée.", 0), 0u) << f.dialogs.calls.back().text;
        f.machine().loseSteps(0, every);
        f.machine().setLosing(true);
        f.click("Command11");
        f.click("Command10");
        f.machine().setLosing(false);
        f.click("CommandControle");
        EXPECT_FALSE(f.page->positionNoted());
        EXPECT_EQ(f.dialogs.calls.back().text, verdict);
    }
}

TEST(JoystickPage, TheRepeatabilityIsKeptBesideTheConfigurationForTheNextSession) {
    Fixture f;
    ASSERT_TRUE(sauveconfig(f.dir.path(), config()));
    const std::string file = f.dir.file(kRepeatabilityFile);
    const struct {
        const char* contents;  // nullptr: no file
        const char* shown;
        bool refused;
    } cases[] = {
        {nullptr, "2", false}, {"\"7\"\r\n", "7", false}, {"\"-1\"\r\n", "2", true}, {"7", "2", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.contents ? c.contents : "no file");
        std::filesystem::remove(file);
        if (c.contents) test::spit(file, c.contents);
        f.text("TextRepetabilite")->setText("2");
        f.dialogs.calls.clear();
        f.page->formLoad();
        EXPECT_EQ(f.text("TextRepetabilite")->text(), c.shown);
        EXPECT_EQ(!f.dialogs.calls.empty() && f.dialogs.calls.back().text.find("abîmé") != std::string::npos,
                  c.refused);
    }
    // Saved as the check starts; a value the check refuses is not.
    for (const char* typed : {"9", "x"}) {
        f.text("TextRepetabilite")->setText(typed);
        f.click("CommandControle");
    }
    EXPECT_EQ(test::slurp(file), "\"9\"\r\n");
    JoystickPage next(
        f.dialogs, f.nav, [&f] { return Outcome<std::string>(f.dir.path()); }, f.machinery, f.pacer);
    next.formLoad();
    EXPECT_EQ(next.findChild<QLineEdit*>("TextRepetabilite")->text(), "9");
}
