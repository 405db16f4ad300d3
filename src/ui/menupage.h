// A page with a menu bar of its own: while it is the active child of the main window its
// menus take the place of the main menu.
#pragma once

#include <QAction>
#include <QList>

namespace vornelle {

class MenuPage {
  public:
    virtual ~MenuPage() = default;
    // Top-level items: menus (their menuAction()) and plain actions.
    virtual QList<QAction*> pageMenus() = 0;
};

}  // namespace vornelle
