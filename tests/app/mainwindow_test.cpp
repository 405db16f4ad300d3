// The main window's page registry: one page per kind, reload after unload, menus of pages
// that have their own, and the about box outside the main window.
#include "app/mainwindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "app/aboutbox.h"
#include "app/pages.h"
#include "testsupport.h"
#include "ui/menupage.h"
#include "ui/qtservices.h"

using namespace vornelle;

namespace {
class MenuWidget : public QWidget, public MenuPage {
  public:
    MenuWidget() {
        menu_ = new QMenu("Fichiers", this);
        menu_->addAction("Revenir à l'écran d'accueil");
    }
    QList<QAction*> pageMenus() override { return {menu_->menuAction()}; }
    QMenu* menu_;
};

struct Counting {
    std::map<PageId, int> created, loaded;
};

QStringList menuTexts(QMainWindow& w) {
    QStringList t;
    for (QAction* a : w.menuBar()->actions()) t << a->text();
    return t;
}
}  // namespace

TEST(MainWindow, OnePagePerKindAndFreshLoadAfterUnload) {
    Counting count;
    MainWindow w([&count](PageId id) -> MainWindow::PageMaker {
        return {[&count, id]() -> QWidget* {
                    ++count.created[id];
                    if (id == PageId::Mach) return new MenuWidget;
                    return new QWidget;
                },
                [&count, id](QWidget*) { ++count.loaded[id]; }};
    });
    w.show();
    EXPECT_EQ(w.windowTitle(), "Vornelle V3.9");
    EXPECT_EQ(menuTexts(w), (QStringList{"Fichier", "Outil", "Configurer", "A propos", "Quitter"}));

    w.show(PageId::Configuration);
    QWidget* first = w.page(PageId::Configuration);
    w.show(PageId::Configuration);
    EXPECT_EQ(w.page(PageId::Configuration), first);
    EXPECT_EQ(count.created[PageId::Configuration], 1);
    EXPECT_EQ(count.loaded[PageId::Configuration], 1);
    EXPECT_EQ(w.mdiArea()->subWindowList().size(), 1);

    w.close(PageId::Configuration);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.page(PageId::Configuration), nullptr);
    w.show(PageId::Configuration);
    EXPECT_EQ(count.created[PageId::Configuration], 2);
    EXPECT_EQ(count.loaded[PageId::Configuration], 2);
    EXPECT_EQ(w.mdiArea()->subWindowList().size(), 1);

    // Hidden pages keep their state and are not loaded again.
    w.show(PageId::Form5);
    w.hide(PageId::Form5);
    w.show(PageId::Form5);
    EXPECT_EQ(count.loaded[PageId::Form5], 1);

    // A page with its own menu replaces the main menu while active.
    w.show(PageId::Mach);
    EXPECT_EQ(menuTexts(w), QStringList{"Fichiers"});
    w.show(PageId::Configuration);
    EXPECT_EQ(menuTexts(w), (QStringList{"Fichier", "Outil", "Configurer", "A propos", "Quitter"}));

    // The about box is a window of its own, not a child page.
    w.show(PageId::Form2);
    QWidget* about = w.page(PageId::Form2);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isWindow());
    w.show(PageId::Form2);
    EXPECT_EQ(count.created[PageId::Form2], 1);
    EXPECT_EQ(w.mdiArea()->subWindowList().size(), 3);
}

TEST(MainWindow, RealPagesFromTheMenu) {
    test::TempDir dir;
    ::setenv("VORNELLE_HOME", dir.path().c_str(), 1);
    test::ScriptedDialogs dialogs;
    test::RecordingNavigator nav;
    PortSelector ports(false);
    Machine machine(ports, postToScreen(qApp));
    test::RecordingPacer pacer;
    struct : BusyPointer {
        void setBusy(bool) override {}
    } pointer;
    RunState run;
    DrawingShared drawing;
    RunController runner(run, nav, dialogs, pacer, pointer, machine);
    AppServices services{dialogs, nav, machine, pacer, pointer, run, drawing, runner};
    MainWindow w([&services](PageId id) { return makePage(id, services); });
    w.show();
    for (QAction* a : w.menuBar()->actions())
        if (a->objectName() == "config") a->trigger();
    QWidget* page = w.page(PageId::Configuration);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->objectName(), "configuration");
    EXPECT_EQ(w.mdiArea()->activeSubWindow()->windowTitle(), "Configuration de l'environnement ");
    EXPECT_TRUE(dialogs.calls.empty());
    for (QAction* a : w.menuBar()->actions())
        if (a->objectName() == "info") a->trigger();
    QWidget* about = w.page(PageId::Form2);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "Info");
    ::unsetenv("VORNELLE_HOME");
}

// The program ends when no window of it remains: the about box, a window of its own, keeps it
// running after the main window has been closed. The steps run inside the application's own
// event loop, where Qt decides to quit; each is queued behind the previous one.
TEST(MainWindow, AboutBoxOutlivesTheMainWindow) {
    auto w = std::make_unique<MainWindow>([](PageId id) -> MainWindow::PageMaker {
        if (id == PageId::Form2) return {[] { return makeAboutBox(); }, {}};
        return {};
    });
    w->show();
    w->show(PageId::Form2);
    QPointer<QWidget> about = w->page(PageId::Form2);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->parent(), nullptr);
    EXPECT_EQ(about->objectName(), "Form2");

    QObject script;  // cancels the steps not run when the loop ends early
    int lastClosed = 0;
    bool aboutAlone = false;
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, &script, [&lastClosed] { ++lastClosed; });
    QTimer::singleShot(0, &script, [&] {
        w->QMainWindow::close();
        QTimer::singleShot(0, &script, [&] {
            aboutAlone = lastClosed == 0 && about && about->isVisible();
            about->close();
            // Closing the last window queues the end of the loop; without it, end it here.
            QTimer::singleShot(0, &script, [&lastClosed] {
                if (lastClosed == 0) QCoreApplication::exit(1);
            });
        });
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(aboutAlone);
    EXPECT_EQ(lastClosed, 1);

    // A box still open when the main window goes is deleted with it.
    w->show(PageId::Form2);
    about = w->page(PageId::Form2);
    ASSERT_NE(about, nullptr);
    w.reset();
    EXPECT_EQ(about, nullptr);
}
