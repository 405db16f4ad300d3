// Drawing page: "Ordre automatique", beside "Réorganisation coupes". The engine
// (autoorder.h) numbers every cut and reorganises the drawing; the page shows the new order
// and, in a line under the view, the travel out of the material before and after.
#include <QBoxLayout>

#include "dessinpage.h"
#include "drawing/order/autoorder.h"

namespace vornelle {

void DessinPage::buildAutoOrder(QLayout* row) {
    ordreAuto_ = new QPushButton("Ordre automatique", this);
    ordreAuto_->setObjectName("ordreAutomatique");
    ordreAuto_->setToolTip(
        "Choisit pour chaque découpe son point d'entrée et son numéro d'ordre : les trous et les détails "
        "d'une pièce avant son contour, le moins de déplacements hors matière, puis réorganise les coupes.");
    connect(ordreAuto_, &QPushButton::clicked, this, &DessinPage::ordreAutomatique);
    row->addWidget(ordreAuto_);
    // No accessible name: a screen reader reads the whole text, numbers included. Its width
    // ignored and its text wrapped, so that the line appearing does not push the lists aside.
    deplacements_ = new QLabel(this);
    deplacements_->setObjectName("deplacements");
    deplacements_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    deplacements_->setWordWrap(true);
    deplacements_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(deplacements_);
}

// As after "Réorganisation coupes": the lists and the view show the new order at once.
void DessinPage::ordreAutomatique() {
    pointer_.setBusy(true);
    AutoOrderResult r = autoOrder(drawing_);
    pointer_.setBusy(false);
    if (!r.reordered && r.cuts == 1) {
        deplacements_->setText(QString::fromStdString(travelLine(r.travelBefore, r.travelAfter)) +
                               " : la découpe est déjà entrée au plus près de l'origine.");
        return;
    }
    if (!r.reordered) {
        deplacements_->setText(
            "Ordre inchangé : il faut les découpes d'un dessin importé (DXF ou DAT), pas d'un fichier FRA.");
        return;
    }
    drawingChanged();
    viewer_->resetClickGuard();
    viewer_->listClickRedraw(-1);
    deplacements_->setText(QString::fromStdString(travelLine(r.travelBefore, r.travelAfter)));
}

}  // namespace vornelle
