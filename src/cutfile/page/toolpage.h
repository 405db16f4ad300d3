// The tool page Mach: cut parameters, preview of the drawing, a browser for drawings and cut
// files, "Créer fichier fraisage (DEF)", "Charger fichier fraisage(.DEF)", the joystick page
// and "Découper". Hidden fields carry the machine's parameters for the generation and run.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>

#include "base/interfaces.h"
#include "base/outcome.h"
#include "cutfigures.h"
#include "drawing/shared.h"
#include "gcodefiles.h"
#include "preview.h"
#include "resumebutton.h"
#include "strategybox.h"
#include "run/runstate.h"
#include "ui/filepanel.h"
#include "ui/menupage.h"

class QVBoxLayout;

namespace vornelle {

class ToolPage : public QWidget, public MenuPage {
    Q_OBJECT
  public:
    using FolderSource = std::function<Outcome<std::string>()>;
    // `runCut(page, invZ)` plays the cut ("Découper"); supplied by the application.
    ToolPage(Dialogs& dialogs, Navigator& navigator, BusyPointer& pointer, FolderSource folder,
             FolderSource workFolder, RunState& run, DrawingShared& drawing,
             std::function<void(ToolPage*, bool)> runCut, QWidget* parent = nullptr);

    void formLoad();
    // A motion runs (a cut, a jog, a homing): "Découper" and the menu entries that would
    // unload this page are refused until it has ended.
    void setMotionBusy(bool busy);

  protected:
    // Closed during a cut: the cut stops first (as "Arret d'urgence") and the page closes
    // once it has ended; never freed under a running motion.
    void closeEvent(QCloseEvent* e) override;

  public:
    void generate();        // Command10
    void loadCutFile();     // Command3
    void rewriteDetails();  // menu "Modifier le fichier de détails"
    void zoomOut();         // Command1
    void zoomIn();          // Command2
    // A folder opened in Dir1, a folder clicked in Dir1, a file double-clicked in File1, as
    // the user does them.
    void openFolder(const std::string& folder);
    void clickFolder(const std::string& folder);
    void pickFile(const std::string& name);
    FilePanel* filePanel() const { return panel_; }
    ResumeButton* resumeButton() const { return resume_; }
    // The figures of the cut file created or loaded last.
    CutFigures* figures() const { return figures_; }
    // The group "Stratégie de coupe".
    StrategyBox* strategy() const { return strategy_; }

    double facteur() const { return facteur_; }
    const std::string& chemin() const { return chemin_; }
    QList<QAction*> pageMenus() override { return menus_; }
    // Text of a field, as the engines take it (the note with CR LF line ends).
    std::string field(const char* name) const;

  private:
    // The build steps, in the order the constructor calls them: that order is the order the
    // widgets join the page, which the tab chain and screen readers follow.
    void buildPupitre(QVBoxLayout* left);
    void buildBrowser(QVBoxLayout* left);
    void buildNameFields(QVBoxLayout* right);
    void buildParameters(QVBoxLayout* right);
    void buildStrategy(QVBoxLayout* right);
    void buildPreview(QVBoxLayout* right);
    void buildHiddenFields();
    void buildMenus();

    QLineEdit* edit(const char* name, const QString& text = {});
    void redraw(double c, bool fromZoom);
    void folderPicked(const std::string& folder);
    void folderClicked(const std::string& folder);
    void setNote(const std::string& note);
    // The decoded path follows the preview's scale: facteur over the object's scale Text4.
    void placeOverlay(double c);

    Dialogs& dialogs_;
    Navigator& navigator_;
    BusyPointer& pointer_;
    FolderSource folder_, work_;
    RunState& run_;
    DrawingShared& drawing_;
    std::function<void(ToolPage*, bool)> runCut_;

    QLineEdit *Text9, *text1, *Text4, *Text12, *Text8, *Text2, *Text10, *Text11;
    QPlainTextEdit* Text7;
    PreviewPicture* Picture1;
    CutFigures* figures_;
    StrategyBox* strategy_;
    FilePanel* panel_;     // Drive1, Dir1, File1
    GcodeListing* gcode_;  // G-code programs in File1 beside the drawings
    QRadioButton *Option1, *Option2;
    QPushButton *Command11, *Command12;
    ResumeButton* resume_;
    QList<QAction*> menus_;
    bool motionBusy_ = false;
    bool closeAfter_ = false;

    double facteur_ = 0.5;
    std::string chemin_;  // current folder, ending in '/'
    bool configured_ = false;
};

}  // namespace vornelle
