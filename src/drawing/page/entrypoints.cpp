// Drawing page: entry points and cut order. The double click on List6 opens Form7, whose
// commands set, remove or clear entry points; "Réorganisation coupes" rebuilds the drawing
// in the new order. The checks and the rebuild are the engine's (cutorder.h). See dessinpage.h.
#include <QBoxLayout>
#include <QWindow>

#include "drawing/order/cutorder.h"
#include "dessinpage.h"

namespace vornelle {

DessinPage::~DessinPage() = default;

void DessinPage::buildOrderCommands(QLayout* row) {
    Command3 = new QPushButton("Réorganisation coupes", this);
    Command3->setObjectName("Command3");
    Command3->setToolTip("Commande à utiliser quand le nouvel ordre est entièrement choisi.");
    connect(Command3, &QPushButton::clicked, this, &DessinPage::reorganiser);
    row->addWidget(Command3);
    buildAutoOrder(row);
    if (auto* box = qobject_cast<QBoxLayout*>(row)) box->addStretch();
}

void DessinPage::entryDoubleClick(int row) {
    if (row < 0) return;
    selected_ = static_cast<size_t>(row);
    if (CutOrderResult c = canEnter(drawing_, selected_); !c) {
        dialogs_.message(c.message.text, c.message.style, c.message.title);
        return;
    }
    if (!form7_) {
        // Created once; afterwards only hidden and shown, so Text1 keeps what it holds.
        form7_ = std::make_unique<Form7>(shared_.form7Text1);
        connect(form7_.get(), &Form7::valider, this, &DessinPage::valider);
        connect(form7_.get(), &Form7::supprimer, this, &DessinPage::supprimerPoint);
        connect(form7_.get(), &Form7::supprimerTous, this, &DessinPage::supprimerTous);
    }
    form7_->show();
    // Kept above the main window, as a dialog of the page, without blocking it.
    if (QWindow* mine = form7_->windowHandle(); mine && window()->windowHandle())
        mine->setTransientParent(window()->windowHandle());
    form7_->raise();
    form7_->activateWindow();
}

void DessinPage::valider() {
    if (!form7_) return;
    Validation v = validate(drawing_, selected_, form7_->text1());
    if (!v) {
        // Form7 stays open with Text1 as typed, for the user to mend.
        dialogs_.message(v.message.text, v.message.style, v.message.title);
        return;
    }
    form7_->setText1(v.text1);
    form7_->hide();
    lists_->entriesChanged(static_cast<int>(selected_));
    viewer_->showEntryOverlay();
}

void DessinPage::supprimerPoint() {
    removeEntry(drawing_, selected_);
    if (form7_) form7_->hide();
    lists_->entriesChanged(static_cast<int>(selected_));
}

void DessinPage::supprimerTous() {
    clearEntries(drawing_);
    if (form7_) form7_->hide();
    lists_->entriesChanged();
}

// On success the view shows the new order at once: the list-click redraw, which prints the
// cut numbers of List5 on the new plunge records. On failure List1..List5 are as they were
// and only the cleared entry points are shown again.
void DessinPage::reorganiser() {
    CutOrderResult r = reorganise(drawing_);
    if (!r) {
        lists_->entriesChanged();
        dialogs_.message(r.message.text, r.message.style, r.message.title);
        return;
    }
    drawingChanged();
    viewer_->resetClickGuard();
    viewer_->listClickRedraw(-1);
}

}  // namespace vornelle
