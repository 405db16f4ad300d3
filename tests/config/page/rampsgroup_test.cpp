// The ramps' group of the configuration page: read from and saved to vrnlrampes.cfg beside
// vrnl1.cfg, refused before anything is written, no file when all five are empty (the boxes'
// names are checked with the page's other fields in the accessibility test).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "config/page/configurationpage.h"
#include "config/rampsettings.h"
#include "testsupport.h"

using namespace vornelle;

namespace {
const char* kBoxes[5] = {"rampeAccelX", "rampeAccelY", "rampeAccelZ", "rampeDemarrage", "rampeAngle"};

struct RampsFixture {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    test::RecordingNavigator nav;
    ConfigurationPage page{dialogs, nav, [this]() -> Outcome<std::string> { return dir.path(); }};
    QLineEdit* box(int i) { return page.findChild<QLineEdit*>(kBoxes[i]); }
    void type(const RampTexts& t) {
        for (int i = 0; i < 5; ++i) box(i)->setText(QString::fromStdString(t[i]));
    }
    void save() {
        for (int n = 1; n <= 3; ++n) page.findChild<QLineEdit*>(QString("Text%1").arg(n))->setText("200");
        page.findChild<QPushButton*>("Command1")->click();
    }
};
}  // namespace

TEST(RampsGroup, LoadsSavesAndRefusesBeforeWriting) {
    RampsFixture f;
    test::spit(f.dir.file(kRampFile), "\"500\",\"500\",\"200\",\"5\",\"0,05\"\r\n");
    f.page.formLoad();
    EXPECT_EQ(f.box(4)->text(), "0,05");
    EXPECT_EQ(f.box(2)->text(), "200");

    struct Case {
        RampTexts typed;
        bool saved;           // vrnl1.cfg written, page closed
        const char* file;     // vrnlrampes.cfg afterwards, nullptr: none
        const char* message;  // the refusal, "" when none
    };
    const Case cases[] = {
        {{"400", "400.5", "100", "4", "0"}, true, "\"400\",\"400.5\",\"100\",\"4\",\"0\"\r\n", ""},
        {{"400", "", "100", "4", "0"},
         false,
         "\"400\",\"400.5\",\"100\",\"4\",\"0\"\r\n",
         "saisir les cinq valeurs"},
        {{"", "", "", "", ""}, true, nullptr, ""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(f.dir.file("vrnl1.cfg"));
        f.dialogs.calls.clear();
        f.type(c.typed);
        f.save();
        EXPECT_EQ(std::filesystem::exists(f.dir.file("vrnl1.cfg")), c.saved) << c.message;
        if (c.file)
            EXPECT_EQ(test::slurp(f.dir.file(kRampFile)), c.file);
        else
            EXPECT_FALSE(std::filesystem::exists(f.dir.file(kRampFile)));
        if (*c.message) {
            ASSERT_EQ(f.dialogs.calls.size(), 1u);
            EXPECT_NE(f.dialogs.calls[0].text.find(c.message), std::string::npos) << f.dialogs.calls[0].text;
        } else {
            EXPECT_TRUE(f.dialogs.calls.empty());
        }
    }
}
