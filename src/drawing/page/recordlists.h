// The three visible drawing lists of the drawing page, List3 "axe Z", List5 "Ordre  initial"
// and List6 "Nouvel ordre", side by side, with Text3 "Nbre coupes". Each list is a view
// over the drawing's own texts (no copy, no widget per record), so a million records open
// and scroll at once. A click selects the same record in all three.
#pragma once

#include <QAbstractListModel>
#include <QLineEdit>
#include <QListView>
#include <QWidget>

#include "drawing/drawing.h"

namespace vornelle {

// One list of the drawing, read in place.
class TextListModel : public QAbstractListModel {
  public:
    TextListModel(const TextList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(list_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override;
    // One entry's text changed in place.
    void rowChanged(int row) {
        QModelIndex at = index(row, 0);
        if (at.isValid()) emit dataChanged(at, at, {Qt::DisplayRole});
    }
    void reload() {
        beginResetModel();
        endResetModel();
    }

  private:
    const TextList& list_;
};

class RecordLists : public QWidget {
    Q_OBJECT
  public:
    RecordLists(const Drawing& drawing, QWidget* parent = nullptr);
    // The drawing was loaded or rebuilt: lists and Text3 follow.
    void drawingChanged();
    // Selects the record in the three lists and shows the clicked list's first entry in all.
    void select(int row, QListView* from = nullptr);
    QListView* list(int n) const;  // 3, 5 or 6
    // List6 changed: one entry (row >= 0) or the whole list; the selection stays where it was.
    void entriesChanged(int row = -1);

  signals:
    // A user's click (or key) on a record, after the three lists show it.
    void recordClicked(int row);
    // A double click (or Entrée) on a record of List6 "Nouvel ordre".
    void entryActivated(int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const Drawing& drawing_;
    QListView *List3, *List5, *List6;
    TextListModel *model3_, *model5_, *model6_;
    QLineEdit* Text3;
    bool syncing_ = false;
};

}  // namespace vornelle
