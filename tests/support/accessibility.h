// What a screen reader gets from a page through Qt's accessibility interface: the names of its
// visible text boxes, lists and scroll bars, and the buttons and menu items whose name is not
// their caption.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <map>

namespace vornelle::test {

// objectName -> accessible name of every visible text box, list, combo box, item view and
// scroll bar under `page` (the scroll bars of a scroll area belong to the area and are left out).
std::map<QString, QString> fieldNames(QWidget* page, const QStringList& skip = {});

// "Command3: nom « x », légende « y »" for each visible button, option, check box or menu item
// under `page` whose accessible name is not its caption without '&'.
QStringList captionProblems(QWidget* page);

// Empty, or what a program would name it rather than a person: the object name, an identifier
// such as "Text12", or a name given to two fields (the reader could not tell them apart).
QStringList nameProblems(const std::map<QString, QString>& names);

}  // namespace vornelle::test
