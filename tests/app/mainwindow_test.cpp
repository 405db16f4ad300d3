// The main window's page registry: one page per kind, reload after unload, menus of pages
// that have their own, and the about box outside the main window.
#include "app/mainwindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>

#include "app/aboutbox.h"
#include "app/pages.h"
#include "base/version.h"
#include "machinetest.h"
#include "port/backends/simulatedmachine.h"
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

// The visible control of that caption, as a user finds it on screen.
template <class T>
T* byCaption(QWidget* root, const QString& caption) {
    for (T* b : root->findChildren<T*>())
        if (b->text() == caption && b->isVisible()) return b;
    ADD_FAILURE() << "no visible " << caption.toStdString();
    return nullptr;
}

QAction* menuAction(QMainWindow& w, const QString& menu, const QString& item) {
    for (QAction* a : w.menuBar()->actions())
        if (a->text() == menu && a->menu())
            for (QAction* i : a->menu()->actions())
                if (i->text() == item) return i;
    ADD_FAILURE() << "no menu item " << item.toStdString();
    return nullptr;
}

void clickItem(QListWidget* list, const QString& text, bool twice) {
    auto found = list->findItems(text, Qt::MatchEndsWith);
    QStringList all;
    for (int i = 0; i < list->count(); ++i) all << list->item(i)->text();
    ASSERT_FALSE(found.isEmpty()) << text.toStdString() << " in " << all.join('|').toStdString();
    // The list's own signals, as a click and a double click raise them.
    emit list->itemClicked(found.front());
    if (twice) emit list->itemActivated(found.front());
}

// A user's double click on a row of a list view: press and release, then the double click.
void doubleClickRow(QListView* list, int row) {
    ASSERT_NE(list, nullptr);
    QModelIndex at = list->model()->index(row, 0);
    list->scrollTo(at);
    QPoint centre = list->visualRect(at).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

// The visible window of that object name outside the main window (a dialog of its own).
QWidget* visibleWindow(const QString& name) {
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->objectName() == name && t->isVisible()) return t;
    return nullptr;
}

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
    // The version shown is the one vornelle-cli --version prints, from the project's version.
    auto* version = about->findChild<QLabel*>("Label2");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QString("Version ") + kVersion);
    EXPECT_TRUE(version->text().startsWith("Version 3.9")) << version->text().toStdString();
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

// A user's whole road: a DXF drawing imported on the drawing page, saved as FRA, proposed by
// the tool page, turned into a cut file and cut on the simulated machine, which ends at home.
TEST(MainWindow, FromADxfDrawingToACut) {
    test::TempDir dir;
    ::setenv("VORNELLE_HOME", dir.path().c_str(), 1);
    test::spit(
        dir.file("vrnl1.cfg"),
        "\"200\",\"200\",\"400\",\"0,01\",\"100\",\"100\",\"2\",\"2\",\"1\",\"1\",\"2\",\"4\","
        "\"8\",\"16\",\"32\",\"64\",\"128\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",0,0,0\r\n");
    std::filesystem::create_directories(dir.file("pieces"));
    std::filesystem::copy(std::string(SAMPLES_DIR) + "/dxf/gh-skymakerolof-dxf__squareandcircle.dxf",
                          dir.file("pieces/carre.dxf"));
    test::ScriptedDialogs dialogs;
    struct Late : Navigator {
        Navigator* target = nullptr;
        void show(PageId p) override { target->show(p); }
        void hide(PageId p) override { target->hide(p); }
        void close(PageId p) override { target->close(p); }
    } nav;
    PortSelector ports(false);
    ports.simulated().setRecording(false);
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
    nav.target = &w;
    w.show();

    for (QAction* a : w.menuBar()->actions())
        if (a->text() == "Fichier") a->trigger();
    QWidget* dessin = w.page(PageId::Dessin);
    ASSERT_NE(dessin, nullptr);
    menuAction(w, "Fichier", "Choisir un fichier ")->trigger();
    byCaption<QRadioButton>(dessin, "Fichier DXF")->click();
    auto* dirs = dessin->findChild<QListWidget*>("Dir1");
    clickItem(dirs, "pieces", true);
    clickItem(dessin->findChild<QListWidget*>("File1"), "carre.dxf", false);
    EXPECT_EQ(dessin->findChild<QLineEdit*>("Text2")->text().toStdString(), dir.file("pieces/carre.dxf"));
    byCaption<QPushButton>(dessin, "Charger")->click();
    EXPECT_TRUE(dialogs.calls.empty()) << dialogs.calls.back().text;
    menuAction(w, "Fichier", "Choisir un fichier ")->trigger();
    byCaption<QRadioButton>(dessin, "Fichier FRA")->click();
    auto* name = dessin->findChild<QLineEdit*>("Text2");
    name->clear();
    QTest::keyClicks(name, QString::fromStdString(dir.file("pieces/carre")));
    byCaption<QPushButton>(dessin, "Sauver")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.page(PageId::Dessin), nullptr);

    QWidget* mach = w.page(PageId::Mach);
    ASSERT_NE(mach, nullptr);
    EXPECT_EQ(mach->findChild<QLineEdit*>("text1")->text().toStdString(), dir.file("pieces/carre.fra"));
    EXPECT_EQ(mach->findChild<QLineEdit*>("Text9")->text().toStdString(), dir.file("pieces/carre"));
    QTest::keyClicks(mach->findChild<QPlainTextEdit*>("Text7"), "carre d'essai");
    byCaption<QPushButton>(mach, "Créer fichier fraisage (DEF)")->click();
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_EQ(dialogs.calls.back().text, "Fichier découpe créé avec succés");
    byCaption<QPushButton>(mach, "Découper")->click();
    ASSERT_TRUE(test::waitIdle(machine));
    EXPECT_EQ(dialogs.calls.back().text, "découpe terminée !");
    EXPECT_GT(ports.simulated().writeCount(), 1000);
    for (int a = 0; a < 3; ++a) EXPECT_EQ(ports.simulated().position(a), 0) << a;
    ::unsetenv("VORNELLE_HOME");
}

// The same road with the cut order chosen on the drawing page: entry points inside the square
// and the circle of a real DXF sample, the square first; the cut file plunges at each chosen
// point in the new order, and the command line given the same choices writes the same FRA file.
TEST(MainWindow, EntryPointsAndCutOrderFromTheDrawingPageToTheCut) {
    test::TempDir dir;
    ::setenv("VORNELLE_HOME", dir.path().c_str(), 1);
    test::spit(
        dir.file("vrnl1.cfg"),
        "\"200\",\"200\",\"400\",\"0,01\",\"100\",\"100\",\"2\",\"2\",\"1\",\"1\",\"2\",\"4\","
        "\"8\",\"16\",\"32\",\"64\",\"128\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",0,0,0\r\n");
    std::filesystem::create_directories(dir.file("pieces"));
    std::filesystem::copy(std::string(SAMPLES_DIR) + "/dxf/gh-skymakerolof-dxf__squareandcircle.dxf",
                          dir.file("pieces/carre.dxf"));
    test::ScriptedDialogs dialogs;
    struct Late : Navigator {
        Navigator* target = nullptr;
        void show(PageId p) override { target->show(p); }
        void hide(PageId p) override { target->hide(p); }
        void close(PageId p) override { target->close(p); }
    } nav;
    PortSelector ports(false);
    ports.simulated().setRecording(false);
    // X and Y (steps) where Z first leaves 0, on the machine's thread.
    std::mutex m;
    std::vector<std::array<long, 2>> plunges;
    long lastZ = 0;
    ports.simulated().setObserver([&](uint8_t) {
        SimulatedMachine& s = ports.simulated();
        std::lock_guard<std::mutex> lock(m);
        if (lastZ == 0 && s.position(2) != 0) plunges.push_back({s.position(0), s.position(1)});
        lastZ = s.position(2);
    });
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
    nav.target = &w;
    w.show();

    for (QAction* a : w.menuBar()->actions())
        if (a->text() == "Fichier") a->trigger();
    QWidget* dessin = w.page(PageId::Dessin);
    ASSERT_NE(dessin, nullptr);
    menuAction(w, "Fichier", "Choisir un fichier ")->trigger();
    byCaption<QRadioButton>(dessin, "Fichier DXF")->click();
    clickItem(dessin->findChild<QListWidget*>("Dir1"), "pieces", true);
    clickItem(dessin->findChild<QListWidget*>("File1"), "carre.dxf", false);
    byCaption<QPushButton>(dessin, "Charger")->click();
    ASSERT_TRUE(dialogs.calls.empty()) << dialogs.calls.back().text;

    // The square (records 76 to 82) entered at its corner 10,10, then the circle (0 to 75)
    // at its point half way round, 0,5. Text1 runs on from 1 to 2 by itself.
    auto* list6 = dessin->findChild<QListView*>("List6");
    for (int row : {79, 37}) {
        doubleClickRow(list6, row);
        QWidget* form7 = visibleWindow("Form7");
        ASSERT_NE(form7, nullptr) << row;
        EXPECT_EQ(form7->findChild<QLineEdit*>("Text1")->text(), row == 79 ? "1" : "2");
        byCaption<QPushButton>(form7, "Valider un nouveau point d'entrée dans la matière")->click();
        EXPECT_EQ(visibleWindow("Form7"), nullptr);
    }
    byCaption<QPushButton>(dessin, "Réorganisation coupes")->click();
    ASSERT_TRUE(dialogs.calls.empty()) << dialogs.calls.back().text;
    EXPECT_EQ(dessin->findChild<QLineEdit*>("Text3")->text(), "2");

    menuAction(w, "Fichier", "Choisir un fichier ")->trigger();
    byCaption<QRadioButton>(dessin, "Fichier FRA")->click();
    auto* name = dessin->findChild<QLineEdit*>("Text2");
    name->clear();
    QTest::keyClicks(name, QString::fromStdString(dir.file("pieces/carre")));
    byCaption<QPushButton>(dessin, "Sauver")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.page(PageId::Dessin), nullptr);

    // The command line, given the same choices, writes the same file.
    std::string cmd = "cd '" + dir.file("pieces") + "' && " + CLI_PATH +
                      " import-dxf carre.dxf ligne --entry 79=1 --entry 37=2 >/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::string page = test::slurp(dir.file("pieces/carre.fra"));
    EXPECT_FALSE(page.empty());
    EXPECT_EQ(page, test::slurp(dir.file("pieces/ligne.fra")));

    QWidget* mach = w.page(PageId::Mach);
    ASSERT_NE(mach, nullptr);
    EXPECT_EQ(mach->findChild<QLineEdit*>("Text4")->text(), "1");  // scale 1: 200 steps per mm
    QTest::keyClicks(mach->findChild<QPlainTextEdit*>("Text7"), "carre dans le nouvel ordre");
    byCaption<QPushButton>(mach, "Créer fichier fraisage (DEF)")->click();
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_EQ(dialogs.calls.back().text, "Fichier découpe créé avec succés");
    byCaption<QPushButton>(mach, "Découper")->click();
    ASSERT_TRUE(test::waitIdle(machine));
    EXPECT_EQ(dialogs.calls.back().text, "découpe terminée !");
    {
        std::lock_guard<std::mutex> lock(m);
        // The square first at 10,10 mm, then the circle at 0,5 mm (as imported: 10,5 then 0,0).
        EXPECT_EQ(plunges, (std::vector<std::array<long, 2>>{{2000, 2000}, {0, 1000}}));
    }
    for (int a = 0; a < 3; ++a) EXPECT_EQ(ports.simulated().position(a), 0) << a;
    ports.simulated().setObserver({});
    ::unsetenv("VORNELLE_HOME");
}
