// The GBK codec and the field windows of a line.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>

#include "gradefile/FileMessages.h"
#include "gradefile/Record.h"
#include "text/Field.h"
#include "text/Gbk.h"

namespace {

struct CodecCase {
  const char* utf8;
  std::string gbk;
};
void PrintTo(const CodecCase& c, std::ostream* os) { *os << '"' << c.utf8 << '"'; }

class GbkCodecTable : public ::testing::TestWithParam<CodecCase> {};

TEST_P(GbkCodecTable, ConvertsBothWays) {
  const CodecCase& c = GetParam();
  auto gbk = Utf8ToGbk(c.utf8);
  ASSERT_TRUE(gbk.has_value());
  EXPECT_EQ(*gbk, c.gbk);
  EXPECT_EQ(Gbk(c.utf8), c.gbk);
  EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbkCodecTable,
    ::testing::Values(CodecCase{"", ""}, CodecCase{"cj 85", "cj 85"}, CodecCase{"优", "\xD3\xC5"},
                      CodecCase{"学分", "\xD1\xA7\xB7\xD6"}, CodecCase{"　", "\xA1\xA1"},
                      CodecCase{"８５", "\xA3\xB8\xA3\xB5"}, CodecCase{"ａ", "\xA3\xE1"},
                      CodecCase{"版", "\xB0\xE6"}, CodecCase{"！", "\xA3\xA1"},
                      CodecCase{"做弊", "\xD7\xF6\xB1\xD7"}));

TEST(GbkCodec, TextWithoutGbkFormIsRefused) {
  for (const char* utf8 : {"😀", "a😀b", "\xED\xA0\x80" /* a lone surrogate */, "\xFF", "\xE4\xBD" /* cut */}) {
    EXPECT_FALSE(Utf8ToGbk(utf8).has_value()) << utf8;
    EXPECT_THROW(Gbk(utf8), std::logic_error);
  }
}

TEST(GbkCodec, UndecodableBytesShowAsReplacementAndNothingElseChanges) {
  // 学 then the first byte of 分: the cut character shows as one U+FFFD.
  EXPECT_EQ(GbkToUtf8("\xD1\xA7\xB7"), "学\xEF\xBF\xBD");
  // A lead byte followed by a byte that cannot trail it: only the lead is lost.
  EXPECT_EQ(GbkToUtf8("a\x81 b"), "a\xEF\xBF\xBD b");
  EXPECT_EQ(GbkToUtf8("\x81\x7F"), "\xEF\xBF\xBD\x7F");
  std::string nul("a\0b", 3);
  EXPECT_EQ(GbkToUtf8(nul), nul);
}

TEST(GbkCodec, LongTextRoundTrips) {
  std::string utf8;
  for (int i = 0; i < 5000; ++i) utf8 += "学生考试(考查)成绩表 ";
  EXPECT_EQ(GbkToUtf8(Gbk(utf8)), utf8);
}

struct FieldCase {
  std::string_view line;
  std::size_t pos, width;
  std::string_view field;
};
void PrintTo(const FieldCase& c, std::ostream* os) { *os << '"' << DisplayPath(c.line) << "\" from " << c.pos << ", " << c.width << " bytes"; }

class FieldTable : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldTable, NeverFails) {
  EXPECT_EQ(Field(GetParam().line, GetParam().pos, GetParam().width), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(Cases, FieldTable,
                         ::testing::Values(FieldCase{"12345cjABC", 1, 5, "12345"}, FieldCase{"12345cjABC", 6, 2, "cj"},
                                           FieldCase{"12345cjABC", 8, 10, "ABC"}, FieldCase{"12345cjABC", 11, 3, ""},
                                           FieldCase{"12345cjABC", 10, 1, "C"}, FieldCase{"", 1, 5, ""},
                                           FieldCase{"abc", 0, 2, ""},
                                           // a window that cuts a double-byte character keeps the byte
                                           FieldCase{"k\xD3\xC5", 2, 1, "\xD3"}));

TEST(Field, LineClasses) {
  EXPECT_TRUE(IsGradeRecord("01213cj2023"));
  EXPECT_TRUE(IsGradeRecord("01213cj"));
  EXPECT_FALSE(IsGradeRecord("01213c"));
  EXPECT_FALSE(IsGradeRecord(""));
  EXPECT_FALSE(IsGradeRecord("01213CJ"));
  EXPECT_FALSE(IsGradeRecord("0121cj3"));
  EXPECT_EQ(KeyOf("abc"), "abc");
  EXPECT_EQ(FieldFrom("01213tb计科", 8), "计科");
  EXPECT_EQ(FieldFrom("01213tb", 8), "");
}

TEST(Field, PaddedCutsOrFillsToTheWidth) {
  const std::tuple<std::string_view, std::size_t, std::string> cases[] = {
      {"85", 6, "85    "}, {"1234567", 6, "123456"}, {"", 3, "   "}, {"abc", 0, ""}, {"\xD3\xC5x", 1, "\xD3"}};
  for (const auto& [text, width, padded] : cases) EXPECT_EQ(Padded(text, width), padded) << text;
}

}  // namespace
