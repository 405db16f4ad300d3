// Inputs far beyond the usual: a field or file the readers refuse instead of holding it
// whole in memory, and the messages that quote a damaged text without repeating it whole.
#include <gtest/gtest.h>

#include "base/fields.h"
#include "base/files.h"
#include "base/message.h"
#include "testsupport.h"

using namespace vornelle;

TEST(Limits, QuotedTextsAreShortenedOnACharacterBoundary) {
    EXPECT_EQ(quotedText("abc"), "\"abc\"");
    EXPECT_EQ(quotedText(std::string(70, 'x')), "\"" + std::string(70, 'x') + "\"");
    // 100 "é" (two bytes each): 60 whole characters kept, counted in characters.
    std::string accents;
    for (int i = 0; i < 100; ++i) accents += "é";
    EXPECT_EQ(quotedText(accents), "\"" + accents.substr(0, 120) + "…\" (100 caractères)");
    std::string huge(10 << 20, '1');
    std::string shown = quotedText(huge);
    EXPECT_LT(shown.size(), 100u);
    EXPECT_NE(shown.find("(10485760 caractères)"), std::string::npos) << shown;
    // Only the start was kept: the length given is the record's.
    EXPECT_EQ(quotedText(std::string(80, 'a'), 5000000), "\"" + std::string(60, 'a') + "…\" (5000000 octets)");
    EXPECT_EQ(quotedText("12a", 3), "\"12a\"");
}

TEST(Limits, FieldsOverOneMegabyteAreRefusedWithTheirLine) {
    test::TempDir dir;
    const std::string mb(1 << 20, '7');
    // Exactly 1 MB, quoted and bare, still reads.
    test::spit(dir.file("ok.fra"), "\"" + mb + "\"," + mb + "\r\n");
    auto ok = FieldReader::open(dir.file("ok.fra"));
    ASSERT_TRUE(ok);
    std::string f;
    ASSERT_TRUE(ok->next(f));
    EXPECT_EQ(f.size(), mb.size());
    ASSERT_TRUE(ok->next(f));
    EXPECT_EQ(f, mb);
    EXPECT_FALSE(ok->fieldTooLong());

    // A quote never closed in a 5 MB file, after two lines: refused at the first byte over.
    test::spit(dir.file("open.fra"), "0,0,0\r\n1,2,3\r\n\"" + std::string(5 << 20, 'B'));
    auto open = FieldReader::open(dir.file("open.fra"));
    ASSERT_TRUE(open);
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(open->next(f));
    EXPECT_FALSE(open->next(f));
    EXPECT_TRUE(open->fieldTooLong());
    EXPECT_EQ(open->error(), "Champ de plus de 1 Mo ligne 3 : le fichier est endommagé");
    EXPECT_LE(f.size(), mb.size() + 1);

    // The end of a file is not a field too long.
    FieldReader end("1,2");
    ASSERT_TRUE(end.next(f) && end.next(f));
    EXPECT_FALSE(end.next(f));
    EXPECT_FALSE(end.fieldTooLong());
}

TEST(Limits, SmallFilesReadWholeAreCappedAtTheirLimit) {
    test::TempDir dir;
    test::spit(dir.file("small"), std::string(1000, 'a'));
    auto small = readFile(dir.file("small"), 1000);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->size(), 1000u);
    test::spit(dir.file("big"), std::string(200000, 'a'));
    auto big = readFile(dir.file("big"), 1000);
    ASSERT_FALSE(big);
    EXPECT_NE(big.error().find("trop grand"), std::string::npos) << big.error();
    // The default covers every file read this way, with room to spare.
    EXPECT_TRUE(readFile(dir.file("big")));
}
