// Tool page; see toolpage.h. Its widgets are built in toolpagelayout.cpp.
#include "toolpage.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "base/files.h"
#include "base/numbers.h"
#include "config/configmachine.h"
#include "cutfile/details.h"
#include "cutfile/generation/generation.h"
#include "cutfile/ramps/rampjob.h"
#include "cutfile/strategy/strategydetails.h"
#include "cutfile/strategy/strategygeneration.h"
#include "cutfile/toolfields.h"
#include "gcodefiles.h"
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
    buildPupitre(left);
    buildBrowser(left);
    top->addLayout(left);

    // Right column: names, parameters, note, preview.
    auto* right = new QVBoxLayout;
    buildNameFields(right);
    buildParameters(right);
    buildStrategy(right);
    buildPreview(right);
    top->addLayout(right, 1);

    buildHiddenFields();
    buildMenus();
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
    PreviewResult r = previewOf(bytes(text1->text()), facteur_, c);  // a drawing or a G-code program
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
    PreviewResult r = previewOf(bytes(text1->text()), facteur_, 40);
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
    // A G-code program gives its points itself: the cut strategy is for drawings.
    GenerationResult r = isGcodeProgram(in.text1)
                             ? generateFromGcode(in, field("Text2"), *work, pointer_)
                             : generateWithStrategy(in, strategy_->texts(), *work, pointer_).result;
    // The ramps of the configuration's settings go into NOM.rythme beside the cut file.
    if (auto data = folder_(); r.ok && data) {
        std::string why = settingsRampsAfterGeneration(in, field("Text2"), property("invZ").toBool(), *data,
                                                       r.defPath, *work);
        if (!why.empty()) {
            r.ok = false;
            r.message = {why + "\nAucun fichier découpe n'a été créé.", "Découpe", style::kStopOk};
        }
    }
    if (r.ok) {
        panel_->refresh();
        gcode_->relist();
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
    strategy_->setTexts(readStrategyDetails(det).value_or(StrategyTexts{}));
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
    // The strategy's settings on the page stay in the file beside the ten fields.
    if (Status s = replaceFile(det, strategyDetailsRecord(d, strategy_->texts())); !s)
        dialogs_.message(s.message, style::kStopOk, "Nom fichier ?");
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
    // Nothing here may open a box while the machine moves: generating, loading a cut file and
    // the menus all can.
    for (const char* name : {"Command3", "Command10"})
        if (auto* b = findChild<QPushButton*>(name)) b->setEnabled(!busy);
    for (QAction* a : menus_) a->setEnabled(!busy);
}

}  // namespace vornelle
