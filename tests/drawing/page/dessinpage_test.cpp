// The drawing page on the offscreen platform, with scripted dialogs and real files: the file
// panel and its options, Effacer and Renommer, the DXF, DAT and FRA loads, the save checks,
// the view and the three lists.
#include "drawing/page/dessinpage.h"

#include <gtest/gtest.h>

#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <filesystem>

#include "base/files.h"
#include "drawing/import/dxfimport.h"
#include "drawingpagefixture.h"
#include "recordingpainter.h"

using namespace vornelle;
using test::Drawn;

namespace {
const std::string kSamples = SAMPLES_DIR;
const std::string kSquare = test::squareSample();

struct Fixture : test::DrawingPageFixture {
    template <class T = QWidget>
    T* child(const char* name) {
        T* w = page->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    bool shown(const char* name) { return child(name)->isVisibleTo(page.get()); }
    QLineEdit* text2() { return child<QLineEdit>("Text2"); }
    void setText2(const std::string& t) { text2()->setText(QString::fromStdString(t)); }
    std::string text2s() { return text2()->text().toStdString(); }
    void click(const char* name) { child<QAbstractButton>(name)->click(); }
    QStringList files() {
        QStringList l;
        auto* f = child<QListWidget>("File1");
        for (int i = 0; i < f->count(); ++i) l << f->item(i)->text();
        return l;
    }
    std::string lastText() { return dialogs.calls.empty() ? "" : dialogs.calls.back().text; }
    QAction* menuItem(const char* name) { return page->findChild<QAction*>(name); }
    // Chooses a file type, puts the path in Text2 and presses its button.
    void load(const char* option, const std::string& path, const char* button) {
        page->choise();
        click(option);
        setText2(path);
        click(button);
    }
};
}  // namespace

TEST(DessinPage, LoadMenuAndTheOptionTable) {
    Fixture f;
    EXPECT_EQ(f.page->windowTitle(), "Travail sur les Fichier");
    QStringList top;
    for (QAction* a : f.page->pageMenus()) top << a->text();
    EXPECT_EQ(top, (QStringList{"Fichier", "Revenir à l'écran d'accueil", "Aller vers Outil"}));
    QStringList items;
    for (QAction* a : f.page->pageMenus()[0]->menu()->actions())
        items << a->text() + (a->isEnabled() ? "" : " (grisé)");
    EXPECT_EQ(items, (QStringList{"Choisir un fichier ", "Ouvrir un fichier (grisé)",
                                  "Sauvegarder un fichier (grisé)", "Effacer", "Renommer"}));
    // The panel is hidden at load; the folder list stands on chemin, the data folder.
    for (const char* n : {"Drive1", "Dir1", "File1", "Text2", "Option1", "Option2", "Option3", "Command4",
                          "Command6", "Command7", "Command8"})
        EXPECT_FALSE(f.shown(n)) << n;
    EXPECT_EQ(f.page->chemin(), f.dir.file("data/"));
    EXPECT_EQ(f.page->filePanel()->folder(), f.page->chemin());

    test::spit(f.dir.file("a.fra"), "");
    test::spit(f.dir.file("B.FRA"), "");
    test::spit(f.dir.file("c.dxf"), "");
    test::spit(f.dir.file("d.DAT"), "");
    f.page->choise();
    for (const char* n : {"Drive1", "Dir1", "File1", "Text2", "Option1", "Option2", "Option3"})
        EXPECT_TRUE(f.shown(n)) << n;
    f.page->filePanel()->openFolder(f.dir.path());
    EXPECT_EQ(f.files(), QStringList{"c.dxf"});  // "*.DXF" at activation, whatever the case
    struct Row {
        const char* option;
        QStringList files;
        std::vector<const char*> visible, hidden;
    } table[] = {{"Option1", {"a.fra", "B.FRA"}, {"Command4", "Command6"}, {"Command7", "Command8"}},
                 {"Option3", {"d.DAT"}, {"Command7"}, {"Command4", "Command6", "Command8"}},
                 {"Option2", {"c.dxf"}, {"Command8"}, {"Command4", "Command6", "Command7"}}};
    for (const Row& r : table) {
        f.click(r.option);
        EXPECT_EQ(f.files(), r.files) << r.option;
        for (const char* n : r.visible) EXPECT_TRUE(f.shown(n)) << r.option << " " << n;
        for (const char* n : r.hidden) EXPECT_FALSE(f.shown(n)) << r.option << " " << n;
    }
    EXPECT_EQ(f.child<QAbstractButton>("Command6")->text(), "Sauver");
    EXPECT_EQ(f.child<QAbstractButton>("Command8")->text(), "Charger");
    EXPECT_TRUE(f.dialogs.calls.empty());
}

TEST(DessinPage, FolderListAndText2) {
    Fixture f;
    std::filesystem::create_directories(f.dir.file("pieces/sous"));
    test::spit(f.dir.file("pieces/aile.dxf"), "");
    test::spit(f.dir.file("pieces/sous/bride.dxf"), "");
    f.page->choise();
    FilePanel* panel = f.page->filePanel();
    panel->openFolder(f.dir.file("pieces"));
    EXPECT_EQ(f.text2s(), f.dir.file("pieces/"));
    EXPECT_EQ(f.page->chemin(), f.dir.file("pieces/"));
    // Dir1: the path from the root down to the folder, the folder selected, then its subfolders.
    auto* dirs = f.child<QListWidget>("Dir1");
    ASSERT_GE(dirs->count(), 3);
    EXPECT_EQ(dirs->item(0)->data(Qt::UserRole).toString(), "/");
    EXPECT_EQ(dirs->currentItem()->data(Qt::UserRole).toString().toStdString(), f.dir.file("pieces/"));
    EXPECT_EQ(dirs->item(dirs->count() - 1)->data(Qt::UserRole).toString().toStdString(),
              f.dir.file("pieces/sous/"));
    EXPECT_EQ(dirs->item(dirs->count() - 1)->data(Qt::AccessibleTextRole).toString(), "sous");

    panel->clickFile("aile.dxf");
    EXPECT_EQ(f.text2s(), f.dir.file("pieces/aile.dxf"));
    // A click on a subfolder: its files, chemin and Text2 agree.
    panel->clickFolder(f.dir.file("pieces/sous"));
    EXPECT_EQ(f.text2s(), f.dir.file("pieces/sous/"));
    EXPECT_EQ(f.files(), QStringList{"bride.dxf"});
    f.click("Option2");
    EXPECT_EQ(f.files(), QStringList{"bride.dxf"});
    panel->clickFile("bride.dxf");
    EXPECT_EQ(f.text2s(), f.dir.file("pieces/sous/bride.dxf"));
    // A drive change puts its root in Text2 and opens it.
    f.page->driveChange("/");
    EXPECT_EQ(f.text2s(), "/");
    EXPECT_EQ(panel->openedFolder(), "/");
    f.page->driveChange(f.dir.file("nothing/"));
    EXPECT_EQ(panel->openedFolder(), "/");
}

TEST(DessinPage, EffacerAndRenommer) {
    Fixture f;
    f.page->choise();
    f.page->effacer();
    EXPECT_EQ(f.lastText(), "je ne peux pas effacer de fichier si aucun fichier n'est sélectionné");
    EXPECT_EQ(f.dialogs.calls.back().title, "essaie encore");
    f.setText2(f.dir.path());
    f.page->effacer();
    EXPECT_EQ(f.dialogs.calls.size(), 2u);

    std::string aile = f.dir.file("aile.dxf");
    test::spit(aile, "x");
    f.page->filePanel()->openFolder(f.dir.path());
    f.page->filePanel()->clickFile("aile.dxf");
    f.dialogs.answers = {Button::No};
    f.page->effacer();
    EXPECT_EQ(f.lastText(), "Confirmer effacer ?");
    EXPECT_EQ(f.dialogs.calls.back().style, 36);
    EXPECT_TRUE(fileExists(aile));

    // Renommer: a folder is refused; a cancelled or empty answer does nothing.
    f.setText2(f.dir.path());
    f.page->renommer();
    EXPECT_EQ(f.lastText(), "je ne peux pas renommer un fichier s'il n'est pas selectionné");
    f.setText2(aile);
    size_t before = f.dialogs.calls.size();
    f.dialogs.inputs = {std::nullopt, std::string()};
    f.page->renommer();
    f.page->renommer();
    EXPECT_EQ(f.dialogs.calls.size(), before);
    EXPECT_EQ(f.dialogs.prompts.back(), "nouveau nom?");
    // A bare name stays in the file's folder; the question shows the answer itself.
    f.dialogs.inputs = {std::string("aile2.dxf")};
    f.page->renommer();
    EXPECT_EQ(f.lastText(), "aile2.dxf");
    EXPECT_EQ(f.dialogs.calls.back().title, "renommer");
    EXPECT_TRUE(fileExists(f.dir.file("aile2.dxf")));
    EXPECT_FALSE(fileExists(aile));
    EXPECT_EQ(f.files(), QStringList{"aile2.dxf"});
    // Renaming over another file is refused, with the file and the reason.
    test::spit(aile, "other");
    f.setText2(f.dir.file("aile2.dxf"));
    f.dialogs.inputs = {aile};
    f.page->renommer();
    EXPECT_NE(f.lastText().find("Impossible de renommer " + f.dir.file("aile2.dxf")), std::string::npos);
    EXPECT_NE(f.lastText().find("existe déjà"), std::string::npos);
    EXPECT_EQ(test::slurp(aile), "other");
    EXPECT_TRUE(fileExists(f.dir.file("aile2.dxf")));

    // Yes deletes; a file the system cannot delete is named with the reason.
    f.setText2(aile);
    f.page->effacer();
    EXPECT_FALSE(fileExists(aile));
    f.page->effacer();
    EXPECT_EQ(f.lastText(), "Impossible d'effacer " + aile + " : fichier ou dossier introuvable");
    f.setText2(f.dir.file("data"));
    f.page->effacer();
    EXPECT_NE(f.lastText().find("c'est un dossier"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(f.dir.file("data")));
}

TEST(DessinPage, DxfAndDatLoads) {
    Fixture f;
    f.load("Option2", kSquare, "Command8");
    EXPECT_TRUE(f.dialogs.calls.empty()) << f.lastText();
    EXPECT_GT(f.page->drawing().size(), 76u);
    EXPECT_EQ(f.child<QLineEdit>("Text3")->text().toStdString(), f.page->drawing().Text3);
    EXPECT_EQ(f.child<QListView>("List3")->model()->rowCount(), static_cast<int>(f.page->drawing().size()));
    for (const char* n : {"Drive1", "Dir1", "File1", "Text2", "Option1", "Option2", "Option3", "Command8"})
        EXPECT_FALSE(f.shown(n)) << n;
    EXPECT_FALSE(f.child<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(f.pointer.depth, 0);
    EXPECT_EQ(f.page->viewer()->scene().variant, Redraw::None);  // drawn at the next zoom or scroll
    size_t records = f.page->drawing().size();

    // Refusals in a box; the drawing stays.
    test::spit(f.dir.file("bad.dxf"), "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nabc\n");
    f.load("Option2", f.dir.file("bad.dxf"), "Command8");
    EXPECT_EQ(f.lastText().rfind("Fichier DXF illisible ligne 8 :", 0), 0u) << f.lastText();
    test::spit(f.dir.file("texte.dxf"), "0\nSECTION\n2\nENTITIES\n0\nTEXT\n1\nbonjour\n0\nENDSEC\n0\nEOF\n");
    f.load("Option2", f.dir.file("texte.dxf"), "Command8");
    EXPECT_EQ(f.lastText().rfind("Aucune entité à découper", 0), 0u) << f.lastText();
    EXPECT_EQ(f.page->drawing().size(), records);
    EXPECT_TRUE(f.shown("Command8"));

    // Entities that are not cut are listed by type after the import.
    test::spit(f.dir.file("mixte.dxf"),
               "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n0\n20\n0\n11\n5\n21\n5\n0\nTEXT\n1\nA\n0\nTEXT\n1\nB\n"
               "0\nARC\n10\n0\n20\n0\n40\n1\n50\n0\n51\n90\n0\nENDSEC\n0\nEOF\n");
    f.dialogs.answers = {Button::No};  // not the complete import the page offers for the ARC
    f.load("Option2", f.dir.file("mixte.dxf"), "Command8");
    EXPECT_EQ(f.lastText(), "Le dessin est incomplet : entités non découpées : 1 ARC, 2 TEXT.");
    EXPECT_EQ(f.page->drawing().size(), 4u);

    size_t shownBefore = f.dialogs.calls.size();
    f.load("Option3", kSamples + "/dat/uiuc-asb__naca0012.dat", "Command7");
    EXPECT_EQ(f.dialogs.calls.size(), shownBefore) << f.lastText();
    EXPECT_GT(f.page->drawing().size(), 50u);
    EXPECT_FALSE(f.shown("Command7"));
    EXPECT_EQ(f.page->chaine(), kSamples + "/dat/uiuc-asb__naca0012.dat");
    std::filesystem::copy(kSamples + "/dat/uiuc-asb__naca0012.dat", f.dir.file("PROFIL.DAT"));
    f.load("Option3", f.dir.file("PROFIL.DAT"), "Command7");
    EXPECT_EQ(f.lastText(), "choisir un fichier DAT");
    EXPECT_TRUE(f.shown("Command7"));
}

TEST(DessinPage, CompleteImportOfferedForWhatTheClassicOneSkips) {
    // The wing ribs: LWPOLYLINE and ARC that the classic import skips; the complete import
    // leaves the ribs as open halves 0,5 apart until the ends are joined at 0,51.
    Fixture f;
    const std::string ribs = kSamples + "/dxf/gh-dxf2gcode__AFluegel_Rippen_b2_0201.dxf";
    f.dialogs.answers = {Button::Yes};
    f.dialogs.inputs = {std::string("0,51"), std::nullopt};
    f.load("Option2", ribs, "Command8");
    ASSERT_GE(f.dialogs.calls.size(), 2u);
    const test::DialogCall& q = f.dialogs.calls[0];
    EXPECT_EQ(q.text.rfind("Ce fichier contient aussi ", 0), 0u) << q.text;
    EXPECT_NE(q.text.find("LWPOLYLINE"), std::string::npos) << q.text;
    EXPECT_NE(q.text.find("que l'import standard ignore. Importer le dessin complet ?"), std::string::npos);
    EXPECT_EQ(q.style, 36);
    ASSERT_EQ(f.dialogs.prompts.size(), 1u);
    EXPECT_NE(f.dialogs.prompts[0].find("36 ouverts"), std::string::npos) << f.dialogs.prompts[0];
    EXPECT_NE(f.dialogs.prompts[0].find("Unités du dessin : mm."), std::string::npos) << f.dialogs.prompts[0];
    EXPECT_NE(f.dialogs.prompts[0].find("est de 0,5."), std::string::npos) << f.dialogs.prompts[0];
    // Joined at 0,51: every contour closed, said in the last box.
    EXPECT_EQ(f.lastText(),
              "Dessin importé en entier : 45 découpes, 45 contours fermés, 0 ouverts. Unités du "
              "dessin : mm.")
        << f.lastText();
    EXPECT_EQ(f.page->drawing().Text3, "45");
    EXPECT_FALSE(f.shown("Command8"));
    EXPECT_EQ(f.pointer.depth, 0);

    // Declined: the classic drawing stays, with the list of what it left out.
    Fixture g;
    g.dialogs.answers = {Button::No};
    g.load("Option2", ribs, "Command8");
    EXPECT_EQ(g.page->drawing().Text3, "149");
    EXPECT_EQ(g.lastText().rfind("Le dessin est incomplet : entités non découpées : ", 0), 0u)
        << g.lastText();

    // A typed distance that is no number: said, and the drawing of the complete import stays.
    Fixture h;
    h.dialogs.answers = {Button::Yes};
    h.dialogs.inputs = {std::string("beaucoup")};
    h.load("Option2", ribs, "Command8");
    EXPECT_EQ(h.lastText(), "Distance \"beaucoup\" invalide : saisir un nombre positif (par exemple 0,5).");
    EXPECT_EQ(h.page->drawing().Text3, "63");
}

TEST(DessinPage, OpenThenSaveInOrder) {
    Fixture f;
    Drawing d;
    ASSERT_TRUE(importDxf(kSquare, f.dir.file("data/work/"), d).ok);
    ASSERT_TRUE(writeFra(d, f.dir.file("carre.fra")));
    // Open: the checks, then the drawing with the origin records and the redraw at VScroll1 = 50.
    f.load("Option1", "", "Command4");
    EXPECT_EQ(f.lastText(), "Nom du fichier ?");
    f.load("Option1", f.dir.file("none.fra"), "Command4");
    EXPECT_EQ(f.lastText(), "Fichier introuvable !");
    test::spit(f.dir.file("bad.fra"), "0,0,0\r\n\"1\",\"2\"\r\n");
    f.load("Option1", f.dir.file("bad.fra"), "Command4");
    EXPECT_EQ(f.lastText(), "Saisie incompatible! Le fichier FRA choisi n'est pas utilisable.");
    EXPECT_TRUE(f.shown("Text2"));
    f.dialogs.calls.clear();
    f.load("Option1", f.dir.file("carre.fra"), "Command4");
    EXPECT_TRUE(f.dialogs.calls.empty()) << f.lastText();
    EXPECT_EQ(f.page->drawing().size(), d.size() + 2);
    EXPECT_EQ(f.child<QLineEdit>("Text3")->text().toStdString(), std::to_string(std::stoi(d.Text3) + 1));
    EXPECT_EQ(f.page->drawing().List6.toVector(), std::vector<std::string>(d.size() + 2, "."));
    EXPECT_DOUBLE_EQ(f.page->viewer()->facteur(), 0.35);
    EXPECT_EQ(f.child<QScrollBar>("VScroll1")->value(), 50);
    EXPECT_EQ(f.page->viewer()->scene().variant, Redraw::Cuts);
    for (const char* n : {"Text2", "Option1", "Command4", "Command6"}) EXPECT_FALSE(f.shown(n)) << n;

    // Save: the checks in their order, each stopping the save.
    struct Check {
        std::string name, message;
    } checks[] = {{"", "Nom du fichier ?"},
                  {f.dir.file("aile.dxf"), "Ne pas mettre d'extension au fichier"},
                  {f.dir.file("aile.dat"), "Ne pas mettre d'extension au fichier"},
                  {f.dir.file("carre"), "Nom deja utilisé "}};
    for (const Check& c : checks) {
        f.load("Option1", c.name, "Command6");
        EXPECT_EQ(f.lastText(), c.message) << c.name;
        EXPECT_TRUE(f.nav.log.empty());
    }
    f.load("Option1", f.dir.file("PIECE.DXF"), "Command6");
    EXPECT_TRUE(fileExists(f.dir.file("PIECE.DXF.fra")));
    EXPECT_EQ(f.shared.lastSavedFra, f.dir.file("PIECE.DXF.fra"));
    EXPECT_EQ(f.nav.log, (std::vector<std::string>{"close dessin", "show Mach"}));
    EXPECT_FALSE(f.shown("Command6"));
    f.load("Option1", f.dir.file("aile.fra"), "Command6");
    EXPECT_TRUE(fileExists(f.dir.file("aile.fra.fra")));
    // Written as read: origin lines around the records read, origin records included.
    EXPECT_EQ(test::slurp(f.dir.file("aile.fra.fra")).rfind("0,0,0\r\n\"0\",\"0\",\"0\"\r\n", 0), 0u);
}

TEST(DessinPage, ListClickSelectsTheRecordEverywhere) {
    Fixture f;
    f.load("Option2", kSquare, "Command8");
    auto* l3 = f.child<QListView>("List3");
    l3->setCurrentIndex(l3->model()->index(2, 0));
    for (const char* n : {"List3", "List5", "List6"})
        EXPECT_EQ(f.child<QListView>(n)->currentIndex().row(), 2) << n;
    const Scene& s = f.page->viewer()->scene();
    EXPECT_EQ(s.variant, Redraw::ListClick);
    EXPECT_EQ(s.selected, 2);
    EXPECT_EQ(f.page->viewer()->clickGuard(), 1);  // one redraw for the three lists
    test::RecordingPainter p;
    f.page->viewer()->paintTo(p);
    auto circles = p.of(Drawn::Circle);
    int magenta = 0;
    for (const Drawn& c : circles)
        if (c.colour == Colour::LightMagenta) ++magenta;
    EXPECT_EQ(magenta, 1);
    EXPECT_FALSE(p.of(Drawn::Text).empty());
    EXPECT_EQ(f.child<QListView>("List5")->toolTip(),
              "Donne l'ordre de découpe par défaut. Cliquer pour faire coincider les 3 listes");
}

TEST(DessinPage, BackToTheMainWindowAndToTheToolPage) {
    Fixture f;
    f.menuItem("quitterfra")->trigger();
    f.menuItem("versoutil")->trigger();
    EXPECT_EQ(f.nav.log, (std::vector<std::string>{"close dessin", "close dessin", "show Mach"}));
}
