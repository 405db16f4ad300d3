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

TEST(ToolPageRamps, TheSettingsFileGivesThePacingFileAndNoSettingsNone) {
    for (bool ramps : {false, true}) {
        test::ToolPageFixture f;
        test::spit(f.dir.file("data/vrnl1.cfg"), test::toolConfig("100", "100"));
        if (ramps) test::spit(f.dir.file("data/vrnlrampes.cfg"), "\"500\",\"500\",\"200\",\"5\",\"0,05\"\r\n");
        test::spit(f.dir.file("d.fra"), "0,0,0\r\n\"10\",\"0\",\"0\"\r\n\"10\",\"0\",\"1\"\r\n\"20\",\"5\",\"1\"\r\n0,0,0\r\n");
        f.page->formLoad();
        f.page->findChild<QLineEdit*>("text1")->setText(QString::fromStdString(f.dir.file("d.fra")));
        f.page->findChild<QLineEdit*>("Text9")->setText(QString::fromStdString(f.dir.file("piece")));
        f.page->findChild<QPlainTextEdit*>("Text7")->setPlainText("note");
        f.page->findChild<QPushButton*>("Command10")->click();
        ASSERT_EQ(f.dialogs.texts(), std::vector<std::string>{"Fichier découpe créé avec succés"}) << ramps;
        EXPECT_EQ(std::filesystem::exists(f.dir.file("piece.rythme")), ramps);
        if (!ramps) continue;
        auto p = readPacing(f.dir.file("piece.rythme"));
        ASSERT_TRUE(p) << p.error();
        EXPECT_EQ(pacingMismatch(*p, f.dir.file("piece.def")), "");
        EXPECT_GT(p->runs.size(), 1u);
    }
}
