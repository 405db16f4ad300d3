// The decoded cut file on the tool page and on the cut-in-progress panel: the figures of a
// generated sample, a problem in red, the panel's position, path and time left while the
// simulated machine plays.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <filesystem>

#include "base/numbers.h"
#include "cutfilerig.h"
#include "machinetest.h"
#include "toolpagefixture.h"

using namespace vornelle;

namespace {
// Feeds 20 and 90, the page loaded.
struct Fixture : test::ToolPageFixture {
    Fixture() : ToolPageFixture(test::toolConfig("20", "90")) { page->formLoad(); }
    QLineEdit* text(const char* n) { return page->findChild<QLineEdit*>(n); }
    // The square and circle sample, imported, saved and made into piece.def.
    void generateSample() {
        ASSERT_TRUE(test::saveSquareFra(dir.file("data/work/"), dir.file("d.fra")));
        makeCutFile(dir.file("d.fra"), dir.file("piece"));
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

TEST(CutFigures, WithAPacingFileThePanelsTimeLeftLengthensEveryRecordByItsFactor) {
    Fixture f;
    f.generateSample();
    f.ports.simulated().setRecording(false);
    Pacing p;
    p.cut = *cutStampOf(f.dir.file("piece.def"));
    p.runs = {{p.cut.records, 3, PacingFeed::In}};  // every record in the material, three times slower
    ASSERT_TRUE(writePacing(f.dir.file("piece.rythme"), p).ok());
    test::Gate held;
    f.machine.setStepHook([&] {
        if (f.ports.simulated().writeCount() > 2000 && !held.reached()) held.arrive();
    });
    f.page->findChild<QPushButton*>("Command12")->click();
    ASSERT_TRUE(held.waitReached());
    RunLive* live = f.runner.panel()->live();
    ASSERT_TRUE(until([&] { return !live->decoding(); }));
    f.runner.showProgress();
    const uint64_t left = p.cut.records - (f.run.playedIn + f.run.playedOut);
    const double record = 2.0 * static_cast<double>(lengthened(*pauseCount(80, 0.01), 3)) * 10e-9;
    ASSERT_TRUE(live->remaining().has_value());
    EXPECT_NEAR(*live->remaining(), static_cast<double>(left) * record,
                1e-9 * static_cast<double>(left) * record);
    held.release();
    ASSERT_TRUE(test::waitIdle(f.machine));
}
