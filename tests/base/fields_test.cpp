// The comma-delimited reader on awkward input, and the writer's layout.
#include "base/fields.h"

#include <gtest/gtest.h>

#include "testsupport.h"

using namespace vornelle;

namespace {
std::vector<std::string> all(std::string_view text) {
    FieldReader r(text);
    std::vector<std::string> out;
    std::string f;
    while (!r.atEnd() && r.next(f)) out.push_back(f);
    return out;
}
}  // namespace

TEST(FieldReader, QuotedUnquotedBlanksAndLineEnds) {
    using V = std::vector<std::string>;
    EXPECT_EQ(all("0,0,0\r\n\"1,5\",\"-2\",\"1\"\r\n"), (V{"0", "0", "0", "1,5", "-2", "1"}));
    // Line ends separate fields like commas; LF alone is accepted.
    EXPECT_EQ(all("\"a\"\n\"b\",c\nd"), (V{"a", "b", "c", "d"}));
    // Leading blanks skipped, trailing blanks of unquoted fields dropped, blanks in quotes kept.
    EXPECT_EQ(all("  12 ,\"  x  \" , y"), (V{"12", "  x  ", "y"}));
    // A quoted text may hold commas and line breaks; junk after the closing quote is skipped.
    EXPECT_EQ(all("\"note,\r\nsur deux lignes\"junk,1\r\n"), (V{"note,\r\nsur deux lignes", "1"}));
    // Empty fields between commas.
    EXPECT_EQ(all("a,,\"\",b"), (V{"a", "", "", "b"}));
    // Windows-1252 bytes of the file come out as UTF-8 texts.
    EXPECT_EQ(all("\"d\xe9"
                  "coupe\",\x80"),
              (V{"découpe", "€"}));
}

TEST(FieldReader, ReadingPastTheEndFails) {
    FieldReader r("\"1\",\"2\"\r\n");
    std::string f;
    EXPECT_TRUE(r.next(f));
    EXPECT_TRUE(r.next(f));
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(r.next(f));
    EXPECT_FALSE(r.error().empty());

    FieldReader open("\"unterminated");
    EXPECT_FALSE(open.next(f));

    FieldReader empty("");
    EXPECT_TRUE(empty.atEnd());
    EXPECT_FALSE(empty.next(f));
}

TEST(FieldReader, FileReadingMatchesMemoryAcrossBufferBoundaries) {
    test::TempDir dir;
    std::string text;
    for (int i = 0; i < 300000; ++i)
        // Appended piece by piece: GCC 12 at -O3 sees a false overlap (-Wrestrict) in "\"" + s.
        text.append("\"")
            .append(std::to_string(i))
            .append(",5\",")
            .append(std::to_string(i % 7))
            .append("\r\n");
    test::spit(dir.file("big"), text);
    auto r = FieldReader::open(dir.file("big"));
    ASSERT_TRUE(r) << r.error();
    std::string f;
    long count = 0;
    while (!r->atEnd()) {
        ASSERT_TRUE(r->next(f));
        if (count % 2 == 0) {
            ASSERT_EQ(f, std::to_string(count / 2) + ",5");
        } else {
            ASSERT_EQ(f, std::to_string((count / 2) % 7));
        }
        ++count;
    }
    EXPECT_EQ(count, 600000);
    EXPECT_FALSE(FieldReader::open(dir.file("missing")));
}

TEST(FieldWriter, WritesCrLfQuotedTextsAndBareNumbersByAppending) {
    test::TempDir dir;
    std::string path = dir.file("out.txt");
    for (int round = 0; round < 2; ++round) {
        auto w = FieldWriter::append(path);
        ASSERT_TRUE(w);
        w->text("0,01");
        w->text("é€");
        w->number(10.0 / 3);
        w->integer(-37);
        w->number(1.5e-7);
        w->endRecord();
        w->text("");
        w->endRecord();
        ASSERT_TRUE(w->close());
    }
    std::string one = "\"0,01\",\"\xe9\x80\",3.33333333333333,-37,1.5E-07\r\n\"\"\r\n";
    EXPECT_EQ(test::slurp(path), one + one);
}
