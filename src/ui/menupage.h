// A page with a menu bar of its own: while it is the active child of the main window its
// menus take the place of the main menu.
#pragma once

#include <QList>
#include <QMenu>

namespace vornelle {

class MenuPage {
public:
    virtual ~MenuPage() = default;
    virtual QList<QMenu*> pageMenus() = 0;
};

}  // namespace vornelle
