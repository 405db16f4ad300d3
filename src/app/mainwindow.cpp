// Main window; see mainwindow.h. Child pages live in QMdiSubWindows; the about box and the
// panels are top-level windows of their own.
#include "mainwindow.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <cstdlib>

#include "base/version.h"
#include "ui/menupage.h"

namespace vornelle {
namespace {
bool isChildPage(PageId p) {
    return p == PageId::Dessin || p == PageId::Mach || p == PageId::Configuration || p == PageId::Form5;
}
}  // namespace

MainWindow::MainWindow(PageFactory factory, QWidget* parent)
    : QMainWindow(parent), factory_(std::move(factory)) {
    setObjectName("MDIForm1");
    setWindowTitle(QString("Vornelle V") + kVersion);
    area_ = new QMdiArea(this);
    area_->setObjectName("mdiArea");
    area_->setBackground(QColor(0x80, 0x80, 0x80));
    setCentralWidget(area_);
    portStatus_ = new QLabel(this);
    portStatus_->setObjectName("portStatus");
    statusBar()->addWidget(portStatus_, 1);
    buildMainMenu();
    connect(area_, &QMdiArea::subWindowActivated, this, [this] { updateMenus(); });
    resize(1100, 760);
}

// The area's signals must not reach a half-destroyed window while its children close.
// The windows of their own that are still open go with it (they have no parent to take them).
MainWindow::~MainWindow() {
    disconnect(area_, nullptr, this, nullptr);
    for (const QPointer<QWidget>& w : std::as_const(pages_))
        if (w && !w->parentWidget()) delete w.data();
}

void MainWindow::buildMainMenu() {
    QMenuBar* bar = menuBar();
    bar->clear();
    struct Item {
        const char* name;
        const char* caption;
        std::function<void()> run;
    } items[] = {{"coo", "Fichier", [this] { show(PageId::Dessin); }},
                 {"fidec", "Outil", [this] { show(PageId::Mach); }},
                 {"config", "Configurer", [this] { show(PageId::Configuration); }},
                 {"info", "A propos", [this] { show(PageId::Form2); }},
                 // Ends at once: no confirmation, no page unload runs, nothing is saved.
                 {"quitter", "Quitter", [] { std::_Exit(0); }}};
    for (const Item& it : items) {
        QAction* a = bar->addAction(it.caption);
        a->setObjectName(it.name);
        connect(a, &QAction::triggered, this, it.run);
    }
    setMotionBusy(motionBusy_);
}

void MainWindow::setMotionBusy(bool busy) {
    motionBusy_ = busy;
    // The pages would open over a motion with commands that show boxes; "A propos" and
    // "Quitter" stay.
    for (QAction* a : menuBar()->actions()) {
        const QString n = a->objectName();
        if (n == "coo" || n == "fidec" || n == "config") a->setEnabled(!busy);
    }
}

void MainWindow::updateMenus() {
    QMdiSubWindow* active = area_->activeSubWindow();
    auto* withMenu = active ? dynamic_cast<MenuPage*>(active->widget()) : nullptr;
    if (!withMenu) {
        if (menuBar()->property("pageMenus").toBool() || menuBar()->actions().isEmpty()) {
            buildMainMenu();
            menuBar()->setProperty("pageMenus", false);
        }
        return;
    }
    menuBar()->clear();
    for (QAction* a : withMenu->pageMenus()) menuBar()->addAction(a);
    menuBar()->setProperty("pageMenus", true);
}

QWidget* MainWindow::page(PageId id) const {
    auto it = pages_.find(id);
    return it == pages_.end() ? nullptr : it->data();
}

void MainWindow::show(PageId id) {
    if (QWidget* existing = page(id)) {
        if (isChildPage(id)) {
            auto* sub = qobject_cast<QMdiSubWindow*>(existing->parentWidget());
            if (sub) {
                sub->show();
                existing->show();
                area_->setActiveSubWindow(sub);
            }
        } else {
            existing->show();
            existing->raise();
            existing->activateWindow();
        }
        return;
    }
    PageMaker maker = factory_(id);
    if (!maker.create) return;
    QWidget* w = maker.create();
    w->setAttribute(Qt::WA_DeleteOnClose);
    pages_[id] = w;
    if (isChildPage(id)) {
        QMdiSubWindow* sub = area_->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(w->windowTitle());
        if (maker.load) maker.load(w);
        // The load may have closed the page already (it never does today, but stay safe).
        if (page(id)) {
            sub->show();
            area_->setActiveSubWindow(sub);
        }
    } else {
        // No parent: the program goes on while such a window is open, even after the main
        // window has been closed, and ends when the last of its windows closes.
        if (maker.load) maker.load(w);
        if (page(id)) w->show();
    }
    updateMenus();
}

void MainWindow::hide(PageId id) {
    QWidget* w = page(id);
    if (!w) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        sub->hide();
    else
        w->hide();
    updateMenus();
}

void MainWindow::close(PageId id) {
    QWidget* w = page(id);
    if (!w) return;
    pages_.remove(id);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
        area_->removeSubWindow(sub);
        sub->deleteLater();
    }
    w->hide();
    w->deleteLater();
    updateMenus();
}

void MainWindow::setPortStatus(const QString& text, const QString& why) {
    portStatus_->setText(text);
    portStatus_->setToolTip(why);
}

}  // namespace vornelle
