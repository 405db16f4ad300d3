// Drawing page: the file commands "Effacer", "Renommer", the DXF, DAT and FRA loads and the
// FRA save. Each one checks first, in order; the first check that fails shows its message
// and changes nothing. See dessinpage.h.
#include <QFileInfo>

#include "base/files.h"
#include "drawing/import/datimport.h"
#include "dessinpage.h"
#include "drawing/import/dxfimport.h"
#include "drawing/save.h"

namespace vornelle {
namespace {
bool endsWithSlash(const std::string& s) {
    return !s.empty() && s.back() == '/';
}

// "Le dessin est incomplet" with the entities skipped by type, as vornelle-cli counts them.
std::string skippedText(const std::map<std::string, long>& skipped) {
    std::string list;
    for (const auto& [type, n] : skipped) list += (list.empty() ? "" : ", ") + std::to_string(n) + " " + type;
    return "Le dessin est incomplet : entités non découpées : " + list + ".";
}
}  // namespace

void DessinPage::effacer() {
    std::string name = text2();
    if (name.empty() || endsWithSlash(name)) {
        refuse("je ne peux pas effacer de fichier si aucun fichier n'est sélectionné", "essaie encore");
        return;
    }
    if (dialogs_.message("Confirmer effacer ?", style::kQuestionYesNo, "Effacer") != Button::Yes) return;
    if (Status s = deleteFile(name); !s) {
        refuse(s.message, "Effacer");
        return;
    }
    panel_->refresh();
}

void DessinPage::renommer() {
    std::string name = text2();
    if (endsWithSlash(name)) {
        refuse("je ne peux pas renommer un fichier s'il n'est pas selectionné", "essaie encore");
        return;
    }
    auto answer = dialogs_.inputBox("nouveau nom?", "Modification", name);
    if (!answer || answer->empty()) return;
    if (dialogs_.message(*answer, style::kQuestionYesNo, "renommer") != Button::Yes) return;
    // A bare name stays in the file's own folder (not the folder the program was started in).
    std::string target = *answer;
    if (target.find('/') == std::string::npos)
        target = QFileInfo(QString::fromStdString(name)).absolutePath().toStdString() + "/" + target;
    if (Status s = renameFile(name, target); !s) {
        refuse(s.message, "renommer");
        return;
    }
    Text2->setText(QString::fromStdString(target));
    panel_->refresh();
}

void DessinPage::chargerDxf() {
    chaine_ = text2();
    auto work = work_();
    if (!work) {
        refuse(work.error(), "Mauvaise saisie !");
        return;
    }
    ImportResult r;
    {
        BusyGuard busy(pointer_);
        r = importDxf(chaine_, *work, drawing_);
    }
    if (!r.ok) {
        // Nothing the classic import cuts, but what the complete one does: offer it first.
        if (offerComplete(r.skipped)) return;
        dialogs_.message(r.message.text, r.message.style, r.message.title);
        return;
    }
    drawingChanged();
    showPanel(false);
    Command8->hide();
    clearOptions();
    if (r.skipped.empty() || offerComplete(r.skipped)) return;
    dialogs_.message(skippedText(r.skipped), style::kExclamationOk, "Import DXF");
}

void DessinPage::chargerDat() {
    ImportResult r;
    {
        BusyGuard busy(pointer_);
        r = importDat(text2(), drawing_);
    }
    if (!r.ok) {
        dialogs_.message(r.message.text, r.message.style, r.message.title);
        return;
    }
    chaine_ = text2();
    drawingChanged();
    showPanel(false);
    Command7->hide();
    clearOptions();
}

void DessinPage::chargerFra() {
    chaine_ = text2();
    viewer_->setFacteur(0.35);
    if (chaine_.empty()) {
        refuse("Nom du fichier ?", "Saisie incomplette !");
        return;
    }
    if (!fileExists(chaine_)) {
        refuse("Fichier introuvable !", "Mauvaise saisie !");
        return;
    }
    Status s;
    {
        BusyGuard busy(pointer_);
        s = readFra(drawing_, chaine_);
    }
    drawingChanged();
    if (!s) {
        // The records read before the error stay; the panel stays open.
        refuse(s.message, "Mauvaise saisie !");
        return;
    }
    showPanel(false);
    viewer_->setVScroll(50);
    Command4->hide();
    Command6->hide();
    clearOptions();
}

void DessinPage::sauver() {
    SaveResult r = saveDrawing(drawing_, text2(), shared_);
    if (!r.ok) {
        dialogs_.message(r.message.text, r.message.style, r.message.title);
        return;
    }
    chaine_ = r.path;
    showPanel(false);
    Command4->hide();
    Command6->hide();
    clearOptions();
    // The page ends here; the tool page proposes the drawing just saved.
    navigator_.close(PageId::Dessin);
    navigator_.show(PageId::Mach);
}

}  // namespace vornelle
