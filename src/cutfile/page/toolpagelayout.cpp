// The widgets of the tool page Mach, built in the order the tab chain and screen readers
// follow; toolpage.cpp keeps what the page does with them. A step that adds to a column
// takes that column, so that each widget joins the page exactly when it always has.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "base/numbers.h"
#include "toolpage.h"
#include "ui/qtext.h"

namespace vornelle {
namespace {

// Made as a child of the page before a layout moves it into its box.
QPushButton* commandButton(QWidget* page, const char* name, const char* caption, const char* tip = nullptr) {
    auto* b = new QPushButton(caption, page);
    b->setObjectName(name);
    if (tip) b->setToolTip(tip);
    return b;
}

}  // namespace

void ToolPage::buildPupitre(QVBoxLayout* left) {
    auto* commands = new QGroupBox;
    commands->setObjectName("Shape1");
    auto* cl = new QVBoxLayout(commands);
    auto* title = new QLabel("Pupitre de commande");
    title->setObjectName("Label2");
    title->setStyleSheet("font-weight: bold;");
    cl->addWidget(title);
    QPushButton* c3 = commandButton(this, "Command3", "Charger fichier fraisage(.DEF)",
                                    "Charger un fichier découpe existant. ");
    QPushButton* c7 = commandButton(this, "Command7", "Manettes virtuelles",
                                    "Utilisation manuelle de la machine pour tester les moteurs par exemple");
    QPushButton* c10 = commandButton(this, "Command10", "Créer fichier fraisage (DEF)");
    Command11 = commandButton(this, "Command11", "Découper");
    Command12 = commandButton(this, "Command12", "Découper");
    for (QPushButton* b : {Command11, Command12}) {
        b->setStyleSheet("QPushButton { font-weight: bold; padding: 6px; }");
        b->hide();
    }
    resume_ = new ResumeButton(this);
    for (QPushButton* b : {c3, c7, c10, Command11, Command12, static_cast<QPushButton*>(resume_)})
        cl->addWidget(b);
    connect(c3, &QPushButton::clicked, this, &ToolPage::loadCutFile);
    connect(c7, &QPushButton::clicked, this, [this] { navigator_.show(PageId::Form5); });
    connect(c10, &QPushButton::clicked, this, &ToolPage::generate);
    connect(Command11, &QPushButton::clicked, this, [this] {
        if (runCut_) runCut_(this, false);
    });
    connect(Command12, &QPushButton::clicked, this, [this] {
        if (runCut_) runCut_(this, true);
    });
    left->addWidget(commands);
}

void ToolPage::buildBrowser(QVBoxLayout* left) {
    auto* browse = new QGroupBox;
    browse->setObjectName("Shape2");
    auto* bl = new QVBoxLayout(browse);
    Option2 = new QRadioButton("Choisir un fichier de découpe (.DEF)");
    Option2->setObjectName("Option2");
    Option1 = new QRadioButton("Choisir un fichier d'objet à découper (.FRA)");
    Option1->setObjectName("Option1");
    connect(Option1, &QRadioButton::clicked, this, [this] {
        panel_->setPattern("*.FRA");
        gcode_->relist();  // G-code programs beside the drawings
    });
    connect(Option2, &QRadioButton::clicked, this, [this] { panel_->setPattern("*.DEF"); });
    bl->addWidget(Option2);
    bl->addWidget(Option1);
    panel_ = new FilePanel(browse);
    panel_->setPattern("*.DEF");
    gcode_ = new GcodeListing(panel_, [this] { return Option1->isChecked(); });
    // Drive1 has no action of its own here: choosing a drive does not move Dir1.
    connect(panel_, &FilePanel::folderOpened, this, &ToolPage::folderPicked);
    connect(panel_, &FilePanel::folderClicked, this, &ToolPage::folderClicked);
    connect(panel_, &FilePanel::fileActivated, this, &ToolPage::pickFile);
    bl->addWidget(panel_, 1);
    left->addWidget(browse, 1);
}

void ToolPage::buildNameFields(QVBoxLayout* right) {
    auto* names = new QGridLayout;
    auto* cutName = new QLabel("Fichier découpe");
    names->addWidget(cutName, 0, 0);
    Text9 = edit("Text9");
    cutName->setBuddy(Text9);
    connect(Text9, &QLineEdit::textChanged, resume_, &ResumeButton::setCutName);
    names->addWidget(Text9, 0, 1);
    auto* drawingName = new QLabel("Fichier objet (.fra)");
    names->addWidget(drawingName, 1, 0);
    text1 = edit("text1");
    drawingName->setBuddy(text1);
    names->addWidget(text1, 1, 1);
    right->addLayout(names);
    connect(text1, &QLineEdit::textChanged, this, [this] { redraw(55, false); });
}

void ToolPage::buildParameters(QVBoxLayout* right) {
    auto* params = new QGroupBox;
    params->setObjectName("Shape3");
    auto* pg = new QGridLayout(params);
    auto* ptitle = new QLabel("Caractéristiques du fichier de découpe");
    ptitle->setObjectName("Label10");
    ptitle->setStyleSheet("font-weight: bold;");
    pg->addWidget(ptitle, 0, 0, 1, 4);
    struct P {
        const char* label;
        const char* labelName;
        const char* field;
        const char* initial;
        const char* tip;
    } rows[] = {
        {"Facteur de multiplication de l'objet", "Label4", "Text4", "1",
         "Pour changer la taille de l'objet à découper si celui ci n'à pas été dessiné à l'echelle 1"},
        {"Profondeur de passe en Z", "Label15", "Text12", "", "Valeur de descente de l'outil en mm"},
        {"dégagement pour changement outil", "Label9", "Text8", "", nullptr},
        {"Coefficient vitesse", "cofessdfz", "Text2", "0,01", "valeur sans unité, se reporter à la notice"},
        {"Petite vitesse", "Label6", "Text10", "", "Vitesse d'avance outil dans la matière"},
        {"Grande vitesse", "Label8", "Text11", "", "vitesse d'avance hors matière"}};
    int r = 1;
    QLineEdit* made[6];
    for (const P& p : rows) {
        auto* l = new QLabel(p.label);
        l->setObjectName(p.labelName);
        QLineEdit* e = edit(p.field, p.initial);
        e->setMaximumWidth(90);
        if (p.tip) e->setToolTip(p.tip);
        l->setBuddy(e);
        pg->addWidget(l, r, 0);
        pg->addWidget(e, r, 1);
        made[r - 1] = e;
        ++r;
    }
    Text4 = made[0], Text12 = made[1], Text8 = made[2], Text2 = made[3], Text10 = made[4], Text11 = made[5];
    connect(Text10, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (auto v = decimalValue(bytes(t))) run_.vitdans = *v;
    });
    connect(Text11, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (auto v = decimalValue(bytes(t))) run_.vithors = *v;
    });
    auto* noteLabel = new QLabel("Bloc note");
    noteLabel->setObjectName("Label1");
    pg->addWidget(noteLabel, 1, 2);
    Text7 = new QPlainTextEdit;
    Text7->setObjectName("Text7");
    noteLabel->setBuddy(Text7);
    Text7->setToolTip(
        "Pour conserver tout ce que l'on à oubliè quand on réutilise un fichier quelques semaines après "
        "l'avoir crée");
    pg->addWidget(Text7, 2, 2, 5, 2);
    right->addWidget(params);
}

void ToolPage::buildStrategy(QVBoxLayout* right) {
    strategy_ = new StrategyBox;
    right->addWidget(strategy_);
}

void ToolPage::buildPreview(QVBoxLayout* right) {
    Picture1 = new PreviewPicture;
    Picture1->setObjectName("Picture1");
    Picture1->setAccessibleName("Dessin");
    Picture1->setToolTip("affiche le dessin de l'objet à couper");
    right->addWidget(Picture1, 1);
    figures_ = new CutFigures(this);
    right->addWidget(figures_);
    connect(figures_, &CutFigures::decoded, this, [this](std::shared_ptr<const DecodeResult> r) {
        Picture1->setOverlay(std::move(r));
        placeOverlay(55);
    });
    auto* zoom = new QHBoxLayout;
    auto* zin = commandButton(this, "Command2", "zoom +");
    auto* zout = commandButton(this, "Command1", "zoom -");
    connect(zin, &QPushButton::clicked, this, &ToolPage::zoomIn);
    connect(zout, &QPushButton::clicked, this, &ToolPage::zoomOut);
    zoom->addStretch();
    zoom->addWidget(zout);
    zoom->addWidget(zin);
    right->addLayout(zoom);
    setTabOrder(zin, zout);
}

// The machine's parameters ride along, unseen, for the generation and the cut.
void ToolPage::buildHiddenFields() {
    for (const char* n : {"Text6", "Text3", "Text5"}) edit(n, "120")->hide();
    for (int i = 13; i <= 23; ++i) edit(("Text" + std::to_string(i)).c_str())->hide();
    for (const char* n : {"Label11", "Label12", "Label13", "Label14"}) {
        auto* l = new QLabel(this);
        l->setObjectName(n);
        l->hide();
    }
    findChild<QLabel*>("Label11")->setText("Parametre machine avance en nbre de Pas /mm");
    findChild<QLabel*>("Label12")->setText("X");
    findChild<QLabel*>("Label13")->setText("Y");
    findChild<QLabel*>("Label14")->setText("Z");
}

void ToolPage::buildMenus() {
    auto* fichier = new QMenu("fichier", this);
    fichier->setObjectName("fichier");
    for (const char* t : {"Ouvrir un fichier", "Enregistrer un fichier", "ziper un def"})
        fichier->addAction(t)->setEnabled(false);
    QAction* modify = fichier->addAction("Modifier le fichier de détails");
    modify->setObjectName("modifdetail");
    connect(modify, &QAction::triggered, this, &ToolPage::rewriteDetails);
    auto* quit = new QAction("Revenir à l'écran d'accueil", this);
    quit->setObjectName("quit");
    connect(quit, &QAction::triggered, this, [this] { navigator_.close(PageId::Mach); });
    auto* back = new QAction("Retour vers Fichiers", this);
    back->setObjectName("retourfichier");
    connect(back, &QAction::triggered, this, [this] {
        navigator_.close(PageId::Mach);
        navigator_.show(PageId::Dessin);
    });
    menus_ = {fichier->menuAction(), quit, back};
}

}  // namespace vornelle
