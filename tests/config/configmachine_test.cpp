// vrnl1.cfg and vrnlman.cfg: layout, round trips, damaged files, port address.
#include "config/configmachine.h"

#include <gtest/gtest.h>

#include "testsupport.h"

using namespace vornelle;

namespace {
configmachine sample() {
    configmachine c;
    auto t = c.texts();
    const char* values[] = {"200", "200", "400", "0,01", "20", "10", "2", "1", "5", "1", "2", "4", "8",
                            "16",  "32",  "64",  "128",  "2",  "3",  "4", "5", "6", "7", "8", "9"};
    for (int i = 0; i < 25; ++i) *t[i] = values[i];
    c.invZ = 1;
    return c;
}
}  // namespace

TEST(ConfigFile, OneLineOfQuotedTextsAndBareFlagsThatReadsBack) {
    test::TempDir dir;
    configmachine c = sample();
    ASSERT_TRUE(sauveconfig(dir.path(), c));
    ASSERT_TRUE(sauveconfig(dir.path(), c));  // saving twice still leaves one line
    EXPECT_EQ(
        test::slurp(dir.file("vrnl1.cfg")),
        "\"200\",\"200\",\"400\",\"0,01\",\"20\",\"10\",\"2\",\"1\",\"5\",\"1\",\"2\",\"4\",\"8\",\"16\","
        "\"32\",\"64\",\"128\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",0,0,1\r\n");
    EXPECT_TRUE(existeconfig(dir.path()));
    ConfigRead r = lisconfig(dir.path());
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.config, c);
    EXPECT_EQ(r.itemsRead, 28);

    // Texts with commas, blanks and accents survive.
    c.degagement = "12,75";
    c.descenteZ = " 2,5 ";
    c.vitdecoupe = "défaut";
    ASSERT_TRUE(sauveconfig(dir.path(), c));
    EXPECT_NE(test::slurp(dir.file("vrnl1.cfg"))
                  .find("\"d\xe9"
                        "faut\""),
              std::string::npos);
    EXPECT_EQ(lisconfig(dir.path()).config, c);
}

TEST(ConfigFile, DamagedFilesAreReportedNotCrashed) {
    test::TempDir dir;
    EXPECT_FALSE(existeconfig(dir.path()));
    ConfigRead missing = lisconfig(dir.path());
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.itemsRead, 0);

    test::spit(dir.file("vrnl1.cfg"), "\"200\",\"200\",\"400\"\r\n");
    ConfigRead shortFile = lisconfig(dir.path());
    EXPECT_FALSE(shortFile.ok());
    EXPECT_EQ(shortFile.itemsRead, 3);
    EXPECT_EQ(shortFile.config.pasmmZ, "400");
    EXPECT_NE(shortFile.error.find("incomplet"), std::string::npos);

    std::string line = configLine(sample());
    line.replace(line.rfind(",1\r\n"), 4, ",x\r\n");
    test::spit(dir.file("vrnl1.cfg"), line);
    ConfigRead badFlag = lisconfig(dir.path());
    EXPECT_FALSE(badFlag.ok());
    EXPECT_NE(badFlag.error.find("illisible"), std::string::npos);

    // A flag that is a number other than 1 counts as 0.
    line.replace(line.rfind(",x\r\n"), 4, ",2\r\n");
    test::spit(dir.file("vrnl1.cfg"), line);
    ConfigRead two = lisconfig(dir.path());
    EXPECT_TRUE(two.ok());
    EXPECT_EQ(two.config.invZ, 0);
}

TEST(ConfigFile, PortAddressFromNumport) {
    EXPECT_EQ(portAddress("2"), 632);
    EXPECT_EQ(portAddress("2,0"), 632);
    EXPECT_EQ(portAddress("1"), 888);
    EXPECT_EQ(portAddress("0"), 888);
    EXPECT_EQ(portAddress("3"), 888);
    EXPECT_FALSE(portAddress(""));
    EXPECT_FALSE(portAddress("LPT1"));
    configmachine c = sample();
    EXPECT_EQ(configIncomplete(c), "");
    c.numport = "";
    EXPECT_NE(configIncomplete(c).find("port"), std::string::npos);
}

TEST(ArrowFile, BothFormsReadAndSavingReplaces) {
    test::TempDir dir;
    EXPECT_FALSE(lisfleches(dir.path()));
    ASSERT_TRUE(creefleches(dir.path()));
    EXPECT_EQ(test::slurp(dir.file("vrnlman.cfg")), "\"0\",\"0\",\"0\"\r\n");
    EXPECT_EQ(*lisfleches(dir.path()), ArrowFlags{});
    ASSERT_TRUE(sauvefleches(dir.path(), {true, false, true}));
    EXPECT_EQ(test::slurp(dir.file("vrnlman.cfg")), "1,0,1\r\n");
    EXPECT_EQ(*lisfleches(dir.path()), (ArrowFlags{true, false, true}));
    // creefleches leaves an existing file alone.
    ASSERT_TRUE(creefleches(dir.path()));
    EXPECT_EQ(test::slurp(dir.file("vrnlman.cfg")), "1,0,1\r\n");
    test::spit(dir.file("vrnlman.cfg"), "0,0,0\n");
    EXPECT_EQ(*lisfleches(dir.path()), ArrowFlags{});
    test::spit(dir.file("vrnlman.cfg"), "1,0");
    EXPECT_FALSE(lisfleches(dir.path()));
}
