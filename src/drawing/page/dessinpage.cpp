// Drawing page: construction, menu, file panel and list clicks; the file commands are in
// dessinfiles.cpp. See dessinpage.h.
#include "dessinpage.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QVBoxLayout>

#include "drawing/import/trig.h"

namespace vornelle {
namespace {
const char* kOptionTip = "Choisir le type de fichier sur lequel on va travailler";
}

DessinPage::DessinPage(Dialogs& dialogs, Navigator& navigator, BusyPointer& pointer, FolderSource folder,
                       FolderSource workFolder, DrawingShared& shared, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      navigator_(navigator),
      pointer_(pointer),
      folder_(std::move(folder)),
      work_(std::move(workFolder)),
      shared_(shared) {
    setObjectName("dessin");
    setWindowTitle("Travail sur les Fichier");
    auto* top = new QHBoxLayout(this);

    // The file panel, hidden until "Choisir un fichier ".
    panelBox_ = new QGroupBox(this);
    panelBox_->setObjectName("panneauFichiers");
    panelBox_->setMinimumWidth(240);
    panelBox_->setMaximumWidth(320);
    auto* pl = new QVBoxLayout(panelBox_);
    Option1 = new QRadioButton("Fichier FRA", panelBox_);
    Option2 = new QRadioButton("Fichier DXF", panelBox_);
    Option3 = new QRadioButton("Fichier DAT", panelBox_);
    options_ = new QButtonGroup(this);
    int n = 1;
    for (QRadioButton* o : {Option1, Option2, Option3}) {
        o->setObjectName(QString("Option%1").arg(n));
        o->setToolTip(kOptionTip);
        options_->addButton(o, n);
        pl->addWidget(o);
        connect(o, &QRadioButton::clicked, this, [this, n] { chooseOption(n); });
        ++n;
    }
    panel_ = new FilePanel(panelBox_);
    pl->addWidget(panel_, 1);
    Text2 = new QLineEdit(panelBox_);
    Text2->setObjectName("Text2");
    Text2->setAccessibleName("Nom du fichier");
    pl->addWidget(Text2);
    auto* loads = new QHBoxLayout;
    Command4 = button("Command4", "Charger");
    Command6 = button("Command6", "Sauver");
    Command7 = button("Command7", "Charger");
    Command8 = button("Command8", "Charger");
    Command4->setAccessibleDescription("Charger le fichier FRA");
    Command7->setAccessibleDescription("Charger le fichier DAT");
    Command8->setAccessibleDescription("Charger le fichier DXF");
    Command6->setAccessibleDescription("Sauver le dessin en fichier FRA");
    for (QPushButton* b : {Command4, Command6, Command7, Command8}) {
        loads->addWidget(b);
        b->hide();
    }
    pl->addLayout(loads);
    connect(Command4, &QPushButton::clicked, this, &DessinPage::chargerFra);
    connect(Command6, &QPushButton::clicked, this, &DessinPage::sauver);
    connect(Command7, &QPushButton::clicked, this, &DessinPage::chargerDat);
    connect(Command8, &QPushButton::clicked, this, &DessinPage::chargerDxf);
    connect(panel_, &FilePanel::driveChosen, this, &DessinPage::driveChange);
    connect(panel_, &FilePanel::folderOpened, this, &DessinPage::folderChange);
    connect(panel_, &FilePanel::folderClicked, this, &DessinPage::folderChange);
    connect(panel_, &FilePanel::fileClicked, this, &DessinPage::fileClick);
    top->addWidget(panelBox_);

    // The view, with the cut-order commands under it.
    auto* centre = new QVBoxLayout;
    viewer_ = new DrawingViewer(dialogs_, drawing_, this);
    centre->addWidget(viewer_);
    auto* orderRow = new QHBoxLayout;
    orderRow->setObjectName("commandesOrdre");
    buildOrderCommands(orderRow);
    centre->addLayout(orderRow);
    centre->addStretch(1);  // the cut-order commands stay just under the view's own
    top->addLayout(centre, 1);

    lists_ = new RecordLists(drawing_, this);
    lists_->setMinimumWidth(230);
    connect(lists_, &RecordLists::recordClicked, this, &DessinPage::listClick);
    connect(lists_, &RecordLists::entryActivated, this, &DessinPage::entryDoubleClick);
    top->addWidget(lists_);

    buildMenu();
    showPanel(false);
}

QPushButton* DessinPage::button(const char* name, const char* caption) {
    auto* b = new QPushButton(caption, panelBox_);
    b->setObjectName(name);
    return b;
}

void DessinPage::buildMenu() {
    auto* fichier = new QMenu("Fichier", this);
    fichier->setObjectName("fichier");
    auto add = [this, fichier](const char* name, const char* caption, void (DessinPage::*run)()) {
        QAction* a = fichier->addAction(caption);
        a->setObjectName(name);
        if (run)
            connect(a, &QAction::triggered, this, run);
        else
            a->setEnabled(false);  // shown, never enabled, no action
    };
    add("choise", "Choisir un fichier ", &DessinPage::choise);
    add("choose", "Ouvrir un fichier", nullptr);
    add("sauvefichier", "Sauvegarder un fichier", nullptr);
    add("delete", "Effacer", &DessinPage::effacer);
    add("rename", "Renommer", &DessinPage::renommer);
    auto* quit = new QAction("Revenir à l'écran d'accueil", this);
    quit->setObjectName("quitterfra");
    connect(quit, &QAction::triggered, this, &DessinPage::quitterfra);
    auto* tool = new QAction("Aller vers Outil", this);
    tool->setObjectName("versoutil");
    connect(tool, &QAction::triggered, this, &DessinPage::versoutil);
    menus_ = {fichier->menuAction(), quit, tool};
}

void DessinPage::formLoad() {
    viewer_->setFacteur(1);
    drawing_.clear();
    drawingChanged();
    activate();
}

// The sine and cosine tables are computed once (trig.h); asking for them here keeps the
// cost out of the first DXF import with circles.
void DessinPage::activate() {
    panel_->setPattern("*.DXF");
    auto folder = folder_();
    chemin_ = folder ? *folder : QDir::homePath().toStdString() + "/";
    trigTables();
    // The folder list opens where chemin is, so a file picked at once gets its real folder.
    if (!panel_->openFolder(chemin_)) panel_->openFolder(QDir::homePath().toStdString());
    chemin_ = panel_->folder();
}

void DessinPage::showPanel(bool shown) {
    for (QWidget* w : std::initializer_list<QWidget*>{panel_, Text2, Option1, Option2, Option3})
        w->setVisible(shown);
    panelBox_->setVisible(shown);
}

void DessinPage::clearOptions() {
    options_->setExclusive(false);
    for (QRadioButton* o : {Option1, Option2, Option3}) o->setChecked(false);
    options_->setExclusive(true);
}

void DessinPage::choise() {
    showPanel(true);
    panel_->refresh();
}

void DessinPage::chooseOption(int option) {
    static const char* patterns[] = {"", "*.FRA", "*.DXF", "*.DAT"};
    if (option < 1 || option > 3) return;
    QRadioButton* o = option == 1 ? Option1 : option == 2 ? Option2 : Option3;
    if (!o->isChecked()) o->setChecked(true);
    panel_->setPattern(patterns[option]);
    Command4->setVisible(option == 1);
    Command6->setVisible(option == 1);
    Command8->setVisible(option == 2);
    Command7->setVisible(option == 3);
}

void DessinPage::driveChange(const std::string& root) {
    // A drive that cannot be read leaves the panel as it was, without message.
    QFileInfo info(QString::fromStdString(root));
    if (!info.isDir() || !info.isReadable()) return;
    Text2->setText(QString::fromStdString(root));
    panel_->openFolder(root);
}

void DessinPage::folderChange(const std::string& folder) {
    chemin_ = folder;
    if (chemin_.empty() || chemin_.back() != '/') chemin_ += '/';
    Text2->setText(QString::fromStdString(chemin_));
}

void DessinPage::fileClick(const std::string& name) {
    chemin_ = panel_->folder();
    fichier_ = chemin_ + name;
    Text2->setText(QString::fromStdString(fichier_));
}

void DessinPage::listClick(int row) {
    viewer_->resetClickGuard();
    viewer_->listClickRedraw(row);
}

// Form7 acts on the record last double-clicked: once the records are replaced that index
// means another point, so the dialog closes until the next double click.
void DessinPage::drawingChanged() {
    if (form7_) form7_->hide();
    deplacements_->clear();
    lists_->drawingChanged();
    viewer_->drawingChanged();
}

void DessinPage::quitterfra() {
    if (drawing_.List1.size() != drawing_.List2.size()) {
        refuse("Vérifier que les listes comtiennent le même nombre de coordonnées", "Défaut");
        return;
    }
    navigator_.close(PageId::Dessin);
}

void DessinPage::versoutil() {
    navigator_.close(PageId::Dessin);
    navigator_.show(PageId::Mach);
}

void DessinPage::refuse(const std::string& text, const char* title) {
    dialogs_.message(text, style::kStopOk, title);
}

std::string DessinPage::text2() const {
    return Text2->text().toStdString();
}

}  // namespace vornelle
