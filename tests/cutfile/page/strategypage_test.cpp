// The tool page's group "Stratégie de coupe": its settings reach the generation, their summary
// the message, and "Charger fichier fraisage(.DEF)" shows them again from the details file.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "cutfile/strategy/strategydetails.h"
#include "toolpagefixture.h"

using namespace vornelle;

TEST(StrategyPage, SettingsGenerateAndComeBackWithTheCutFile) {
    test::ToolPageFixture f;
    test::spit(f.dir.file("data/vrnl1.cfg"), test::toolConfig("100", "100"));
    test::spit(f.dir.file("carre.fra"),
               "0,0,0\r\n\"10\",\"10\",\"0\"\r\n\"10\",\"10\",\"1\"\r\n\"30\",\"10\",\"1\"\r\n\"30\",\"30\","
               "\"1\"\r\n"
               "\"10\",\"30\",\"1\"\r\n\"10\",\"10\",\"1\"\r\n\"10\",\"10\",\"0\"\r\n0,0,0\r\n");
    f.page->formLoad();
    auto text = [&](const char* n) { return f.page->findChild<QLineEdit*>(n); };
    auto list = [&](const char* n) { return f.page->findChild<QComboBox*>(n); };
    text("Text12")->setText("3");
    const std::pair<const char*, const char*> typed[] = {{"diametre", "2,5"},
                                                         {"passe", "1"},
                                                         {"attaches", "2"},
                                                         {"largeurattache", "4"},
                                                         {"hauteurattache", "1"}};
    for (auto [field, value] : typed) text(field)->setText(value);
    list("sens")->setCurrentText("En avalant");
    f.makeCutFile(f.dir.file("carre.fra"), f.dir.file("carre"));
    ASSERT_FALSE(f.dialogs.calls.empty());
    const std::string said = f.dialogs.calls.back().text;
    EXPECT_EQ(
        said.rfind("Fichier découpe créé avec succés\nStratégie de coupe : 1 contour découpé à l'extérieur",
                   0),
        0u)
        << said;
    EXPECT_NE(said.find("3 profondeurs de passe ; 2 attaches."), std::string::npos) << said;

    // Kept through "Modifier le fichier de détails", shown again by "Charger fichier fraisage(.DEF)".
    for (QAction* a : f.page->findChildren<QAction*>())
        if (a->objectName() == "modifdetail") a->trigger();
    EXPECT_EQ(readStrategyDetails(f.dir.file("carre.det")), f.page->strategy()->texts());
    f.page->strategy()->setTexts({});
    f.page->findChild<QPushButton*>("Command3")->click();
    for (auto [field, value] : typed) EXPECT_EQ(text(field)->text().toStdString(), value) << field;
    EXPECT_EQ(list("sens")->currentText(), "En avalant");
    EXPECT_EQ(list("compensation")->currentText(), "Automatique");
    // A first choice named in the file is still a setting given.
    f.page->strategy()->setTexts({"", "", "", "", "", "", "conventionnel"});
    EXPECT_EQ(list("sens")->currentText(), "Conventionnel");
    EXPECT_TRUE(f.page->strategy()->texts().any());
}
