// Tool page; see toolpage.h.
#include "toolpage.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "base/files.h"
#include "base/numbers.h"
#include "config/configmachine.h"
#include "cutfile/details.h"
#include "cutfile/generation/generation.h"
#include "cutfile/toolfields.h"
#include "ui/qtext.h"

namespace vornelle {
namespace {
const char* kNoConfig = "Vous devez configurer en fonction de votre machine avant d'utiliser Vornelle";
const char* kNoConfigTitle = "aller en page configuration !!!";

bool endsWith(const std::string& s, const char* e) {
    size_t n = std::char_traits<char>::length(e);
    return s.size() >= n && s.compare(s.size() - n, n, e) == 0;
}
}  // namespace

ToolPage::ToolPage(Dialogs& dialogs, Navigator& navigator, BusyPointer& pointer, FolderSource folder,
                   FolderSource workFolder, RunState& run, DrawingShared& drawing,
                   std::function<void(ToolPage*, bool)> runCut, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      navigator_(navigator),
      pointer_(pointer),
      folder_(std::move(folder)),
      work_(std::move(workFolder)),
      run_(run),
      drawing_(drawing),
      runCut_(std::move(runCut)) {
    setObjectName("Mach");
    setWindowTitle("Gestion de l'outil de découpe");
    auto* top = new QHBoxLayout(this);

    // Left column: the command block and the browser.
    auto* left = new QVBoxLayout;
    auto* commands = new QGroupBox;
    commands->setObjectName("Shape1");
    auto* cl = new QVBoxLayout(commands);
    auto* title = new QLabel("Pupitre de commande");
    title->setObjectName("Label2");
    title->setStyleSheet("font-weight: bold;");
    cl->addWidget(title);
    auto button = [this](const char* name, const char* caption, const char* tip = nullptr) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        if (tip) b->setToolTip(tip);
        return b;
    };
    QPushButton* c3 =
        button("Command3", "Charger fichier fraisage(.DEF)", "Charger un fichier découpe existant. ");
    QPushButton* c7 = button("Command7", "Manettes virtuelles",
                             "Utilisation manuelle de la machine pour tester les moteurs par exemple");
    QPushButton* c10 = button("Command10", "Créer fichier fraisage (DEF)");
    Command11 = button("Command11", "Découper");
    Command12 = button("Command12", "Découper");
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

    auto* browse = new QGroupBox;
    browse->setObjectName("Shape2");
    auto* bl = new QVBoxLayout(browse);
    Option2 = new QRadioButton("Choisir un fichier de découpe (.DEF)");
    Option2->setObjectName("Option2");
    Option1 = new QRadioButton("Choisir un fichier d'objet à découper (.FRA)");
    Option1->setObjectName("Option1");
    connect(Option1, &QRadioButton::clicked, this, [this] { panel_->setPattern("*.FRA"); });
    connect(Option2, &QRadioButton::clicked, this, [this] { panel_->setPattern("*.DEF"); });
    bl->addWidget(Option2);
    bl->addWidget(Option1);
    panel_ = new FilePanel(browse);
    panel_->setPattern("*.DEF");
    // Drive1 has no action of its own here: choosing a drive does not move Dir1.
    connect(panel_, &FilePanel::folderOpened, this, &ToolPage::folderPicked);
    connect(panel_, &FilePanel::folderClicked, this, &ToolPage::folderClicked);
    connect(panel_, &FilePanel::fileActivated, this, &ToolPage::pickFile);
    bl->addWidget(panel_, 1);
    left->addWidget(browse, 1);
    top->addLayout(left);

    // Right column: names, parameters, note, preview.
    auto* right = new QVBoxLayout;
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
    auto* zin = button("Command2", "zoom +");
    auto* zout = button("Command1", "zoom -");
    connect(zin, &QPushButton::clicked, this, &ToolPage::zoomIn);
    connect(zout, &QPushButton::clicked, this, &ToolPage::zoomOut);
    zoom->addStretch();
    zoom->addWidget(zout);
    zoom->addWidget(zin);
    right->addLayout(zoom);
    setTabOrder(zin, zout);
    top->addLayout(right, 1);

    // Hidden fields of the machine's parameters.
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

    // Menu of the page.
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
    setProperty("port", -1);
}

QLineEdit* ToolPage::edit(const char* name, const QString& text) {
    auto* e = new QLineEdit(text, this);
    e->setObjectName(name);
    return e;
}

std::string ToolPage::field(const char* name) const {
    if (std::string(name) == "Text7") {
        std::string t = bytes(Text7->toPlainText()), out;
        for (char ch : t) {
            if (ch == '\n') out += '\r';
            out += ch;
        }
        return out;
    }
    auto* e = findChild<QLineEdit*>(name);
    return e ? bytes(e->text()) : std::string();
}

void ToolPage::setNote(const std::string& note) {
    std::string t;
    for (char ch : note)
        if (ch != '\r') t += ch;
    Text7->setPlainText(qs(t));
}

void ToolPage::formLoad() {
    facteur_ = 0.5;
    panel_->setPattern("*.DEF");
    auto folder = folder_();
    chemin_ = folder ? *folder : QDir::homePath().toStdString() + "/";
    // Dir1 opens on chemin, so that a file picked at once gets the folder it is in.
    if (!panel_->openFolder(chemin_)) panel_->openFolder(QDir::homePath().toStdString());
    if (!folder || !existeconfig(*folder)) {
        dialogs_.message(kNoConfig, style::kQuestionOk, kNoConfigTitle);
        return;
    }
    ConfigRead read = lisconfig(*folder);
    if (!read.ok()) {
        dialogs_.message(read.error, style::kStopOk, kNoConfigTitle);
        return;
    }
    ToolFields f = toolFieldsFrom(read.config);
    findChild<QLineEdit*>("Text6")->setText(qs(f.Text6));
    findChild<QLineEdit*>("Text3")->setText(qs(f.Text3));
    findChild<QLineEdit*>("Text5")->setText(qs(f.Text5));
    Text2->setText(qs(f.Text2));
    Text10->setText(qs(f.Text10));
    Text11->setText(qs(f.Text11));
    Text12->setText(qs(f.Text12));
    Text8->setText(qs(f.Text8));
    for (int i = 0; i < 8; ++i)
        findChild<QLineEdit*>(("Text" + std::to_string(13 + i)).c_str())->setText(qs(f.weights[i]));
    for (int i = 0; i < 3; ++i)
        findChild<QLineEdit*>(("Text" + std::to_string(21 + i)).c_str())->setText(qs(f.inversions[i]));
    setProperty("invX", read.config.invX == 1);
    setProperty("invY", read.config.invY == 1);
    setProperty("invZ", read.config.invZ == 1);
    configured_ = true;
    if (f.port) {
        setProperty("port", *f.port);
    } else {
        dialogs_.message(configIncomplete(read.config), style::kStopOk, kNoConfigTitle);
    }
    (f.invZ ? Command12 : Command11)->show();
    if (!drawing_.lastSavedFra.empty()) {
        text1->setText(qs(drawing_.lastSavedFra));
        const std::string& p = drawing_.lastSavedFra;
        Text9->setText(qs(p.size() >= 4 ? p.substr(0, p.size() - 4) : std::string()));
    }
}

void ToolPage::placeOverlay(double c) {
    double scale = decimalValue(bytes(Text4->text())).value_or(1);
    Picture1->setOverlayScale(50 * facteur_ / (scale > 0 ? scale : 1), c);
}

void ToolPage::redraw(double c, bool fromZoom) {
    placeOverlay(c);
    Picture1->clear();
    PreviewResult r = previewLines(bytes(text1->text()), facteur_, c);
    if (r.error.empty()) {
        Picture1->setLines(std::move(r.lines));
        return;
    }
    // Lines drawn before the error stay, as on a picture drawn line by line.
    Picture1->setLines(std::move(r.lines));
    if (fromZoom || r.overflow) {
        dialogs_.message("faire un zoom + petit (zoom-)!", style::kStopOk, "Mauvaise saisie !");
        facteur_ /= 2;
    }
}

void ToolPage::zoomOut() {
    facteur_ = facteur_ * 1 / 3;
    // A drawing that cannot be read is not drawn, without a message.
    PreviewResult r = previewLines(bytes(text1->text()), facteur_, 40);
    Picture1->setLines(std::move(r.lines));
    placeOverlay(40);
}

void ToolPage::zoomIn() {
    facteur_ = facteur_ * 1.5;
    redraw(40, true);
}

void ToolPage::openFolder(const std::string& folder) {
    panel_->openFolder(folder);
}

void ToolPage::clickFolder(const std::string& folder) {
    panel_->clickFolder(folder);
}

// Folder pick: chemin is the folder the file list shows.
void ToolPage::folderPicked(const std::string& folder) {
    chemin_ = folder;
    if (chemin_.empty() || chemin_.back() != '/') chemin_ += '/';
    if (Option1->isChecked()) text1->setText(qs(chemin_));
    if (Option2->isChecked()) Text9->setText(qs(chemin_));
}

// A click in Dir1: the file list shows the clicked folder and chemin follows it; text1 is
// left as it was.
void ToolPage::folderClicked(const std::string& folder) {
    chemin_ = folder;
    if (chemin_.empty() || chemin_.back() != '/') chemin_ += '/';
    if (Option2->isChecked()) Text9->setText(qs(chemin_));
}

void ToolPage::pickFile(const std::string& name) {
    chemin_ = panel_->folder();
    if (Option1->isChecked()) text1->setText(qs(chemin_ + name));
    if (Option2->isChecked()) Text9->setText(qs(chemin_ + name));
}

void ToolPage::generate() {
    if (!configured_) {
        dialogs_.message(kNoConfig, style::kQuestionOk, kNoConfigTitle);
        return;
    }
    GenerationInput in;
    in.text1 = field("text1");
    in.Text9 = field("Text9");
    in.Text7 = field("Text7");
    in.Text4 = field("Text4");
    in.Text12 = field("Text12");
    in.Text6 = field("Text6");
    in.Text3 = field("Text3");
    in.Text5 = field("Text5");
    for (int i = 0; i < 8; ++i) in.weights[i] = field(("Text" + std::to_string(13 + i)).c_str());
    for (int i = 0; i < 3; ++i) in.inversions[i] = field(("Text" + std::to_string(21 + i)).c_str());
    in.Text10 = field("Text10");
    in.Text11 = field("Text11");
    auto work = work_();
    if (!work) {
        dialogs_.message(work.error(), style::kStopOk, "Découpe");
        return;
    }
    GenerationResult r = vornelle::generate(in, *work, pointer_);
    if (r.ok) {
        panel_->refresh();
        Text9->setText(Text9->text() + ".def");
        figures_->decode(field("Text9"));
    }
    dialogs_.message(r.message.text, r.message.style, r.message.title);
}

void ToolPage::loadCutFile() {
    std::string name = field("Text9");
    if (name.empty()) {
        dialogs_.message("Saisie nom du fichier de découpe ?", style::kQuestionOk, "Nom fichier ?");
        return;
    }
    if (!fileExists(name)) {
        dialogs_.message("Fichier introuvable !", style::kStopOk, "Nom fichier ?");
        return;
    }
    if (!endsWith(name, "def") && !endsWith(name, "DEF")) {
        dialogs_.message("choisir un fichier de découpe valide", style::kQuestionOk, "Nom fichier ?");
        return;
    }
    std::string det = detailsPathFor(name);
    if (!fileExists(det)) {
        dialogs_.message(
            "Fichier de détails " + det + " introuvable : le fichier découpe ne peut pas être chargé.",
            style::kStopOk, "Nom fichier ?");
        return;
    }
    auto d = readDetails(det);
    if (!d) {
        dialogs_.message(d.error(), style::kStopOk, "Nom fichier ?");
        return;
    }
    const auto& f = d->fields;
    Text10->setText(qs(f[0]));
    text1->setText(qs(f[1]));
    Text4->setText(qs(f[2]));
    findChild<QLineEdit*>("Text6")->setText(qs(f[3]));
    setNote(f[4]);
    Text11->setText(qs(f[5]));
    Text9->setText(qs(f[6]));
    Text12->setText(qs(f[7]));
    findChild<QLineEdit*>("Text3")->setText(qs(f[8]));
    findChild<QLineEdit*>("Text5")->setText(qs(f[9]));
    figures_->decode(name);
}

void ToolPage::rewriteDetails() {
    std::string det = detailsPathFor(field("Text9"), false);
    if (!fileExists(det)) {
        dialogs_.message("Fichier de détails " + det + " introuvable : rien n'a été modifié.", style::kStopOk,
                         "Nom fichier ?");
        return;
    }
    Details d;
    d.fields = {field("Text10"), field("text1"), field("Text4"),  field("Text6"), field("Text7"),
                field("Text11"), field("Text9"), field("Text12"), field("Text3"), field("Text5")};
    if (Status s = replaceDetails(det, d); !s) dialogs_.message(s.message, style::kStopOk, "Nom fichier ?");
}

void ToolPage::closeEvent(QCloseEvent* e) {
    if (motionBusy_) {
        if (run_.playing) run_.arret = 1;
        closeAfter_ = true;
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

void ToolPage::setMotionBusy(bool busy) {
    motionBusy_ = busy;
    if (!busy && closeAfter_) {
        closeAfter_ = false;
        navigator_.close(PageId::Mach);
        return;
    }
    for (QPushButton* b : {Command11, Command12, static_cast<QPushButton*>(resume_)}) b->setEnabled(!busy);
    if (!busy) resume_->refresh();  // a stopped cut has just left its .reprise, or an ended one removed it
    for (QAction* a : menus_)
        if (a->objectName() == "quit" || a->objectName() == "retourfichier") a->setEnabled(!busy);
}

}  // namespace vornelle
