// Makes the README's pictures: starts the main window on a fresh data folder, imports a
// sample DXF drawing on the drawing page as a user would, and saves the window as
// docs/dessin.png; then saves the drawing and keeps the tool page as docs/outil.png, makes the
// cut file, shows the tool page with the decoded path and figures as docs/outil-decode.png, and
// starts the cut, held on its way, for the panel as docs/decencours.png. Between
// the two, entry points are set and Form7 is kept open beside the page as docs/form7.png.
// Last the configuration page (docs/configuration.png) and the joystick page (docs/joystick.png).
// Run under a display: xvfb-run -a -s "-screen 0 1280x900x24" build/tests/vornelle_screenshots docs
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "cutfile/page/toolpage.h"
#include "drawing/page/dessinpage.h"
#include "machinetest.h"
#include "mainwindowfixture.h"

using namespace vornelle;

namespace {
template <class T>
T* byCaption(QWidget* root, const QString& caption) {
    for (T* b : root->findChildren<T*>())
        if (b->text() == caption && b->isVisible()) return b;
    return nullptr;
}
void settle() {
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
}

// The plunge record (the first in the material) of the drawing's `cut`-th cut, from 0.
int plunge(const Drawing& d, int cut) {
    for (size_t i = 0; i + 1 < d.size(); ++i)
        if (d.List4[i] == "D" && cut-- == 0) return static_cast<int>(i + 1);
    return -1;
}

// Form7 beside the drawing: an entry point validated in the first cut (its overlay drawn over
// the picture), the dialog open again on the second cut with the next number. Form7 is a
// window of its own, so the whole screen is taken.
bool entryPointShot(QMainWindow& w, DessinPage* page, const std::string& file) {
    int first = plunge(page->drawing(), 0), second = plunge(page->drawing(), 1);
    if (first < 0 || second < 0) return false;
    page->entryDoubleClick(first);
    if (!page->form7()) return false;
    page->valider();
    page->entryDoubleClick(second);
    Form7* form = page->form7();
    form->adjustSize();
    // Under the view, where the page leaves room (no window manager places it under Xvfb).
    form->move(w.geometry().left() + 420, w.geometry().top() + 480);
    settle();
    QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    form->hide();
    settle();
    return shot.save(QString::fromStdString(file));
}

// The data folder: a configuration (200 steps per mm, feeds 60 and 90) and the ribs sample
// as pieces/nervures.dxf.
void ribsFolder(const test::TempDir& dir) {
    test::drawingFolder(
        dir,
        "\"200\",\"200\",\"400\",\"0,01\",\"60\",\"90\",\"2\",\"5\",\"1\",\"2\",\"4\",\"8\",\"16\",\"32\","
        "\"64\",\"128\",\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",0,0,0\r\n",
        test::sample("dxf/gen-ezdxf__r12_rib_sheet.dxf"), "nervures.dxf");
}

// The ribs imported on the drawing page, maximised, a record chosen in List3, and the panel open
// again on the name the drawing will be saved under.
DessinPage* loadRibs(test::MainWindowFixture& f) {
    f.window->show(PageId::Dessin);
    auto* page = static_cast<DessinPage*>(f.window->page(PageId::Dessin));
    if (auto* sub = page->parentWidget()) sub->showMaximized();
    page->choise();
    byCaption<QRadioButton>(page, "Fichier DXF")->click();
    page->filePanel()->openFolder(f.dir.file("pieces"));
    page->filePanel()->clickFile("nervures.dxf");
    page->chargerDxf();
    page->viewer()->ajuster();
    auto* l3 = page->findChild<QListView*>("List3");
    l3->setCurrentIndex(l3->model()->index(1, 0));
    // The panel again, as the user opens it to save.
    page->choise();
    byCaption<QRadioButton>(page, "Fichier FRA")->click();
    page->findChild<QLineEdit*>("Text2")->setText(QString::fromStdString(f.dir.file("pieces/nervures")));
    settle();
    return page;
}

// The drawing saved: the tool page that opens on it, maximised.
bool toolShot(MainWindow& w, DessinPage* page, const std::string& file) {
    page->sauver();
    settle();
    if (QWidget* mach = w.page(PageId::Mach))
        if (auto* sub = mach->parentWidget()) sub->showMaximized();
    settle();
    return w.grab().save(QString::fromStdString(file));
}

// The cut started and held at 40 % of its records while the panel, its progress line up, is
// taken; then let go to its end.
bool panelShot(test::MainWindowFixture& f, ToolPage* mach, const std::string& file) {
    bool ok = true;
    long holdAt = 4000;
    if (auto r = mach->figures()->result()) holdAt = static_cast<long>(r->figures.records * 2 * 4 / 10);
    test::Gate gate;
    f.machine.setStepHook([&] {
        if (f.ports.simulated().writeCount() > holdAt && !gate.reached()) gate.arrive();
    });
    if (QPushButton* cut = byCaption<QPushButton>(mach, "Découper")) {
        cut->click();
        if (gate.waitReached()) {
            QEventLoop wait;  // let the panel's progress line come up
            QTimer::singleShot(600, &wait, &QEventLoop::quit);
            wait.exec();
            if (DecencoursPanel* panel = f.runner.panel()) {
                while (panel->live()->decoding()) QApplication::processEvents(QEventLoop::AllEvents, 5);
                panel->resize(480, 560);
                f.runner.showProgress();
                settle();
                ok = panel->grab().save(QString::fromStdString(file));
            }
        }
        gate.release();
        test::waitIdle(f.machine);
    }
    return ok;
}

// The cut file made and decoded on the tool page, then the panel during the cut.
bool cutShots(test::MainWindowFixture& f, const std::string& out) {
    auto* mach = static_cast<ToolPage*>(f.window->page(PageId::Mach));
    if (!mach) return true;
    mach->findChild<QPlainTextEdit*>("Text7")->setPlainText("nervures d'essai");
    byCaption<QPushButton>(mach, "Créer fichier fraisage (DEF)")->click();
    while (mach->figures()->decoding()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    settle();
    bool ok = f.window->grab().save(QString::fromStdString(out + "/outil-decode.png"));
    return panelShot(f, mach, out + "/decencours.png") && ok;
}
// A page opened from the menu as the user would, maximised in the window.
bool pageShot(MainWindow& w, PageId id, const std::string& file) {
    w.show(id);
    if (QWidget* p = w.page(id))
        if (auto* sub = p->parentWidget()) sub->showMaximized();
    QApplication::processEvents();
    return w.grab().save(QString::fromStdString(file));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string out = argc > 1 ? argv[1] : "docs";
    test::MainWindowFixture f(ribsFolder);
    f.ports.simulated().setRecording(false);
    MainWindow& w = *f.window;
    w.resize(1280, 860);
    w.show();
    w.setPortStatus("Port simulé (aucun port parallèle)");
    DessinPage* page = loadRibs(f);
    bool ok = w.grab().save(QString::fromStdString(out + "/dessin.png"));
    ok = entryPointShot(w, page, out + "/form7.png") && ok;
    ok = toolShot(w, page, out + "/outil.png") && ok;
    ok = cutShots(f, out) && ok;
    ok = pageShot(w, PageId::Configuration, out + "/configuration.png") && ok;
    ok = pageShot(w, PageId::Form5, out + "/joystick.png") && ok;
    for (const auto& c : f.dialogs.calls) std::fprintf(stderr, "message: %s\n", c.text.c_str());
    return ok ? 0 : 1;
}
