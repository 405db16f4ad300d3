// The tool page and a run through it, on the offscreen platform with the simulated machine.
#include "cutfile/page/toolpage.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "base/files.h"
#include "config/configmachine.h"
#include "cutfilerig.h"
#include "machinetest.h"
#include "toolpagefixture.h"

using namespace vornelle;

namespace {
struct Fixture : test::ToolPageFixture {
    void configure() { test::spit(dir.file("data/vrnl1.cfg"), test::toolConfig("100", "100")); }
    QLineEdit* text(const char* n) { return page->findChild<QLineEdit*>(n); }
    QPushButton* button(const char* n) { return page->findChild<QPushButton*>(n); }
    void drawingFile(const std::string& name) {
        test::spit(dir.file(name),
                   "0,0,0\r\n\"10\",\"0\",\"0\"\r\n\"10\",\"0\",\"1\"\r\n\"20,5\",\"5.25\",\"1\"\r\n"
                   "\"20,5\",\"5.25\",\"0\"\r\n0,0,0\r\n");
    }
};
}  // namespace

TEST(ToolPage, LoadWithoutAndWithConfiguration) {
    Fixture f;
    f.page->formLoad();
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.dialogs.calls[0].text,
              "Vous devez configurer en fonction de votre machine avant d'utiliser Vornelle");
    EXPECT_EQ(f.dialogs.calls[0].title, "aller en page configuration !!!");
    EXPECT_FALSE(f.button("Command11")->isVisibleTo(f.page.get()));
    EXPECT_FALSE(f.button("Command12")->isVisibleTo(f.page.get()));
    EXPECT_EQ(f.text("Text6")->text(), "120");
    EXPECT_EQ(f.page->property("port").toInt(), -1);
    // Generating or running without a configuration: the same message, nothing written.
    f.button("Command10")->click();
    EXPECT_EQ(f.dialogs.calls.back().title, "aller en page configuration !!!");
    EXPECT_TRUE(std::filesystem::is_empty(f.dir.file("data/work")));

    Fixture g;
    g.configure();
    g.drawingFile("bride.fra");
    g.drawing.lastSavedFra = g.dir.file("bride.fra");
    g.page->formLoad();
    EXPECT_TRUE(g.dialogs.calls.empty());
    EXPECT_EQ(g.page->windowTitle(), "Gestion de l'outil de découpe");
    EXPECT_EQ(g.page->property("port").toInt(), 632);
    EXPECT_TRUE(g.button("Command12")->isVisibleTo(g.page.get()));
    EXPECT_FALSE(g.button("Command11")->isVisibleTo(g.page.get()));
    EXPECT_EQ(g.text("Text6")->text(), "200");
    EXPECT_EQ(g.text("Text12")->text(), "2");
    EXPECT_EQ(g.text("Text18")->text(), "32");
    EXPECT_EQ(g.text("Text23")->text(), "1");
    EXPECT_EQ(g.text("text1")->text().toStdString(), g.dir.file("bride.fra"));
    EXPECT_EQ(g.text("Text9")->text().toStdString(), g.dir.file("bride"));
    EXPECT_EQ(g.page->findChild<PreviewPicture*>("Picture1")->lines().size(), 5u);
    QStringList menu;
    for (QAction* a : g.page->pageMenus()) menu << a->text();
    EXPECT_EQ(menu, (QStringList{"fichier", "Revenir à l'écran d'accueil", "Retour vers Fichiers"}));
    g.page->pageMenus()[2]->trigger();
    EXPECT_EQ(g.nav.log, (std::vector<std::string>{"close Mach", "show dessin"}));
}

TEST(ToolPage, ZoomsPreviewAndTypingWithoutMessages) {
    Fixture f;
    f.configure();
    f.page->formLoad();
    f.page->zoomOut();
    f.page->zoomOut();
    f.page->zoomOut();
    EXPECT_DOUBLE_EQ(f.page->facteur(), 0.5 / 27);
    EXPECT_TRUE(f.dialogs.calls.empty());
    // Zoom + on a missing drawing: the message, and the click's net change is x 0,75.
    f.page->zoomIn();
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.dialogs.calls[0].text, "faire un zoom + petit (zoom-)!");
    EXPECT_DOUBLE_EQ(f.page->facteur(), 0.5 / 27 * 0.75);

    Fixture g;
    g.configure();
    g.drawingFile("a.fra");
    g.page->formLoad();
    QTest::keyClicks(g.text("text1"), QString::fromStdString(g.dir.file("a.fra")));
    EXPECT_TRUE(g.dialogs.calls.empty());
    EXPECT_EQ(g.page->findChild<PreviewPicture*>("Picture1")->lines().size(), 5u);
    g.page->zoomIn();
    EXPECT_DOUBLE_EQ(g.page->facteur(), 0.75);
    EXPECT_TRUE(g.dialogs.calls.empty());
}

TEST(ToolPage, BrowsePicksFillTheNames) {
    Fixture f;
    f.configure();
    f.drawingFile("a.fra");
    f.page->formLoad();
    f.page->findChild<QRadioButton*>("Option2")->click();
    f.page->openFolder(f.dir.path().substr(0, f.dir.path().size() - 1));
    EXPECT_EQ(f.text("Text9")->text().toStdString(), f.dir.path());
    f.page->findChild<QRadioButton*>("Option1")->click();
    auto* files = f.page->findChild<QListWidget*>("File1");
    ASSERT_EQ(files->count(), 1);  // "*.FRA" matches a.fra
    f.page->pickFile("a.fra");
    EXPECT_EQ(f.text("text1")->text().toStdString(), f.dir.file("a.fra"));
    EXPECT_EQ(f.page->findChild<PreviewPicture*>("Picture1")->lines().size(), 5u);
}

TEST(ToolPage, GenerateLoadDetailsAndRewrite) {
    Fixture f;
    f.configure();
    f.drawingFile("d.fra");
    f.page->formLoad();
    f.text("text1")->setText(QString::fromStdString(f.dir.file("d.fra")));
    f.text("Text9")->setText(QString::fromStdString(f.dir.file("piece")));
    f.page->findChild<QPlainTextEdit*>("Text7")->setPlainText("première ligne\nseconde, 12,5");
    f.text("Text4")->setText("1");
    f.button("Command10")->click();
    ASSERT_EQ(f.dialogs.texts(), std::vector<std::string>{"Fichier découpe créé avec succés"});
    EXPECT_EQ(f.pointer.depth, 0);
    EXPECT_EQ(f.text("Text9")->text().toStdString(), f.dir.file("piece.def"));
    EXPECT_NE(test::slurp(f.dir.file("piece.det"))
                  .find("\"premi\xe8"
                        "re ligne\r\nseconde, 12,5\""),
              std::string::npos)
        << test::slurp(f.dir.file("piece.det"));
    // A second click is refused: the name now ends in def.
    f.button("Command10")->click();
    EXPECT_EQ(f.dialogs.calls.back().text, "Ne pas mettre d'extension au nom de fichier");

    // Load the details into a fresh page.
    Fixture g;
    g.configure();
    g.page->formLoad();
    std::filesystem::copy(f.dir.file("piece.def"), g.dir.file("piece.def"));
    std::filesystem::copy(f.dir.file("piece.det"), g.dir.file("piece.det"));
    g.text("Text9")->setText(QString::fromStdString(g.dir.file("piece.def")));
    g.button("Command3")->click();
    EXPECT_TRUE(g.dialogs.calls.empty());
    EXPECT_EQ(g.page->field("Text7"), "première ligne\r\nseconde, 12,5");
    EXPECT_EQ(g.text("text1")->text().toStdString(), f.dir.file("d.fra"));
    EXPECT_EQ(g.text("Text9")->text().toStdString(), f.dir.file("piece.def"));
    EXPECT_EQ(g.text("Text10")->text(), "100");
    EXPECT_EQ(g.run.vitdans, 100);

    // Rewrite: field 7 is the unchanged Text9.
    g.text("Text9")->setText(QString::fromStdString(g.dir.file("piece.def")));
    g.text("Text4")->setText("3");
    g.page->rewriteDetails();
    EXPECT_TRUE(g.dialogs.calls.empty());
    std::string det = test::slurp(g.dir.file("piece.det"));
    EXPECT_EQ(det.substr(det.size() - 2), "\r\n");
    EXPECT_NE(det.find("\"3\""), std::string::npos);

    // Refusals change nothing.
    g.text("Text9")->setText("");
    g.button("Command3")->click();
    EXPECT_EQ(g.dialogs.calls.back().text, "Saisie nom du fichier de découpe ?");
    g.text("Text9")->setText(QString::fromStdString(g.dir.file("none.def")));
    g.button("Command3")->click();
    EXPECT_EQ(g.dialogs.calls.back().text, "Fichier introuvable !");
    test::spit(g.dir.file("x.Def"), "1\r\n");
    g.text("Text9")->setText(QString::fromStdString(g.dir.file("x.Def")));
    g.button("Command3")->click();
    EXPECT_EQ(g.dialogs.calls.back().text, "choisir un fichier de découpe valide");
    test::spit(g.dir.file("lone.def"), "1\r\n");
    g.text("Text9")->setText(QString::fromStdString(g.dir.file("lone.def")));
    g.text("Text4")->setText("7");
    g.button("Command3")->click();
    EXPECT_NE(g.dialogs.calls.back().text.find("introuvable"), std::string::npos);
    g.page->rewriteDetails();
    EXPECT_NE(g.dialogs.calls.back().text.find("rien n'a été modifié"), std::string::npos);
    EXPECT_FALSE(fileExists(g.dir.file("lone.det")));
    test::spit(g.dir.file("short.det"), "\"1\",\"2\"\r\n");
    test::spit(g.dir.file("short.def"), "1\r\n");
    g.text("Text9")->setText(QString::fromStdString(g.dir.file("short.def")));
    g.button("Command3")->click();
    EXPECT_NE(g.dialogs.calls.back().text.find("incomplet"), std::string::npos);
    EXPECT_EQ(g.text("Text4")->text(), "7");
}

TEST(ToolPage, DecouperPlaysTheCutThroughThePanel) {
    Fixture f;
    f.configure();
    // A real drawing: the square and circle sample, imported and saved as d.fra.
    ASSERT_TRUE(test::saveSquareFra(f.dir.file("data/work/"), f.dir.file("d.fra")));
    f.page->formLoad();
    f.makeCutFile(f.dir.file("d.fra"), f.dir.file("piece"));
    f.dialogs.calls.clear();
    f.ports.simulated().setRecording(false);
    // The operator moves the panel's scroll bar during the run (tool out of the material):
    // the run is held after its 10th write meanwhile.
    test::Gate gate;
    f.machine.setStepHook([&] {
        if (f.ports.simulated().writeCount() > 10 && !gate.reached()) gate.arrive();
    });
    f.button("Command12")->click();
    ASSERT_TRUE(gate.waitReached());
    ASSERT_NE(f.runner.panel(), nullptr);
    EXPECT_TRUE(f.runner.panel()->isVisible());
    EXPECT_EQ(f.runner.panel()->windowTitle(), "Découpe en cours");
    EXPECT_FALSE(f.button("Command12")->isEnabled());  // no second run inside the first
    f.runner.panel()->scrollBar()->setValue(25);
    gate.release();
    ASSERT_TRUE(test::waitIdle(f.machine));
    EXPECT_EQ(f.dialogs.texts(), (std::vector<std::string>{"Prêt pour la découpe ?", "découpe terminée !"}));
    EXPECT_EQ(f.nav.log, (std::vector<std::string>{"hide Mach", "show Mach"}));
    uint64_t ticks = 0;
    {
        std::ifstream def(f.dir.file("piece.def"));
        std::string line;
        while (std::getline(def, line)) ++ticks;
    }
    EXPECT_GT(ticks, 1000u);
    EXPECT_EQ(static_cast<uint64_t>(f.ports.simulated().writeCount()), 2 * ticks);
    EXPECT_EQ(f.ports.simulated().lastPort(), 632);
    for (int a = 0; a < 3; ++a) EXPECT_EQ(f.ports.simulated().position(a), 0);
    EXPECT_EQ(f.text("Text11")->text(), "75");
    EXPECT_EQ(f.pointer.depth, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.runner.panel(), nullptr);
}

TEST(Panel, ButtonsRaiseFlagsAndClosingDuringARunStops) {
    RunState st;
    DecencoursPanel p(st);
    for (const char* n : {"Command2", "Command3", "Command4", "Command5"})
        p.findChild<QPushButton*>(n)->click();
    EXPECT_EQ(st.pause + st.reprise + st.profplus + st.profmoins, 4);
    p.findChild<QPushButton*>("Command2")->click();
    EXPECT_EQ(st.pause, 1);
    EXPECT_EQ(st.arret, 0);
    p.findChild<QPushButton*>("Command1")->click();
    EXPECT_EQ(st.arret, 1);
    st.arret = 0;
    // Unset state: the scroll bar writes vitdans; Label1 shows 100 - position.
    p.scrollBar()->setValue(100);
    EXPECT_EQ(p.findChild<QLabel*>("Label1")->text(), "0");
    EXPECT_EQ(st.vitdans, 0);
    st.horsmatiere = 1;
    p.scrollBar()->setValue(0);
    EXPECT_EQ(p.findChild<QLabel*>("Label1")->text(), "100");
    EXPECT_EQ(st.vithors, 100);
    p.show();
    p.setRunning(true);
    p.close();
    EXPECT_EQ(st.arret, 1);
    EXPECT_TRUE(p.isVisible());
    // Escape is the emergency stop too, and the panel stays above the program's windows.
    st.arret = 0;
    QTest::keyClick(&p, Qt::Key_Escape);
    EXPECT_EQ(st.arret, 1);
    st.arret = 0;
    EXPECT_TRUE(p.windowFlags() & Qt::WindowStaysOnTopHint);
    p.showRunning();
    EXPECT_EQ(p.focusWidget(), p.findChild<QPushButton*>("Command1"));
    p.startProgress();
    p.progress(50, 200, true);
    EXPECT_TRUE(p.findChild<QLabel*>("progression")->text().startsWith("50 / 200 enregistrements"));
    EXPECT_EQ(durationText(3725), "1:02:05");
    EXPECT_EQ(durationText(65), "01:05");
}

TEST(ToolPage, FolderListAndChemin) {
    // A file picked right after the page opens gets the folder it is listed in.
    Fixture f;
    f.configure();
    f.drawingFile("data/bride.fra");
    f.page->formLoad();
    auto* dirs = f.page->findChild<QListWidget*>("Dir1");
    EXPECT_EQ(dirs->currentItem()->data(Qt::UserRole).toString().toStdString(), f.dir.file("data/"));
    EXPECT_EQ(dirs->item(0)->data(Qt::UserRole).toString(), "/");
    f.page->findChild<QRadioButton*>("Option1")->click();
    auto* files = f.page->findChild<QListWidget*>("File1");
    ASSERT_EQ(files->count(), 1);
    emit f.page->filePanel()->fileActivated(files->item(0)->text().toStdString());
    EXPECT_EQ(f.text("text1")->text().toStdString(), f.dir.file("data/bride.fra"));
    EXPECT_EQ(f.page->findChild<PreviewPicture*>("Picture1")->lines().size(), 5u);

    // After a single click on a folder, either option lists the clicked folder, chemin's.
    std::filesystem::create_directories(f.dir.file("data/work/sous"));
    f.drawingFile("data/work/a.fra");
    test::spit(f.dir.file("data/work/a.def"), "");
    f.page->clickFolder(f.dir.file("data/work"));
    EXPECT_EQ(f.page->chemin(), f.dir.file("data/work/"));
    f.page->findChild<QRadioButton*>("Option2")->click();
    ASSERT_EQ(files->count(), 1);
    EXPECT_EQ(files->item(0)->text(), "a.def");
    f.page->findChild<QRadioButton*>("Option1")->click();
    ASSERT_EQ(files->count(), 1);
    f.page->pickFile("a.fra");
    EXPECT_EQ(f.text("text1")->text().toStdString(), f.dir.file("data/work/a.fra"));
}
