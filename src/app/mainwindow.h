// The main window MDIForm1: the frame that holds the pages, the main menu, the status bar
// that names the port in use, and the page registry (each page exists at most once).
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <QMdiArea>
#include <QPointer>
#include <functional>

#include "base/interfaces.h"

namespace vornelle {

class MainWindow : public QMainWindow, public Navigator {
    Q_OBJECT
  public:
    // Creates a page widget (not yet loaded). `load` runs its load routine once created.
    struct PageMaker {
        std::function<QWidget*()> create;
        std::function<void(QWidget*)> load;
    };
    using PageFactory = std::function<PageMaker(PageId)>;

    explicit MainWindow(PageFactory factory, QWidget* parent = nullptr);
    ~MainWindow() override;

    void show(PageId page) override;
    void hide(PageId page) override;
    void close(PageId page) override;
    using QMainWindow::show;

    // The page's widget when it exists, else null.
    QWidget* page(PageId page) const;
    void setPortStatus(const QString& text, const QString& why = {});
    QMdiArea* mdiArea() const { return area_; }
    // While a motion runs the menu entries that open pages are disabled.
    void setMotionBusy(bool busy);

  private:
    void updateMenus();
    void buildMainMenu();

    PageFactory factory_;
    QMdiArea* area_;
    QLabel* portStatus_;
    QMap<PageId, QPointer<QWidget>> pages_;
    bool motionBusy_ = false;
};

}  // namespace vornelle
