// The tool page's generation with the ramps of the configuration's settings file: NOM.rythme
// beside the cut file, and none without settings.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "cutfile/pacing/pacingfile.h"
#include "cutfile/page/toolpage.h"
#include "toolpagefixture.h"

using namespace vornelle;

namespace {
// A G-code job with a dwell (idle ticks) and a pause point: its own pacing file is kept and
// multiplied into.
const char* kProgram = "G21 G90\nG0 X5 Y0\nG1 Z-1 F100\nG4 P0.5\nG1 X10 Y5\nM0\nG1 X0 Y0\nG0 Z0\nM2\n";
}  // namespace

TEST(ToolPageRamps, TheSettingsFileGivesThePacingFileAndNoSettingsNone) {
    for (bool ramps : {false, true})
        for (const char* source : {"d.fra", "p.nc"}) {
            test::ToolPageFixture f;
            test::spit(f.dir.file("data/vrnl1.cfg"), test::toolConfig("20", "10"));
            if (ramps)
                test::spit(f.dir.file("data/vrnlrampes.cfg"), "\"500\",\"500\",\"200\",\"5\",\"0,05\"\r\n");
            test::spit(
                f.dir.file("d.fra"),
                "0,0,0\r\n\"10\",\"0\",\"0\"\r\n\"10\",\"0\",\"1\"\r\n\"20\",\"5\",\"1\"\r\n0,0,0\r\n");
            test::spit(f.dir.file("p.nc"), kProgram);
            const bool gcode = std::string(source) == "p.nc";
            f.page->formLoad();
            f.page->findChild<QLineEdit*>("text1")->setText(QString::fromStdString(f.dir.file(source)));
            f.page->findChild<QLineEdit*>("Text9")->setText(QString::fromStdString(f.dir.file("piece")));
            f.page->findChild<QPlainTextEdit*>("Text7")->setPlainText("note");
            f.page->findChild<QPushButton*>("Command10")->click();
            ASSERT_EQ(f.dialogs.texts().size(), 1u);
            ASSERT_EQ(f.dialogs.texts()[0].rfind("Fichier découpe créé avec succés", 0), 0u)
                << f.dialogs.texts()[0];
            // A G-code job with a pause point always has its pacing file.
            EXPECT_EQ(std::filesystem::exists(f.dir.file("piece.rythme")), ramps || gcode) << source;
            if (!ramps) continue;
            auto p = readPacing(f.dir.file("piece.rythme"));
            ASSERT_TRUE(p) << p.error();
            EXPECT_EQ(pacingMismatch(*p, f.dir.file("piece.def")), "");
            EXPECT_GT(p->runs.size(), 1u);
            int pauses = 0;
            for (const PacingRun& r : p->runs) pauses += r.pauseAfter;
            EXPECT_EQ(pauses, gcode ? 1 : 0) << source;
        }
}
