// Reading a page as assistive technology does; see accessibility.h.
#include "accessibility.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextEdit>

namespace vornelle::test {
namespace {
QString nameOf(QObject* o) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
    if (!a) return {};
    // On Linux a list's name is its current choice; a reader names it by the label it has.
    if (qobject_cast<QComboBox*>(o))
        for (const auto& [label, relation] : a->relations(QAccessible::Label)) return label->text(QAccessible::Name);
    return a->text(QAccessible::Name);
}

bool isField(QWidget* w) {
    if (qobject_cast<QScrollBar*>(w)) {
        QWidget* holder = w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr;
        return !qobject_cast<QAbstractScrollArea*>(holder);
    }
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QTextEdit*>(w);
}
}  // namespace

std::map<QString, QString> fieldNames(QWidget* page, const QStringList& skip) {
    std::map<QString, QString> names;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(page) || !isField(w) || skip.contains(w->objectName())) continue;
        // The line edit inside an editable combo box is read as the combo box.
        if (qobject_cast<QComboBox*>(w->parentWidget())) continue;
        names[w->objectName()] = nameOf(w);
    }
    return names;
}

QStringList captionProblems(QWidget* page) {
    QStringList problems;
    auto check = [&problems](const QString& who, const QString& name, QString caption) {
        caption.remove('&');
        if (name != caption) problems << QString("%1: nom « %2 », légende « %3 »").arg(who, name, caption);
    };
    for (QAbstractButton* b : page->findChildren<QAbstractButton*>())
        if (b->isVisibleTo(page) && !b->text().isEmpty()) check(b->objectName(), nameOf(b), b->text());
    for (QMenu* m : page->findChildren<QMenu*>()) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(m);
        if (!a) continue;
        for (int i = 0; i < a->childCount(); ++i) {
            QAccessibleInterface* item = a->child(i);
            QAction* action = m->actions().value(i);
            if (item && action && !action->isSeparator())
                check(m->title() + " > " + action->text(), item->text(QAccessible::Name), action->text());
        }
    }
    return problems;
}

QStringList nameProblems(const std::map<QString, QString>& names) {
    static const QRegularExpression identifier("^[A-Za-z]+[0-9]+$|^[a-z]+[A-Z]\\w*$");
    QStringList problems;
    std::map<QString, QString> owner;
    for (const auto& [object, name] : names) {
        if (name.trimmed().isEmpty())
            problems << object + ": sans nom";
        else if (name == object || identifier.match(name).hasMatch())
            problems << object + ": nom de programme « " + name + " »";
        auto [it, fresh] = owner.emplace(name, object);
        if (!fresh) problems << object + ": même nom que " + it->second + " « " + name + " »";
    }
    return problems;
}

}  // namespace vornelle::test
