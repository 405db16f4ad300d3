// The configuration page on the offscreen platform: load, the pin rule keystroke by keystroke,
// the save checks and what reaches vrnl1.cfg.
#include "config/page/configurationpage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "testsupport.h"

using namespace vornelle;

namespace {
struct Fixture {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::RecordingNavigator nav;
    std::unique_ptr<ConfigurationPage> page;
    bool folderFails = false;
    Fixture() {
        page = std::make_unique<ConfigurationPage>(dialogs, nav, [this]() -> Outcome<std::string> {
            if (folderFails) return Failure{"Dossier de données de Vornelle inutilisable"};
            return dir.path();
        });
    }
    QLineEdit* text(int n) { return page->findChild<QLineEdit*>(QString("Text%1").arg(n)); }
    QCheckBox* check(int n) { return page->findChild<QCheckBox*>(QString("Check%1").arg(n)); }
    void save() { page->findChild<QPushButton*>("Command1")->click(); }
};
const char* kPinMessage = "les pinoches de sorties sont la 2,3,4,5,6,7,8 ou 9";
}  // namespace

TEST(ConfigurationPage, ControlsCaptionsAndEmptyLoadWithoutMessage) {
    Fixture f;
    EXPECT_EQ(f.page->windowTitle(), "Configuration de l'environnement ");
    EXPECT_EQ(f.text(8)->text(), "1");
    EXPECT_EQ(f.text(10)->text(), "x");
    EXPECT_EQ(f.text(5)->toolTip(), "Présélection de la vitesse outil dans la matière");
    EXPECT_FALSE(f.text(16)->isVisibleTo(f.page.get()));
    EXPECT_EQ(f.page->findChild<QPushButton*>("Command1")->text(),
              "Sauvegarder la configuration et fermer la page ");
    EXPECT_EQ(f.page->findChild<QWidget*>("Shape13")->toolTip(), "Pin 13 dégagement axe Z");
    EXPECT_EQ(f.page->findChild<QWidget*>("Shape9")->toolTip(), "Pin 9 envoi donnée");
    EXPECT_EQ(f.page->findChild<QWidget*>("Shape20")->toolTip(), "Pin 20 masse signal");
    EXPECT_EQ(f.page->findChild<QWidget*>("Shape24")->toolTip(), "");

    f.page->formLoad();
    EXPECT_TRUE(f.dialogs.calls.empty());
    EXPECT_EQ(f.text(8)->text(), "");
    EXPECT_EQ(f.text(10)->text(), "");
    EXPECT_EQ(f.text(16)->text(), "1");  // the emptied pin box ran the rule
    EXPECT_EQ(f.text(25)->text(), "1");
}

TEST(ConfigurationPage, PinRuleKeystrokeByKeystroke) {
    Fixture f;
    QLineEdit* pin = f.text(10);
    pin->clear();
    QTest::keyClicks(pin, "5");
    EXPECT_EQ(f.text(16)->text(), "8");
    pin->clear();
    EXPECT_EQ(f.text(16)->text(), "1");  // cleared: weight 1, no message
    QTest::keyClicks(pin, "9");
    EXPECT_EQ(f.text(16)->text(), "128");
    EXPECT_TRUE(f.dialogs.calls.empty());

    // Typing 12: the first keystroke 1 is already refused and the box becomes "2".
    pin->clear();
    QTest::keyClicks(pin, "1");
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.dialogs.calls[0].text, kPinMessage);
    EXPECT_EQ(f.dialogs.calls[0].title, "Mauvaise saisie ");
    EXPECT_EQ(f.dialogs.calls[0].style, 288);
    EXPECT_EQ(pin->text(), "2");
    EXPECT_EQ(f.text(16)->text(), "1");

    // Pasted whole: 0, 10, 2,5 each bring the message; the non-connected pins use Text24/25.
    for (const char* bad : {"0", "10", "2,5"}) {
        f.dialogs.calls.clear();
        f.text(23)->setText(bad);
        EXPECT_EQ(f.dialogs.calls.size(), 1u) << bad;
        EXPECT_EQ(f.text(23)->text(), "2");
        EXPECT_EQ(f.text(25)->text(), "1");
    }
    f.text(22)->setText("8");
    EXPECT_EQ(f.text(24)->text(), "64");
}

TEST(ConfigurationPage, SaveChecksWritesAndReloads) {
    Fixture f;
    f.page->formLoad();
    const int pins[] = {10, 11, 12, 13, 14, 15, 22, 23};
    for (int i = 0; i < 8; ++i) f.text(pins[i])->setText(QString::number(2 + i));
    f.text(1)->setText("200");
    f.text(2)->setText("200");
    f.text(4)->setText("0,01");
    f.text(8)->setText("2");
    f.check(3)->setChecked(true);

    // Text3 empty: refused, nothing written, page stays.
    f.save();
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.dialogs.calls[0].text, "Saisie incomplete ?");
    EXPECT_EQ(f.dialogs.calls[0].style, 272);
    EXPECT_FALSE(existeconfig(f.dir.path()));
    EXPECT_TRUE(f.nav.log.empty());

    // Folder unusable: message, page kept with its edits.
    f.text(3)->setText("400");
    f.folderFails = true;
    f.save();
    EXPECT_EQ(f.dialogs.calls.size(), 2u);
    EXPECT_TRUE(f.nav.log.empty());
    EXPECT_EQ(f.text(3)->text(), "400");

    f.folderFails = false;
    f.save();
    EXPECT_EQ(f.dialogs.calls.size(), 2u);
    EXPECT_EQ(f.nav.log, std::vector<std::string>{"close configuration"});
    std::string line = test::slurp(f.dir.file("vrnl1.cfg"));
    EXPECT_EQ(
        line,
        "\"200\",\"200\",\"400\",\"0,01\",\"\",\"\",\"\",\"2\",\"\",\"1\",\"2\",\"4\",\"8\",\"16\",\"32\","
        "\"64\",\"128\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",0,0,1\r\n");

    // A fresh page loads the same record back.
    Fixture g;
    test::spit(g.dir.file("vrnl1.cfg"), line);
    g.page->formLoad();
    EXPECT_EQ(g.page->record(), f.page->record());
    EXPECT_TRUE(g.check(3)->isChecked());
    EXPECT_FALSE(g.check(1)->isChecked());
    EXPECT_TRUE(g.dialogs.calls.empty());
}

TEST(ConfigurationPage, StoredPinOutsideRangeBringsTheMessageDuringLoad) {
    Fixture f;
    configmachine c;
    c.pasmmX = c.pasmmY = c.pasmmZ = "100";
    c.pindirX = "0";
    c.pinclkX = "3";
    ASSERT_TRUE(sauveconfig(f.dir.path(), c));
    f.page->formLoad();
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.dialogs.calls[0].text, kPinMessage);
    EXPECT_EQ(f.text(10)->text(), "2");
    EXPECT_EQ(f.text(16)->text(), "1");
    EXPECT_EQ(f.text(17)->text(), "2");
}
