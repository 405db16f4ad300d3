// The decoded cut file on the tool page and on the cut-in-progress panel: the figures of a
// generated sample, a problem in red, the panel's position, path and time left while the
// simulated machine plays.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <filesystem>

#include "base/numbers.h"
#include "cutfile/page/toolpage.h"
#include "drawing/import/dxfimport.h"
#include "machinetest.h"
#include "run/page/runcontroller.h"
#include "testsupport.h"
#include "ui/qtservices.h"

using namespace vornelle;

namespace {
const char* kConfig =
    "\"200\",\"200\",\"400\",\"0,01\",\"20\",\"90\",\"2\",\"2\",\"1\",\"1\",\"2\",\"4\",\"8\",\"16\","
    "\"32\",\"64\","
    "\"128\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",0,0,1\r\n";

struct Pointer : BusyPointer {
    void setBusy(bool) override {}
};

struct Fixture {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::RecordingNavigator nav;
    Pointer pointer;
    RunState run;
    DrawingShared drawing;
    PortSelector ports{false};
    Machine machine{ports, postToScreen(qApp)};
    test::RecordingPacer pacer;
    RunController runner{run, nav, dialogs, pacer, pointer, machine};
    std::unique_ptr<ToolPage> page;
    Fixture() {
        std::filesystem::create_directories(dir.file("data/work"));
        test::spit(dir.file("data/vrnl1.cfg"), kConfig);
        page = std::make_unique<ToolPage>(
            dialogs, nav, pointer, [this] { return Outcome<std::string>(dir.file("data/")); },
            [this] { return Outcome<std::string>(dir.file("data/work/")); }, run, drawing,
            [this](ToolPage* p, bool invZ) {
                runner.run(p, invZ ? RunVariant::Command12 : RunVariant::Command11);
            });
        machine.onBusyChanged([this](bool b) {
            if (page) page->setMotionBusy(b);
        });
        page->formLoad();
    }
    ~Fixture() {
        test::waitIdle(machine);
        page.reset();
    }
    QLineEdit* text(const char* n) { return page->findChild<QLineEdit*>(n); }
    // The square and circle sample, imported, saved and made into piece.def.
    void generateSample() {
        Drawing d;
        ASSERT_TRUE(importDxf(std::string(SAMPLES_DIR) + "/dxf/gh-skymakerolof-dxf__squareandcircle.dxf",
                              dir.file("data/work/"), d)
                        .ok);
        ASSERT_TRUE(writeFra(d, dir.file("d.fra")));
        text("text1")->setText(QString::fromStdString(dir.file("d.fra")));
        text("Text9")->setText(QString::fromStdString(dir.file("piece")));
        page->findChild<QPlainTextEdit*>("Text7")->setPlainText("note");
        page->findChild<QPushButton*>("Command10")->click();
        ASSERT_EQ(dialogs.calls.back().text, "Fichier découpe créé avec succés");
        dialogs.calls.clear();
    }
    double stepsPerMm(const char* field) { return *decimalValue(text(field)->text().toStdString()); }
};

// Runs the screen's events until `done` holds; false after 60 s.
template <class F>
bool until(F done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}
}  // namespace

TEST(CutFigures, CreatedAndLoadedCutFilesShowTheirFiguresAndAnOpenOneItsProblemInRed) {
    Fixture f;
    f.generateSample();
    CutFigures* figures = f.page->figures();
    ASSERT_TRUE(until([&] { return !figures->decoding(); }));
    QStringList lines = figures->lines();
    ASSERT_GE(lines.size(), 6) << lines.join("\n").toStdString();
    EXPECT_TRUE(lines[0].startsWith("Durée prévue : ")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "Fin de la découpe : 0,000 ; 0,000 ; 0,000 mm");
    // The sample is 10 mm square, 3 mm deep at scale 1 (the page's pass depth).
    EXPECT_TRUE(lines[2].startsWith("Étendue : X 0,000 à 10,000 ; Y 0,000 à 10,000"))
        << lines[2].toStdString();
    EXPECT_TRUE(figures->findChildren<QLabel*>("probleme").isEmpty());
    EXPECT_TRUE(f.page->findChild<PreviewPicture*>("Picture1")->hasOverlay());
    // The duration follows a feed typed afterwards.
    QString before = lines[0];
    f.text("Text10")->setText("5");
    EXPECT_NE(figures->lines()[0], before) << before.toStdString();
    EXPECT_TRUE(figures->lines()[0].contains("petite vitesse 5"));

    // A cut file that does not come back to its start, loaded with its details.
    std::string clk = f.text("Text14")->text().toStdString();
    test::spit(f.dir.file("open.def"), clk + "\r\n" + clk + "\r\n" + clk + "\r\n");
    std::filesystem::copy(f.dir.file("piece.det"), f.dir.file("open.det"));
    f.text("Text9")->setText(QString::fromStdString(f.dir.file("open.def")));
    f.page->findChild<QPushButton*>("Command3")->click();
    ASSERT_TRUE(until([&] { return !figures->decoding(); }));
    EXPECT_TRUE(f.dialogs.calls.empty());
    auto problems = figures->findChildren<QLabel*>("probleme");
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0]->text().contains("ne finit pas à son point de départ"));
    EXPECT_TRUE(problems[0]->styleSheet().contains("color: #c00000"));
    double x = 3 / f.stepsPerMm("Text6");
    EXPECT_EQ(figures->lines()[1], QString("Fin de la découpe : %1 ; 0,000 ; 0,000 mm")
                                       .arg(QString::number(x, 'f', 3).replace('.', ',')));
}

TEST(CutFigures, ThePanelShowsTheMachinesPositionAndATimeLeftThatFallsAndFollowsTheFeed) {
    Fixture f;
    f.generateSample();
    f.ports.simulated().setRecording(false);
    // Held twice: after 2000 writes, then after 8000.
    test::Gate first, second;
    f.machine.setStepHook([&] {
        long n = f.ports.simulated().writeCount();
        if (n > 2000 && !first.reached()) first.arrive();
        if (n > 8000 && !second.reached()) second.arrive();
    });
    f.page->findChild<QPushButton*>("Command12")->click();
    ASSERT_TRUE(first.waitReached());
    RunLive* live = f.runner.panel()->live();
    ASSERT_TRUE(until([&] { return !live->decoding(); }));
    ASSERT_NE(live->result(), nullptr);
    f.runner.showProgress();
    const char* fields[3] = {"Text6", "Text3", "Text5"};
    for (int a = 0; a < 3; ++a)
        EXPECT_DOUBLE_EQ(live->position()[a], f.ports.simulated().position(a) / f.stepsPerMm(fields[a])) << a;
    EXPECT_NE(f.runner.panel()->findChild<QLabel*>("position")->text().indexOf("Position : X "), -1);
    ASSERT_TRUE(live->remaining().has_value());
    double early = *live->remaining();
    EXPECT_GT(early, 0);
    first.release();
    ASSERT_TRUE(second.waitReached());
    f.runner.showProgress();
    double later = *live->remaining();
    EXPECT_LT(later, early);
    for (int a = 0; a < 3; ++a)
        EXPECT_DOUBLE_EQ(live->position()[a], f.ports.simulated().position(a) / f.stepsPerMm(fields[a])) << a;
    EXPECT_TRUE(f.runner.panel()->findChild<QLabel*>("restant")->text().startsWith("Temps restant : "));
    // The operator slows the run right down: the time left grows at once.
    f.runner.panel()->scrollBar()->setValue(100);
    f.runner.showProgress();
    EXPECT_GT(*live->remaining(), later);
    second.release();
    ASSERT_TRUE(test::waitIdle(f.machine));
    EXPECT_EQ(f.dialogs.calls.back().text, "découpe terminée !");
}
