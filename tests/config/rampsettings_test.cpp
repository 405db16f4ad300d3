// The ramps' settings file: what is saved is read back as typed, all empty means no ramps, and
// incomplete or unusable values are refused in French.
#include "config/rampsettings.h"

#include <gtest/gtest.h>

#include "testsupport.h"

namespace vornelle {
namespace {

TEST(RampSettingsFile, SavedTextsComeBackAsTypedAndNoFileMeansNoRamps) {
    test::TempDir dir;
    auto none = readRampTexts(dir.path());
    ASSERT_TRUE(none);
    auto off = rampSettings(*none);
    ASSERT_TRUE(off);
    EXPECT_FALSE(off->has_value());
    const RampTexts typed = {"500", "500,5", "250.25", "5", "0,05"};
    ASSERT_TRUE(saveRampTexts(dir.path(), typed));
    EXPECT_EQ(test::slurp(dir.file(kRampFile)), "\"500\",\"500,5\",\"250.25\",\"5\",\"0,05\"\r\n");
    auto back = readRampTexts(dir.path());
    ASSERT_TRUE(back) << back.error();
    EXPECT_EQ(*back, typed);
    auto s = rampSettings(*back);
    ASSERT_TRUE(s && s->has_value());
    EXPECT_DOUBLE_EQ((**s).accel[1], 500.5);
    EXPECT_DOUBLE_EQ((**s).accel[2], 250.25);
    EXPECT_DOUBLE_EQ((**s).corner, 0.05);
}

TEST(RampSettingsFile, IncompleteOrUnusableValuesAndDamagedFilesAreRefused) {
    const std::pair<RampTexts, const char*> refused[] = {
        {{"500", "", "250", "5", "0,05"}, "saisir les cinq valeurs"},
        {{"500", "500", "0", "5", "0,05"}, "Accélération Z \"0\" invalide"},
        {{"500", "500", "250", "-1", "0,05"}, "Vitesse de démarrage \"-1\" invalide"},
        {{"500", "abc", "250", "5", "0,05"}, "Accélération Y \"abc\" invalide"},
        {{"500", "500", "250", "5", "-0,1"}, "Déviation en angle \"-0,1\" invalide"},
    };
    for (const auto& [texts, why] : refused) {
        auto s = rampSettings(texts);
        ASSERT_FALSE(s) << why;
        EXPECT_NE(s.error().find(why), std::string::npos) << s.error();
    }
    test::TempDir dir;
    for (const char* damaged :
         {"\"500\",\"500\"\r\n", "500,500,250,5,0\r\n", "\"1\",\"2\",\"3\",\"4\",\"5\"x"}) {
        test::spit(dir.file(kRampFile), damaged);
        auto t = readRampTexts(dir.path());
        ASSERT_FALSE(t) << damaged;
        EXPECT_NE(t.error().find("est abîmé"), std::string::npos);
    }
}

}  // namespace
}  // namespace vornelle
