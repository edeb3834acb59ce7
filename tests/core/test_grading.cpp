// Grade text parser, trimming, number reading, totals and rounding.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

#include "gradefile/FileMessages.h"
#include "grading/GradeParser.h"
#include "grading/Numbers.h"
#include "grading/Weighting.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/ReadNumber.h"

// A failed comparison names the code by its number.
void PrintTo(GradeCode code, std::ostream* os) { *os << static_cast<int>(code); }

namespace {

struct ParseCase {
  const char* text;  // UTF-8, converted to GBK for the parser
  GradeCode code;
  std::int32_t score;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

constexpr GradeCode kNone = GradeCode::NotRecognised, kCheat = GradeCode::Cheating, kNum = GradeCode::Number,
                    kA = GradeCode::LevelA, kB = GradeCode::LevelB, kC = GradeCode::LevelC, kD = GradeCode::LevelD,
                    kF = GradeCode::LevelF;

// The codes keep the numbers the grade system gives them.
TEST(GradeCodes, KeepTheirNumbers) {
  const std::pair<GradeCode, int> codes[] = {{kNone, -2}, {kCheat, -1}, {kNum, 0}, {kA, 1},
                                             {kB, 2},     {kC, 3},      {kD, 4},   {kF, 5}};
  for (const auto& [code, number] : codes) {
    EXPECT_EQ(static_cast<int>(code), number);
    EXPECT_EQ(IsLevel(code), number >= 1) << number;
  }
}

class ParseGradeTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseGradeTable, GivesCodeAndScore) {
  const ParseCase& c = GetParam();
  std::int32_t score = -999;
  EXPECT_EQ(ParseGrade(Gbk(c.text), score), c.code);
  EXPECT_EQ(score, c.score);
}

INSTANTIATE_TEST_SUITE_P(
    NotRecognised, ParseGradeTable,
    ::testing::Values(ParseCase{"", kNone, 0}, ParseCase{"   ", kNone, 0}, ParseCase{"　", kNone, 0},
                      ParseCase{"缺考", kNone, 0}, ParseCase{"缓考", kNone, 0}, ParseCase{"旷考", kNone, 0},
                      ParseCase{"优秀", kNone, 0}, ParseCase{"E", kNone, 0}, ParseCase{"Ｅ", kNone, 0},
                      ParseCase{".5", kNone, 0}, ParseCase{"+-", kNone, 0}, ParseCase{"良好", kNone, 0}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, ParseGradeTable,
    ::testing::Values(ParseCase{"85", kNum, 85}, ParseCase{" 85 ", kNum, 85}, ParseCase{"８５", kNum, 85},
                      ParseCase{"+85", kNum, 85}, ParseCase{"－８５", kNum, 85}, ParseCase{"-7", kNum, 7},
                      ParseCase{"+60", kNum, 60}, ParseCase{"84.5", kNum, 84}, ParseCase{"85.5", kNum, 86},
                      ParseCase{"59.5", kNum, 60}, ParseCase{"0.5", kNum, 0}, ParseCase{"100.5", kNum, 100},
                      ParseCase{"99.5", kNum, 100}, ParseCase{"1234567", kNum, 123456}, ParseCase{"8A", kNum, 8},
                      ParseCase{"85分", kNum, 85}, ParseCase{"8 5", kNum, 85}, ParseCase{"　９０　", kNum, 90},
                      ParseCase{"1E2", kNum, 100}, ParseCase{"8.5分", kNum, 8}, ParseCase{"0", kNum, 0},
                      // Exponent beyond the 32-bit range: the score saturates.
                      ParseCase{"9E99", kNum, std::numeric_limits<std::int32_t>::max()}));

INSTANTIATE_TEST_SUITE_P(
    Levels, ParseGradeTable,
    ::testing::Values(ParseCase{"A", kA, 0}, ParseCase{"a", kA, 0}, ParseCase{"Ａ", kA, 0}, ParseCase{"ａ", kA, 0},
                      ParseCase{"A+", kA, 0}, ParseCase{"A-", kA, 0}, ParseCase{"优", kA, 0},
                      ParseCase{"优 ", kA, 0}, ParseCase{"B", kB, 0}, ParseCase{"ｂ", kB, 0},
                      ParseCase{"良", kB, 0}, ParseCase{"C", kC, 0}, ParseCase{"中", kC, 0},
                      ParseCase{"D", kD, 0}, ParseCase{"及格", kD, 0}, ParseCase{"及", kD, 0},
                      ParseCase{"合格", kD, 0}, ParseCase{"合", kD, 0}, ParseCase{"通过", kD, 0},
                      ParseCase{"通", kD, 0}, ParseCase{"过", kD, 0}, ParseCase{"F", kF, 0},
                      ParseCase{"ｆ", kF, 0}, ParseCase{"Ｆ", kF, 0}, ParseCase{"不及格", kF, 0},
                      ParseCase{"不 及 格", kF, 0}, ParseCase{"不及格者", kF, 0}, ParseCase{"不及", kF, 0},
                      ParseCase{"不合格", kF, 0}, ParseCase{"不合", kF, 0}, ParseCase{"不通过", kF, 0},
                      ParseCase{"不通", kF, 0}, ParseCase{"不过", kF, 0}));

INSTANTIATE_TEST_SUITE_P(Cheating, ParseGradeTable,
                         ::testing::Values(ParseCase{"作弊", kCheat, 0}, ParseCase{"做弊", kCheat, 0},
                                           ParseCase{" 作 弊 ", kCheat, 0}));

TEST(ParseGrade, BufferKeepsSixBytesButScansToTheEnd) {
  std::int32_t score = 0;
  // Seven digits: the seventh is dropped; trailing blanks after it are
  // still skipped without effect.
  EXPECT_EQ(ParseGrade("9876543   ", score), kNum);
  EXPECT_EQ(score, 987654);
  // The pair check runs at every byte: a full-width digit after six bytes
  // is not appended either.
  EXPECT_EQ(ParseGrade(Gbk("123456７"), score), kNum);
  EXPECT_EQ(score, 123456);
}

TEST(ParseGrade, FirstByteOfTheNormalisedTextDecides) {
  std::int32_t score = 0;
  EXPECT_EQ(ParseGrade(Gbk("X５"), score), kNone);
  EXPECT_EQ(ParseGrade(Gbk("５X"), score), kNum);
  EXPECT_EQ(score, 5);
}

TEST(ParseGrade, ToleratesBinaryJunk) {
  std::string junk;
  for (int b = 0; b < 256; ++b) junk.push_back(static_cast<char>(b));
  std::int32_t score = 7;
  EXPECT_EQ(ParseGrade(junk, score), kNone);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(ParseGrade(std::string("\xA3", 1), score), kNone);  // a lone lead byte
}

struct TrimCase {
  const char* in;
  const char* out;
};
void PrintTo(const TrimCase& c, std::ostream* os) { *os << '"' << DisplayPath(c.in) << '"'; }

class TrimBlanksTable : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimBlanksTable, RemovesOnlyAsciiBlanksAtTheEnds) {
  std::string text = Gbk(GetParam().in);
  TrimBlanks(text);
  EXPECT_EQ(text, Gbk(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Cases, TrimBlanksTable,
                         ::testing::Values(TrimCase{"  优  ", "优"}, TrimCase{" 8 5 ", "8 5"},
                                           TrimCase{"　优", "　优"}, TrimCase{"    ", ""}, TrimCase{"", ""},
                                           TrimCase{"\t85 ", "\t85"}, TrimCase{"85", "85"}));

struct ReadCase {
  const char* text;
  long double value;
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << '"' << DisplayPath(c.text) << '"'; }

class ReadNumberTable : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadNumberTable, ReadsTheLeadingNumber) {
  EXPECT_EQ(ReadNumber(Gbk(GetParam().text)), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadNumberTable,
    ::testing::Values(ReadCase{"85", 85}, ReadCase{" 85 ", 85}, ReadCase{"８５", 0}, ReadCase{"优", 0},
                      ReadCase{"A", 0}, ReadCase{"缺考", 0}, ReadCase{"作弊", 0}, ReadCase{"", 0},
                      ReadCase{"85分", 85}, ReadCase{"8 5", 8}, ReadCase{"-12.5", -12.5L},
                      ReadCase{"+7", 7}, ReadCase{"1e2", 100}, ReadCase{"2E", 2}, ReadCase{"3e+", 3},
                      ReadCase{"1.5e1x", 15}, ReadCase{"40.", 40}, ReadCase{"-", 0}, ReadCase{"1e-99999", 0}));

TEST(ReadNumber, HugeExponentIsInfiniteNotGarbage) {
  EXPECT_EQ(ReadNumber("1e99999"), std::numeric_limits<long double>::infinity());
  EXPECT_EQ(ReadNumber("-1e99999"), -std::numeric_limits<long double>::infinity());
}

struct TotalCase {
  const char* share;
  const char* coursework;
  const char* examination;
  const char* total;
};
void PrintTo(const TotalCase& c, std::ostream* os) { *os << '"' << c.share << "\" of \"" << c.coursework << "\" and \"" << c.examination << '"'; }

class ComputeTotalTable : public ::testing::TestWithParam<TotalCase> {};

TEST_P(ComputeTotalTable, WeighsAndRoundsHalfToEven) {
  const TotalCase& c = GetParam();
  EXPECT_EQ(ComputeTotal(Gbk(c.share), Gbk(c.coursework), Gbk(c.examination)), c.total)
      << c.share << " / " << c.coursework << " / " << c.examination;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComputeTotalTable,
    ::testing::Values(TotalCase{"30", "80", "90", " 87"}, TotalCase{"50", "85", "80", " 82"},
                      TotalCase{"50", "86", "81", " 84"}, TotalCase{"", "70", "90", " 90"},
                      TotalCase{"30", "优", "90", " 63"}, TotalCase{"30", "80", "缺考", " 24"},
                      // Extended precision makes these exact halves: plain double gives 59 and 25.
                      TotalCase{"30", "0", "85", " 60"}, TotalCase{"30", "及格", "85", " 60"},
                      TotalCase{"30", "85", "0", " 26"}, TotalCase{"30", "优", "良", "  0"},
                      TotalCase{"100", "77", "12", " 77"}, TotalCase{"0", "0", "0", "  0"},
                      TotalCase{"100", "100", "0", "100"}, TotalCase{"30", "-40", "0", "-12"},
                      TotalCase{"1000", "100", "50", "550"}, TotalCase{" 40 ", " 90 ", " 60", " 72"},
                      TotalCase{"1050", "100", "0", "1050"}, TotalCase{"40", "1e99999", "0", "9223372036854775807"}));

TEST(ComputeTotal, EveryWholeShareAndGradeIsTheExactRoundedSum) {
  // The weighted sum of whole numbers is p*c + (100-p)*e over 100; compare
  // with that exact rational rounded half to even.
  for (int p : {0, 10, 15, 20, 25, 30, 33, 35, 40, 45, 50, 60, 70}) {
    for (int c = 0; c <= 100; c += 1) {
      for (int e = 0; e <= 100; e += 3) {
        std::int64_t num = static_cast<std::int64_t>(p) * c + static_cast<std::int64_t>(100 - p) * e;
        std::int64_t q = num / 100, r = num % 100;
        std::int64_t expected = (r > 50 || (r == 50 && (q & 1))) ? q + 1 : q;
        ASSERT_EQ(ComputeTotal(std::to_string(p), std::to_string(c), std::to_string(e)), FormatInt(expected, 3))
            << p << "/" << c << "/" << e;
      }
    }
  }
}

struct RoundCase {
  long double value;
  std::int64_t rounded;
};
void PrintTo(const RoundCase& c, std::ostream* os) { *os << c.value; }

class RoundHalfEvenTable : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTable, TiesGoToEven) { EXPECT_EQ(RoundHalfEven(GetParam().value), GetParam().rounded); }

INSTANTIATE_TEST_SUITE_P(Cases, RoundHalfEvenTable,
                         ::testing::Values(RoundCase{84.5L, 84}, RoundCase{85.5L, 86}, RoundCase{0.5L, 0},
                                           RoundCase{1.5L, 2}, RoundCase{-0.5L, 0}, RoundCase{-1.5L, -2},
                                           RoundCase{-2.5L, -2}, RoundCase{2.4999L, 2}, RoundCase{2.5001L, 3},
                                           RoundCase{-7.7L, -8}, RoundCase{1e30L, INT64_MAX},
                                           RoundCase{-1e30L, INT64_MIN},
                                           RoundCase{std::numeric_limits<long double>::quiet_NaN(), 0}));

TEST(Round, Is32BitTiesToEven) {
  EXPECT_EQ(Round(84.5), 84);
  EXPECT_EQ(Round(85.5), 86);
  EXPECT_EQ(Round(-3.5), -4);
  EXPECT_EQ(Round(1e12), std::numeric_limits<std::int32_t>::max());
}

struct QuotientCase {
  std::int64_t num, den;
  int decimals, width;
  const char* text;
};
void PrintTo(const QuotientCase& c, std::ostream* os) { *os << c.num << "/" << c.den << " with " << c.decimals << " decimals in " << c.width; }

class FormatQuotientTable : public ::testing::TestWithParam<QuotientCase> {};

TEST_P(FormatQuotientTable, ExactHalfAwayFromZero) {
  const QuotientCase& c = GetParam();
  EXPECT_EQ(FormatQuotient(c.num, c.den, c.decimals, c.width), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatQuotientTable,
    ::testing::Values(QuotientCase{625, 8, 2, 0, "78.13"}, QuotientCase{625, 8, 2, 7, "  78.13"},
                      QuotientCase{1, 8, 2, 0, "0.13"}, QuotientCase{1, 3, 2, 0, "0.33"},
                      QuotientCase{2, 3, 2, 0, "0.67"}, QuotientCase{999, 1000, 2, 0, "1.00"},
                      QuotientCase{-625, 8, 2, 0, "-78.13"}, QuotientCase{625, -8, 1, 0, "-78.1"},
                      QuotientCase{5, 2, 0, 3, "  3"}, QuotientCase{7, 2, 0, 0, "4"}, QuotientCase{0, 7, 2, 5, " 0.00"},
                      QuotientCase{-1, 1000, 2, 0, "0.00"}, QuotientCase{100, 1, 1, 0, "100.0"},
                      QuotientCase{INT64_MIN, 1, 0, 0, "-9223372036854775808"},
                      QuotientCase{INT64_MAX, 2, 1, 0, "4611686018427387903.5"}));

TEST(FormatQuotient, ZeroDenominatorIsRefused) { EXPECT_THROW(FormatQuotient(1, 0, 2, 0), std::invalid_argument); }

struct FixedCase {
  long double value;
  int decimals, width;
  const char* text;
};
void PrintTo(const FixedCase& c, std::ostream* os) { *os << c.value << " with " << c.decimals << " decimals in " << c.width; }

class FormatFixedTable : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixedTable, ExactHalfAwayFromZero) {
  const FixedCase& c = GetParam();
  EXPECT_EQ(FormatFixed(c.value, c.decimals, c.width), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatFixedTable,
    ::testing::Values(FixedCase{33.5L, 0, 0, "34"}, FixedCase{34.5L, 0, 4, "  35"}, FixedCase{78.125L, 2, 0, "78.13"},
                      FixedCase{-78.125L, 2, 0, "-78.13"},
                      FixedCase{0.0L, 2, 6, "  0.00"}, FixedCase{100.0L, 1, 0, "100.0"},
                      FixedCase{0.125L, 2, 0, "0.13"}, FixedCase{1e-30L, 3, 0, "0.000"},
                      FixedCase{12345678901.0L, 0, 0, "12345678901"}, FixedCase{0.5L, 0, 0, "1"},
                      FixedCase{-0.5L, 0, 0, "-1"}));

TEST(FormatInt, RightAlignsAndGrows) {
  EXPECT_EQ(FormatInt(0, 3), "  0");
  EXPECT_EQ(FormatInt(85, 3), " 85");
  EXPECT_EQ(FormatInt(100, 3), "100");
  EXPECT_EQ(FormatInt(-12, 3), "-12");
  EXPECT_EQ(FormatInt(1050, 3), "1050");
  EXPECT_EQ(FormatInt(1, 4), "   1");
}

}  // namespace
