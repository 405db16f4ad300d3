// File replacement, data folders and the Windows-1252 conversion.
#include "base/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "base/cp1252.h"
#include "base/folders.h"
#include "testsupport.h"

using namespace vornelle;

TEST(Files, ReplaceKeepsOldFileWhenWritingFails) {
    test::TempDir dir;
    std::string p = dir.file("a.cfg");
    ASSERT_TRUE(replaceFile(p, "one\r\n"));
    ASSERT_TRUE(replaceFile(p, "two\r\n"));
    EXPECT_EQ(test::slurp(p), "two\r\n");
    EXPECT_FALSE(fileExists(p + ".nouveau"));
    if (::geteuid() != 0) {
        ::chmod(dir.path().c_str(), 0500);
        Status s = replaceFile(p, "three\r\n");
        EXPECT_FALSE(s);
        EXPECT_NE(s.message.find(p), std::string::npos);
        ::chmod(dir.path().c_str(), 0700);
        EXPECT_EQ(test::slurp(p), "two\r\n");
    }
    // A folder that does not exist is reported.
    EXPECT_FALSE(replaceFile(dir.file("no/such/a.cfg"), "x"));
    EXPECT_TRUE(removeFile(p));
    EXPECT_TRUE(removeFile(p));  // already gone
    EXPECT_FALSE(fileExists(p));
}

TEST(Folders, DataFolderFollowsVornelleHomeAndIsCreated) {
    test::TempDir dir;
    std::string home = dir.file("deep/data");
    ::setenv("VORNELLE_HOME", home.c_str(), 1);
    auto f = cheminTemp();
    ASSERT_TRUE(f) << f.error();
    EXPECT_EQ(*f, home + "/");
    struct stat st;
    ASSERT_EQ(::stat(home.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    auto w = dossierTravail();
    ASSERT_TRUE(w);
    EXPECT_EQ(*w, home + "/work/");
    EXPECT_TRUE(std::filesystem::is_directory(*w));

    // A data path that is a file cannot be used and says so.
    test::spit(dir.file("plain"), "x");
    ::setenv("VORNELLE_HOME", dir.file("plain").c_str(), 1);
    auto bad = cheminTemp();
    EXPECT_FALSE(bad);
    EXPECT_NE(bad.error().find("inutilisable"), std::string::npos);

    ::unsetenv("VORNELLE_HOME");
    ::setenv("XDG_DATA_HOME", dir.file("xdg").c_str(), 1);
    auto x = cheminTemp();
    ASSERT_TRUE(x);
    EXPECT_EQ(*x, dir.file("xdg") + "/vornelle/");
    ::unsetenv("XDG_DATA_HOME");
}

TEST(Cp1252, RoundTripsTheFrenchTexts) {
    std::string b =
        "d\xe9"
        "coup\xe9"
        "e \x80 \x9c \x92";
    std::u16string u = fromCp1252(b);
    EXPECT_EQ(u, u"découpée € œ ’");
    EXPECT_EQ(toCp1252(u), b);
    EXPECT_EQ(toCp1252(u"漢"), "?");
    EXPECT_EQ(cp1252ToUtf8(b), "découpée € œ ’");
    EXPECT_EQ(utf8ToCp1252("découpée € œ ’"), b);
    EXPECT_EQ(utf8ToCp1252("a\xff漢b"), "a??b");
}
