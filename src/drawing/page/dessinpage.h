// The drawing page dessin ("Travail sur les Fichier"): the file panel with its three file
// types, the DXF, DAT and FRA loads and the FRA save, deleting and renaming files, the view
// the three visible drawing lists, and the entry points with the cut order (entrypoints.cpp).
// The drawing itself lives in a Drawing owned here.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "base/interfaces.h"
#include "base/outcome.h"
#include "drawing/drawing.h"
#include "form7.h"
#include "recordlists.h"
#include "drawing/shared.h"
#include "ui/filepanel.h"
#include "ui/menupage.h"
#include "viewer.h"

namespace vornelle {

class DessinPage : public QWidget, public MenuPage {
    Q_OBJECT
  public:
    using FolderSource = std::function<Outcome<std::string>()>;
    // `folder` gives the data folder, `workFolder` the folder of the DXF scratch file.
    DessinPage(Dialogs& dialogs, Navigator& navigator, BusyPointer& pointer, FolderSource folder,
               FolderSource workFolder, DrawingShared& shared, QWidget* parent = nullptr);
    ~DessinPage() override;

    void formLoad();
    void activate();
    // Menu.
    void choise();      // "Choisir un fichier "
    void effacer();     // "Effacer"
    void renommer();    // "Renommer"
    void quitterfra();  // "Revenir à l'écran d'accueil"
    void versoutil();   // "Aller vers Outil"
    // File panel.
    void chooseOption(int option);  // 1 FRA, 2 DXF, 3 DAT
    void driveChange(const std::string& root);
    void folderChange(const std::string& folder);
    void fileClick(const std::string& name);
    // Loads and save.
    void chargerFra();  // Command4
    void sauver();      // Command6
    void chargerDat();  // Command7
    void chargerDxf();  // Command8
    // A click on a record of one of the visible lists.
    void listClick(int row);
    // Entry points and cut order.
    void entryDoubleClick(int row);  // double click on List6
    void valider();                  // Form7 Command1
    void supprimerPoint();           // Form7 Command2
    void supprimerTous();            // Form7 Command3
    void reorganiser();              // Command3 "Réorganisation coupes"
    void ordreAutomatique();         // "Ordre automatique"

    const Drawing& drawing() const { return drawing_; }
    const std::string& chemin() const { return chemin_; }
    const std::string& chaine() const { return chaine_; }
    DrawingViewer* viewer() const { return viewer_; }
    FilePanel* filePanel() const { return panel_; }
    RecordLists* lists() const { return lists_; }
    // The entry-point dialog, once a double click has opened it.
    Form7* form7() const { return form7_.get(); }
    size_t selectedRecord() const { return selected_; }
    QList<QAction*> pageMenus() override { return menus_; }

  private:
    QPushButton* button(const char* name, const char* caption);
    void showPanel(bool shown);
    void clearOptions();
    void drawingChanged();
    void refuse(const std::string& text, const char* title);
    std::string text2() const;
    void buildMenu();
    void buildOrderCommands(QLayout* row);
    void buildAutoOrder(QLayout* row);
    // The complete DXF import offered for what the classic one skipped; true when taken.
    bool offerComplete(const std::map<std::string, long>& classicSkipped);
    void importComplete();

    Dialogs& dialogs_;
    Navigator& navigator_;
    BusyPointer& pointer_;
    FolderSource folder_, work_;
    DrawingShared& shared_;
    Drawing drawing_;

    FilePanel* panel_;
    QGroupBox* panelBox_;
    QLineEdit* Text2;
    QRadioButton *Option1, *Option2, *Option3;
    QButtonGroup* options_;
    QPushButton *Command4, *Command6, *Command7, *Command8;
    DrawingViewer* viewer_;
    RecordLists* lists_;
    QList<QAction*> menus_;
    QPushButton* Command3;
    QPushButton* ordreAuto_;
    QLabel* deplacements_;  // the travel before and after the last automatic order
    // A window of its own, not a child of the page, whose own Command1..3 keep their names.
    std::unique_ptr<Form7> form7_;
    size_t selected_ = 0;  // the record of List6 last double-clicked, which Form7 acts on

    std::string chemin_, fichier_, chaine_;
};

}  // namespace vornelle
