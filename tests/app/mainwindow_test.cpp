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
#include <memory>
#include <mutex>

#include "app/aboutbox.h"
#include "app/pages.h"
#include "base/version.h"
#include "machinetest.h"
#include "mainwindowfixture.h"
#include "port/backends/simulatedmachine.h"
#include "ui/menupage.h"

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

// The data folder of a user's road: a configuration (200 steps per mm, feeds 100) and the
// square and circle sample as pieces/carre.dxf.
void carreFolder(const test::TempDir& dir) {
    test::drawingFolder(
        dir,
        "\"200\",\"200\",\"400\",\"0,01\",\"100\",\"100\",\"2\",\"2\",\"1\",\"1\",\"2\",\"4\","
        "\"8\",\"16\",\"32\",\"64\",\"128\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",0,0,0\r\n",
        test::squareSample(), "carre.dxf");
}

// The drawing page, from the main menu's "Fichier".
QWidget* openDrawingPage(MainWindow& w) {
    for (QAction* a : w.menuBar()->actions())
        if (a->text() == "Fichier") a->trigger();
    return w.page(PageId::Dessin);
}

// The page's file panel on a DXF file of the folder pieces, as the user picks it.
void chooseDxf(MainWindow& w, QWidget* dessin, const QString& file) {
    menuAction(w, "Fichier", "Choisir un fichier ")->trigger();
    byCaption<QRadioButton>(dessin, "Fichier DXF")->click();
    clickItem(dessin->findChild<QListWidget*>("Dir1"), "pieces", true);
    clickItem(dessin->findChild<QListWidget*>("File1"), file, false);
}

// The drawing saved as FRA under the name typed: the drawing page closes.
void saveFra(MainWindow& w, QWidget* dessin, const std::string& name) {
    menuAction(w, "Fichier", "Choisir un fichier ")->trigger();
    byCaption<QRadioButton>(dessin, "Fichier FRA")->click();
    auto* text2 = dessin->findChild<QLineEdit*>("Text2");
    text2->clear();
    QTest::keyClicks(text2, QString::fromStdString(name));
    byCaption<QPushButton>(dessin, "Sauver")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.page(PageId::Dessin), nullptr);
}

// On the tool page: the note typed, the cut file made, then cut to its end.
void makeAndCut(test::MainWindowFixture& f, QWidget* mach, const QString& note) {
    QTest::keyClicks(mach->findChild<QPlainTextEdit*>("Text7"), note);
    byCaption<QPushButton>(mach, "Créer fichier fraisage (DEF)")->click();
    ASSERT_FALSE(f.dialogs.calls.empty());
    EXPECT_EQ(f.dialogs.calls.back().text, "Fichier découpe créé avec succés");
    byCaption<QPushButton>(mach, "Découper")->click();
    ASSERT_TRUE(test::waitIdle(f.machine));
    EXPECT_EQ(f.dialogs.calls.back().text, "découpe terminée !");
}

// The square (records 76 to 82) entered at its corner 10,10, then the circle (0 to 75) at its
// point half way round, 0,5, through Form7; then "Réorganisation coupes". Text1 runs on from 1
// to 2 by itself.
void squareThenCircle(test::MainWindowFixture& f, QWidget* dessin) {
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
    ASSERT_TRUE(f.dialogs.calls.empty()) << f.dialogs.calls.back().text;
    EXPECT_EQ(dessin->findChild<QLineEdit*>("Text3")->text(), "2");
}

// The command line, given the same choices, writes the same file as the page.
void cliWritesTheSameFra(const test::TempDir& dir) {
    std::string cmd = "cd '" + dir.file("pieces") + "' && " + CLI_PATH +
                      " import-dxf carre.dxf ligne --entry 79=1 --entry 37=2 >/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::string page = test::slurp(dir.file("pieces/carre.fra"));
    EXPECT_FALSE(page.empty());
    EXPECT_EQ(page, test::slurp(dir.file("pieces/ligne.fra")));
}

// X and Y (steps) where Z first leaves 0, taken on the machine's thread while it lives.
class Plunges {
  public:
    explicit Plunges(SimulatedMachine& s) : s_(s) {
        s_.setObserver([this](uint8_t) {
            std::lock_guard<std::mutex> lock(m_);
            if (lastZ_ == 0 && s_.position(2) != 0) list_.push_back({s_.position(0), s_.position(1)});
            lastZ_ = s_.position(2);
        });
    }
    ~Plunges() { s_.setObserver({}); }
    std::vector<std::array<long, 2>> taken() {
        std::lock_guard<std::mutex> lock(m_);
        return list_;
    }

  private:
    SimulatedMachine& s_;
    std::mutex m_;
    std::vector<std::array<long, 2>> list_;
    long lastZ_ = 0;
};
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
    test::MainWindowFixture f;
    MainWindow& w = *f.window;
    w.show();
    for (QAction* a : w.menuBar()->actions())
        if (a->objectName() == "config") a->trigger();
    QWidget* page = w.page(PageId::Configuration);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->objectName(), "configuration");
    EXPECT_EQ(w.mdiArea()->activeSubWindow()->windowTitle(), "Configuration de l'environnement ");
    EXPECT_TRUE(f.dialogs.calls.empty());
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
    test::MainWindowFixture f(carreFolder);
    f.ports.simulated().setRecording(false);
    MainWindow& w = *f.window;
    w.show();

    QWidget* dessin = openDrawingPage(w);
    ASSERT_NE(dessin, nullptr);
    chooseDxf(w, dessin, "carre.dxf");
    EXPECT_EQ(dessin->findChild<QLineEdit*>("Text2")->text().toStdString(), f.dir.file("pieces/carre.dxf"));
    byCaption<QPushButton>(dessin, "Charger")->click();
    EXPECT_TRUE(f.dialogs.calls.empty()) << f.dialogs.calls.back().text;
    saveFra(w, dessin, f.dir.file("pieces/carre"));

    QWidget* mach = w.page(PageId::Mach);
    ASSERT_NE(mach, nullptr);
    EXPECT_EQ(mach->findChild<QLineEdit*>("text1")->text().toStdString(), f.dir.file("pieces/carre.fra"));
    EXPECT_EQ(mach->findChild<QLineEdit*>("Text9")->text().toStdString(), f.dir.file("pieces/carre"));
    ASSERT_NO_FATAL_FAILURE(makeAndCut(f, mach, "carre d'essai"));
    EXPECT_GT(f.ports.simulated().writeCount(), 1000);
    for (int a = 0; a < 3; ++a) EXPECT_EQ(f.ports.simulated().position(a), 0) << a;
}

// The same road with the cut order chosen on the drawing page: entry points inside the square
// and the circle of a real DXF sample, the square first; the cut file plunges at each chosen
// point in the new order, and the command line given the same choices writes the same FRA file.
TEST(MainWindow, EntryPointsAndCutOrderFromTheDrawingPageToTheCut) {
    test::MainWindowFixture f(carreFolder);
    f.ports.simulated().setRecording(false);
    Plunges plunges(f.ports.simulated());
    MainWindow& w = *f.window;
    w.show();

    QWidget* dessin = openDrawingPage(w);
    ASSERT_NE(dessin, nullptr);
    chooseDxf(w, dessin, "carre.dxf");
    byCaption<QPushButton>(dessin, "Charger")->click();
    ASSERT_TRUE(f.dialogs.calls.empty()) << f.dialogs.calls.back().text;
    ASSERT_NO_FATAL_FAILURE(squareThenCircle(f, dessin));
    saveFra(w, dessin, f.dir.file("pieces/carre"));
    ASSERT_NO_FATAL_FAILURE(cliWritesTheSameFra(f.dir));

    QWidget* mach = w.page(PageId::Mach);
    ASSERT_NE(mach, nullptr);
    EXPECT_EQ(mach->findChild<QLineEdit*>("Text4")->text(), "1");  // scale 1: 200 steps per mm
    ASSERT_NO_FATAL_FAILURE(makeAndCut(f, mach, "carre dans le nouvel ordre"));
    // The square first at 10,10 mm, then the circle at 0,5 mm (as imported: 10,5 then 0,0).
    EXPECT_EQ(plunges.taken(), (std::vector<std::array<long, 2>>{{2000, 2000}, {0, 1000}}));
    for (int a = 0; a < 3; ++a) EXPECT_EQ(f.ports.simulated().position(a), 0) << a;
}
