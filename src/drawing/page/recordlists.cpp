// Drawing lists of the page; see recordlists.h.
#include "recordlists.h"

#include <QGridLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>

namespace vornelle {

QVariant TextListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || static_cast<size_t>(index.row()) >= list_.size())
        return {};
    std::string_view t = list_[static_cast<size_t>(index.row())];
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

RecordLists::RecordLists(const Drawing& drawing, QWidget* parent) : QWidget(parent), drawing_(drawing) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    struct L {
        const char* name;
        const char* caption;
        const char* tip;
        const TextList& list;
        QListView** view;
        TextListModel** model;
    } lists[] = {
        {"List3", "axe Z", "Nous informe sur la position de la fraise 0;hors matière,1; dans la matière",
         drawing.List3, &List3, &model3_},
        {"List5", "Ordre  initial",
         "Donne l'ordre de découpe par défaut. Cliquer pour faire coincider les 3 listes", drawing.List5,
         &List5, &model5_},
        {"List6", "Nouvel ordre",
         "Faire un double click pour entrer un nouveau point d'entrée dans la matière.", drawing.List6,
         &List6, &model6_},
    };
    int column = 0;
    for (const L& l : lists) {
        auto* label = new QLabel(l.caption, this);
        auto* view = new QListView(this);
        view->setObjectName(l.name);
        view->setToolTip(l.tip);
        view->setUniformItemSizes(true);  // a million rows are laid out without measuring each
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setMinimumWidth(70);
        view->setMaximumWidth(120);
        auto* model = new TextListModel(l.list, view);
        view->setModel(model);
        label->setBuddy(view);
        // Item views do not take their name from the buddy label: say it.
        view->setAccessibleName(l.caption);
        view->setAccessibleDescription(l.tip);
        grid->addWidget(label, 0, column);
        grid->addWidget(view, 1, column);
        *l.view = view;
        *l.model = model;
        connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, view](const QModelIndex& current) {
                    if (syncing_ || !current.isValid()) return;
                    select(current.row(), view);
                    emit recordClicked(current.row());
                });
        ++column;
    }
    connect(List6, &QListView::doubleClicked, this, [this](const QModelIndex& at) {
        if (at.isValid()) emit entryActivated(at.row());
    });
    List6->installEventFilter(this);
    auto* label = new QLabel("Nbre coupes", this);
    Text3 = new QLineEdit(this);
    Text3->setObjectName("Text3");
    Text3->setReadOnly(true);
    Text3->setMaximumWidth(80);
    Text3->setToolTip("Informe sur le nombre de découpes que contient le fichier.");
    label->setBuddy(Text3);
    grid->addWidget(label, 2, 0);
    grid->addWidget(Text3, 2, 1);
    grid->setRowStretch(1, 1);
}

QListView* RecordLists::list(int n) const {
    return n == 3 ? List3 : n == 5 ? List5 : List6;
}

void RecordLists::drawingChanged() {
    syncing_ = true;
    for (TextListModel* m : {model3_, model5_, model6_}) m->reload();
    syncing_ = false;
    Text3->setText(QString::fromStdString(drawing_.Text3));
}

// Entrée on List6 does what the double click does, for the keyboard.
bool RecordLists::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List6 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            List6->currentIndex().isValid()) {
            emit entryActivated(List6->currentIndex().row());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RecordLists::entriesChanged(int row) {
    if (row >= 0) {
        model6_->rowChanged(row);
        return;
    }
    int current = List6->currentIndex().row();
    syncing_ = true;
    model6_->reload();
    QModelIndex at = model6_->index(current, 0);
    if (at.isValid()) List6->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    syncing_ = false;
}

void RecordLists::select(int row, QListView* from) {
    syncing_ = true;
    int top = from ? from->indexAt(QPoint(1, 1)).row() : row;
    for (QListView* v : {List3, List5, List6}) {
        QModelIndex at = v->model()->index(row, 0);
        if (!at.isValid()) continue;
        if (v != from) v->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        QModelIndex first = v->model()->index(top >= 0 ? top : row, 0);
        if (first.isValid()) v->scrollTo(first, QAbstractItemView::PositionAtTop);
    }
    syncing_ = false;
}

}  // namespace vornelle
