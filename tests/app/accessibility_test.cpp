// Each page as a screen reader gets it through Qt's accessibility interface: every visible text
// box, list and scroll bar is named in French after the label beside it (or a short name where
// it has none), no two alike; buttons, options, check boxes and menu items by their captions;
// tooltips as descriptions; hidden fields stay out of sight.
#include "accessibility.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "config/page/configurationpage.h"
#include "cutfile/page/toolpage.h"
#include "drawing/page/dessinpage.h"
#include "drawing/page/form7.h"
#include "manual/page/joystickpage.h"
#include "run/page/panel.h"
#include "testsupport.h"

using namespace vornelle;

namespace {
QString description(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
}

QString nameOf(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

// Names checked field by field, then the general rules over every field of the page.
void expectNames(QWidget* page, const std::map<QString, QString>& expected, const QStringList& skip = {}) {
    std::map<QString, QString> names = test::fieldNames(page, skip);
    for (const auto& [object, name] : expected) {
        auto it = names.find(object);
        if (it == names.end()) {
            ADD_FAILURE() << object.toStdString() << " n'est pas un champ visible";
            continue;
        }
        EXPECT_EQ(it->second.toStdString(), name.toStdString()) << object.toStdString();
    }
    EXPECT_EQ(names.size(), expected.size()) << "champs visibles sans nom attendu";
    EXPECT_EQ(test::nameProblems(names).join("\n").toStdString(), "");
    EXPECT_EQ(test::captionProblems(page).join("\n").toStdString(), "");
}
}  // namespace

TEST(Accessibility, ConfigurationPage) {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::RecordingNavigator nav;
    ConfigurationPage page(dialogs, nav, [&dir] { return Outcome<std::string>(dir.path()); });
    expectNames(&page, {{"Text1", "Nombre de pas par mm X"},
                        {"Text2", "Nombre de pas par mm Y"},
                        {"Text3", "Nombre de pas par mm Z"},
                        {"Text5", "Vitesse de découpe"},
                        {"Text6", "Vitesse de déplacement hors matière"},
                        {"Text4", "Coefficient vitesse"},
                        {"Text7", "Descente outil sur l'axe Z (en mm)"},
                        {"Text9", "valeur de dégagement pour changement outil"},
                        {"Text10", "axe X DIR"},
                        {"Text11", "axe X CLOCK"},
                        {"Text12", "axe Y DIR"},
                        {"Text13", "axe Y CLOCK"},
                        {"Text14", "axe Z DIR"},
                        {"Text15", "axe Z CLOCK"},
                        {"Text22", "non connecté DIR"},
                        {"Text23", "non connecté CLOCK"},
                        {"Text8", "Branchement sur port 1 ou 2"},
                        {"rampeAccelX", "Accélération X (mm/s²)"},
                        {"rampeAccelY", "Accélération Y (mm/s²)"},
                        {"rampeAccelZ", "Accélération Z (mm/s²)"},
                        {"rampeDemarrage", "Vitesse de démarrage et d'arrêt (mm/s)"},
                        {"rampeAngle", "Déviation en angle (mm)"}});
    auto* speed = page.findChild<QLineEdit*>("Text5");
    EXPECT_EQ(description(speed), "Présélection de la vitesse outil dans la matière");
    // The three "Inverser le sens" boxes say which axis they turn.
    EXPECT_EQ(description(page.findChild<QWidget*>("Check2")), "axe Y");
    EXPECT_FALSE(page.findChild<QLineEdit*>("Text16")->isVisibleTo(&page));
    // The connector drawing sits in the port box and is read by its own title.
    EXPECT_EQ(nameOf(page.findChild<QWidget*>("Frame3")),
              "Connections au port //  Vu coté prise en regardant les pinoches.");
}

TEST(Accessibility, ToolPage) {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::RecordingNavigator nav;
    struct : BusyPointer {
        void setBusy(bool) override {}
    } pointer;
    RunState run;
    DrawingShared drawing;
    auto folder = [&dir] { return Outcome<std::string>(dir.path()); };
    ToolPage page(dialogs, nav, pointer, folder, folder, run, drawing, {});
    // The drive, folder and file lists belong to the file panel, which names its own.
    expectNames(&page,
                {{"Text9", "Fichier découpe"},
                 {"text1", "Fichier objet (.fra)"},
                 {"Text4", "Facteur de multiplication de l'objet"},
                 {"Text12", "Profondeur de passe en Z"},
                 {"Text8", "dégagement pour changement outil"},
                 {"Text2", "Coefficient vitesse"},
                 {"Text10", "Petite vitesse"},
                 {"Text11", "Grande vitesse"},
                 {"Text7", "Bloc note"},
                 {"diametre", "Diamètre de l'outil"},
                 {"compensation", "Compensation"},
                 {"passe", "Profondeur par passe"},
                 {"attaches", "Nombre d'attaches"},
                 {"largeurattache", "Largeur des attaches"},
                 {"hauteurattache", "Hauteur des attaches"},
                 {"sens", "Sens"}},
                {"Drive1", "Dir1", "File1"});
    EXPECT_EQ(nameOf(page.findChild<QWidget*>("Picture1")), "Dessin");
    EXPECT_EQ(description(page.findChild<QWidget*>("Picture1")), "affiche le dessin de l'objet à couper");
    EXPECT_EQ(description(page.findChild<QWidget*>("Text12")), "Valeur de descente de l'outil en mm");
    for (const char* hidden : {"Text6", "Text3", "Text5", "Text13", "Text23"})
        EXPECT_FALSE(page.findChild<QLineEdit*>(hidden)->isVisibleTo(&page)) << hidden;
}

TEST(Accessibility, JoystickPage) {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::RecordingNavigator nav;
    PortSelector ports{false};
    Machine machine{ports};
    test::RecordingPacer pacer;
    JoystickPage page(
        dialogs, nav, [&dir] { return Outcome<std::string>(dir.path()); }, machine, pacer);
    expectNames(&page, {{"Text1", "Nombre de pas par mm X"},
                        {"Text3", "Nombre de pas par mm Y"},
                        {"Text5", "Nombre de pas par mm Z"},
                        {"Text4", "coefficient vitesse"},
                        {"Text2", "mm à déplacer"},
                        {"HScroll1", "reglage vitesse"},
                        {"TextRepetabilite", "Répétabilité (pas)"}});
    EXPECT_EQ(nameOf(page.findChild<QWidget*>("CommandControle")), "Contrôle de position");
    EXPECT_FALSE(description(page.findChild<QWidget*>("CommandControle")).isEmpty());
    // The arrows keep their glyphs as names; the description says which axis and which way.
    auto* right = page.findChild<QPushButton*>("Command10");
    EXPECT_EQ(nameOf(right), "→");
    EXPECT_EQ(description(right), "axe X, vers la droite");
    EXPECT_EQ(description(page.findChild<QWidget*>("Command9")), "axe Z, vers le bas");
    EXPECT_EQ(description(page.findChild<QWidget*>("CommandArret")),
              "Arrête le déplacement en cours (touche Echap)");
    // The distance labels are buttons to a reader, and pressing one fills the distance.
    QAccessibleInterface* five = QAccessible::queryAccessibleInterface(page.findChild<QWidget*>("Label6"));
    EXPECT_EQ(five->role(), QAccessible::Button);
    EXPECT_EQ(five->text(QAccessible::Name), "5");
    ASSERT_NE(five->actionInterface(), nullptr);
    five->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(page.findChild<QLineEdit*>("Text2")->text(), "5");
}

TEST(Accessibility, Panel) {
    RunState st;
    DecencoursPanel panel(st);
    expectNames(&panel, {{"HScroll1", "Vitesse d'avance"}});
    EXPECT_EQ(nameOf(panel.findChild<QWidget*>("Command1")), "Arret d'urgence");
}

TEST(Accessibility, DrawingPageAndForm7) {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::RecordingNavigator nav;
    struct : BusyPointer {
        void setBusy(bool) override {}
    } pointer;
    DrawingShared shared;
    DessinPage page(
        dialogs, nav, pointer, [&dir] { return Outcome<std::string>(dir.path()); },
        [&dir] { return Outcome<std::string>(dir.path()); }, shared);
    page.formLoad();
    page.show();
    page.choise();
    // On Linux a drop-down list is read by its current entry (the drive shown).
    expectNames(&page,
                {{"Dir1", "Dossiers"},
                 {"File1", "Fichiers"},
                 {"Text2", "Nom du fichier"},
                 {"List3", "axe Z"},
                 {"List5", "Ordre  initial"},
                 {"List6", "Nouvel ordre"},
                 {"Text3", "Nbre coupes"},
                 {"HScroll1", "Défilement horizontal"},
                 {"VScroll1", "Défilement vertical"}},
                {"Drive1"});
    EXPECT_EQ(nameOf(page.findChild<QWidget*>("Picture1")).toStdString(), "Dessin");
    EXPECT_EQ(description(page.findChild<QWidget*>("List6")).toStdString(),
              "Faire un double click pour entrer un nouveau point d'entrée dans la matière.");
    auto* reorder = page.findChild<QPushButton*>("Command3");
    EXPECT_EQ(nameOf(reorder), "Réorganisation coupes");
    EXPECT_EQ(description(reorder), "Commande à utiliser quand le nouvel ordre est entièrement choisi.");

    Form7 form(shared.form7Text1);
    expectNames(&form, {{"Text1", "Numéro d'ordre de la découpe "}});
    EXPECT_EQ(nameOf(form.findChild<QWidget*>("Command3")), "Supprimer tous les points d'entrée");
}
