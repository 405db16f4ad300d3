// G-code on the tool page: the file list of drawings shows the programs whatever the case of
// their extension, and "Créer fichier fraisage (DEF)" makes the cut file of a picked program.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "base/files.h"
#include "cutfile/page/toolpage.h"
#include "toolpagefixture.h"

using namespace vornelle;

TEST(ToolPageGcode, ProgramsAreListedBesideDrawingsAndBecomeCutFiles) {
    test::ToolPageFixture f(test::toolConfig("20", "50"));
    for (const char* name : {"a.fra", "b.TAP", "c.txt", "d.gcode", "e.def"}) test::spit(f.dir.file(name), "");
    test::spit(f.dir.file("job.NC"), "G21 G90\nG0 Z2\nG0 X5\nG1 Z-1 F300\nG2 X-5 Y0 I-5 J0\nG0 Z2\nM30\n");
    f.page->formLoad();
    f.page->findChild<QRadioButton*>("Option1")->click();
    f.page->openFolder(f.dir.path());
    auto* files = f.page->findChild<QListWidget*>("File1");
    QStringList shown;
    for (int i = 0; i < files->count(); ++i) shown << files->item(i)->text();
    EXPECT_EQ(shown, QStringList({"a.fra", "b.TAP", "d.gcode", "job.NC"}));
    f.page->findChild<QRadioButton*>("Option2")->click();
    EXPECT_EQ(files->count(), 1);  // e.def alone

    f.page->findChild<QRadioButton*>("Option1")->click();
    f.page->pickFile("job.NC");
    // The program's XY path in the preview at facteur 0,5: X from -5 to 5 mm.
    double lo = 1e9, hi = -1e9;
    for (const PreviewLine& l : f.page->findChild<PreviewPicture*>("Picture1")->lines())
        lo = std::min({lo, l.x1, l.x2}), hi = std::max({hi, l.x1, l.x2});
    EXPECT_NEAR(lo, 50 * 0.5 * -5 + 5, 1e-9);
    EXPECT_NEAR(hi, 50 * 0.5 * 5 + 5, 1e-9);
    f.makeCutFile(f.page->field("text1"), f.dir.file("piece"));
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_EQ(f.dialogs.calls[0].text.rfind("Fichier découpe créé avec succés", 0), 0u)
        << f.dialogs.calls[0].text;
    EXPECT_NE(f.dialogs.calls[0].text.find("F300 mm/min"), std::string::npos) << f.dialogs.calls[0].text;
    EXPECT_TRUE(fileExists(f.dir.file("piece.def")));
    EXPECT_EQ(f.page->field("Text9"), f.dir.file("piece.def"));
    EXPECT_EQ(f.pointer.depth, 0);
}
