// Click label; see clicklabel.h. Its accessible side: a button whose press action clicks it.
#include "clicklabel.h"

#include <QAccessibleWidget>

namespace vornelle {
namespace {
class ClickLabelAccessible : public QAccessibleWidget {
  public:
    explicit ClickLabelAccessible(ClickLabel* label) : QAccessibleWidget(label, QAccessible::Button) {
        addControllingSignal(QStringLiteral("clicked()"));
    }
    // Named by its own text, as a button by its caption (not by the box around it).
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<ClickLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) emit static_cast<ClickLabel*>(widget())->clicked();
    }
};

QAccessibleInterface* makeAccessible(const QString&, QObject* object) {
    if (auto* label = qobject_cast<ClickLabel*>(object)) return new ClickLabelAccessible(label);
    return nullptr;
}
}  // namespace

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    static const bool installed = [] {
        QAccessible::installFactory(makeAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace vornelle
