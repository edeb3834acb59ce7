// The check of a row and of a grade book, and the recompute of the totals it
// finds at odds with the share.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "gradefile/BookCheck.h"
#include "text/Gbk.h"
#include "gradefile/GradeBook.h"
#include "grading/GradeCheck.h"
#include "text/Texts.h"
#include "test_sheet_fixture.h"

namespace {

using sheet_test::Head;
using sheet_test::Record;

using K = FindingKind;
using C = FindingColumn;

// A finding as the tests spell it: texts in UTF-8.
struct Seen {
  Seen(K k, C c, std::string t, std::string e) : kind(k), column(c), text(std::move(t)), explanation(std::move(e)) {}
  K kind;
  C column;
  std::string text;
  std::string explanation;
  std::size_t line = static_cast<std::size_t>(-1);
  std::string key;
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Seen& s) {
  return os << '{' << KindName(s.kind) << ' ' << ColumnName(s.column) << " \"" << s.text << "\" \""
            << s.explanation << "\" line " << static_cast<long long>(s.line) << " key " << s.key << '}';
}

std::vector<Seen> Spelled(const std::vector<GradeFinding>& findings) {
  std::vector<Seen> out;
  for (const GradeFinding& f : findings) {
    out.emplace_back(f.Kind, f.Column, GbkToUtf8(f.Text), f.Explanation);
    out.back().line = f.LineIndex;
    out.back().key = f.CourseKey;
  }
  return out;
}

// ---- the row ------------------------------------------------------------

// One grade text alone in each grade cell in turn: what the cell is by itself.
struct TextCase {
  const char* text;
  std::vector<K> kinds;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class CellTextTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(CellTextTable, FlagsWhatIsNotAGradeOfTheFile) {
  const TextCase& c = GetParam();
  for (C column : {C::Coursework, C::Exam, C::Total}) {
    const std::string text = Gbk(c.text);
    const std::vector<GradeFinding> found =
        CheckRow("", column == C::Coursework ? text : "", column == C::Exam ? text : "",
                 column == C::Total ? text : "");
    // Only what the cell is by itself; the total's agreement has its own table.
    std::vector<K> kinds;
    for (const GradeFinding& f : found) {
      if (f.Column == column && (f.Kind == K::Unrecognised || f.Kind == K::OutOfRange)) kinds.push_back(f.Kind);
    }
    EXPECT_EQ(kinds, c.kinds) << ColumnName(column);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, CellTextTable,
    ::testing::Values(TextCase{"", {}}, TextCase{"   ", {}}, TextCase{"85", {}}, TextCase{" 85 ", {}},
                      TextCase{"８５", {}}, TextCase{"８5", {}}, TextCase{"0", {}}, TextCase{"100", {}},
                      TextCase{"0100", {}}, TextCase{"100.0", {}}, TextCase{"59.5", {}}, TextCase{"85.", {}},
                      // the full-width point is a decimal point too
                      TextCase{"８５．５", {}}, TextCase{"85．5", {}}, TextCase{"８５．", {}},
                      TextCase{"优", {}}, TextCase{"良", {}}, TextCase{"中", {}}, TextCase{"及格", {}},
                      TextCase{"不及格", {}}, TextCase{"合格", {}}, TextCase{"不合格", {}},
                      TextCase{"通过", {}}, TextCase{"不通过", {}}, TextCase{"A", {}}, TextCase{"B", {}},
                      TextCase{"C", {}}, TextCase{"D", {}}, TextCase{"F", {}}, TextCase{"缺考", {}},
                      TextCase{"缓考", {}}, TextCase{"旷考", {}}, TextCase{"作弊", {}}));

INSTANTIATE_TEST_SUITE_P(
    Unrecognised, CellTextTable,
    ::testing::Values(TextCase{"8O", {K::Unrecognised}}, TextCase{"8A", {K::Unrecognised}},
                      TextCase{"85分", {K::Unrecognised}}, TextCase{"70 71", {K::Unrecognised}},
                      TextCase{"8 5", {K::Unrecognised}}, TextCase{".5", {K::Unrecognised}},
                      TextCase{"-5", {K::Unrecognised}}, TextCase{"+85", {K::Unrecognised}},
                      TextCase{"1.2.3", {K::Unrecognised}}, TextCase{"８５．５．", {K::Unrecognised}},
                      TextCase{"．５", {K::Unrecognised}}, TextCase{"85.5．", {K::Unrecognised}},
                      TextCase{"A+", {K::Unrecognised}}, TextCase{"a", {K::Unrecognised}},
                      TextCase{"Ａ", {K::Unrecognised}}, TextCase{"E", {K::Unrecognised}},
                      TextCase{"优秀", {K::Unrecognised}}, TextCase{"做弊", {K::Unrecognised}},
                      TextCase{"及", {K::Unrecognised}}, TextCase{"缺", {K::Unrecognised}},
                      TextCase{"　85", {K::Unrecognised}}, TextCase{"8\t5", {K::Unrecognised}}));

INSTANTIATE_TEST_SUITE_P(
    OutOfRange, CellTextTable,
    ::testing::Values(TextCase{"101", {K::OutOfRange}}, TextCase{"120", {K::OutOfRange}},
                      TextCase{"100.5", {K::OutOfRange}}, TextCase{"100.01", {K::OutOfRange}},
                      TextCase{"１２０", {K::OutOfRange}}, TextCase{"855", {K::OutOfRange}},
                      TextCase{"１００．５", {K::OutOfRange}},
                      TextCase{"000200", {K::OutOfRange}}, TextCase{"1000000", {K::OutOfRange}}));

// A whole row at a share: every finding with its explanation.
struct RowCase {
  const char* name;
  const char* share;
  const char* coursework;
  const char* examination;
  const char* total;
  std::vector<Seen> findings;
  std::string expected = "";  // the total of a total-mismatch
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class RowTable : public ::testing::TestWithParam<RowCase> {};

TEST_P(RowTable, FindsAndExplains) {
  const RowCase& c = GetParam();
  const std::vector<GradeFinding> found = CheckRow(Gbk(c.share), Gbk(c.coursework), Gbk(c.examination), Gbk(c.total));
  EXPECT_EQ(Spelled(found), c.findings);
  std::string expected;
  for (const GradeFinding& f : found) {
    if (f.Kind == K::TotalMismatch) expected = f.Expected;
  }
  EXPECT_EQ(expected, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowTable,
    ::testing::Values(
        RowCase{"Agrees", "30", "80", "60", " 66", {}},
        RowCase{"AgreesWithBlanks", "30", "80    ", "60    ", " 66   ", {}},
        RowCase{"LetterOForZero", "30", "8O", "60", " 44",
                {{K::Unrecognised, C::Coursework, "8O", "无法识别的成绩，总成绩按 8 计算"}}},
        RowCase{"GradesRunTogether", "30", "70 71 ", "10", " 28",
                {{K::Unrecognised, C::Coursework, "70 71", "无法识别的成绩，总成绩按 70 计算"}}},
        RowCase{"SignedNumber", "30", "-5", "60", " 41",
                {{K::Unrecognised, C::Coursework, "-5", "无法识别的成绩，总成绩按 -5 计算"}}},
        RowCase{"UnweighedCourseworkGetsNoHint", "", "8O", "60", " 60",
                {{K::Unrecognised, C::Coursework, "8O", "无法识别的成绩"}}},
        RowCase{"AboveHundredStillChecksTheTotal", "30", "120", "60", " 78",
                {{K::OutOfRange, C::Coursework, "120", "超出0–100"}}},
        RowCase{"ShareChangedAfterwards", "40", "80", "60", " 66",
                {{K::TotalMismatch, C::Total, "66", "总成绩与当前比例不符，应为 68"}}, "68"},
        RowCase{"EmptyTotal", "30", "80", "60", "",
                {{K::TotalMismatch, C::Total, "", "总成绩为空，应为 66"}}, "66"},
        RowCase{"WordTotalOverNumbers", "30", "80", "60", "缺考",
                {{K::TotalMismatch, C::Total, "缺考", "总成绩与当前比例不符，应为 66"}}, "66"},
        RowCase{"TotalTypedWrong", "30", "80", "60", "6b",
                {{K::Unrecognised, C::Total, "6b", "无法识别的成绩"},
                 {K::TotalMismatch, C::Total, "6b", "总成绩与当前比例不符，应为 66"}},
                "66"},
        RowCase{"TotalWithDecimals", "30", "80", "60", "66.0",
                {{K::TotalMismatch, C::Total, "66.0", "总成绩与当前比例不符，应为 66"}}, "66"},
        RowCase{"HalfToEven", "30", "0", "85", " 60", {}},
        RowCase{"EmptyShareTakesTheExamination", "", "70", "90", " 90", {}},
        RowCase{"ExaminationAbsent", "30", "93", "缺考", " 28",
                {{K::ReadAsZero, C::Total, "28", "考试成绩'缺考'按0计入总成绩"}}},
        RowCase{"CourseworkWord", "30", "优", "90", " 63",
                {{K::ReadAsZero, C::Total, "63", "平时成绩'优'按0计入总成绩"}}},
        RowCase{"BothWords", "30", "优", "缺考", "  0",
                {{K::ReadAsZero, C::Total, "0", "平时成绩'优'、考试成绩'缺考'，按0计入总成绩"}}},
        RowCase{"CourseworkMissing", "30", "", "85", " 60",
                {{K::ReadAsZero, C::Total, "60", "平时成绩为空，按0计入总成绩"}}},
        RowCase{"TotalTypedWithoutGrades", "30", "", "", " 88", {}},
        RowCase{"TotalTypedWithoutTheWeighedGrade", "0", "80", "", " 88", {}},
        RowCase{"WideDigitsReadAsZero", "30", "８５", "90", " 63",
                {{K::ReadAsZero, C::Total, "63", "平时成绩'８５'按0计入总成绩"}}},
        RowCase{"WideDigitsAndAHandTotal", "30", "８５", "90", " 89",
                {{K::TotalMismatch, C::Total, "89", "总成绩与当前比例不符，应为 63"},
                 {K::ReadAsZero, C::Total, "89", "平时成绩'８５'按0计入总成绩"}},
                "63"},
        RowCase{"UnknownWordReadAsZero", "30", "优秀", "90", " 63",
                {{K::Unrecognised, C::Coursework, "优秀", "无法识别的成绩"},
                 {K::ReadAsZero, C::Total, "63", "平时成绩'优秀'按0计入总成绩"}}},
        RowCase{"WordTotalOverWordsIsFine", "30", "优", "缺考", "缺考", {}},
        RowCase{"ExaminationOnlyCourseIgnoresCoursework", "", "", "85", " 85", {}},
        RowCase{"ZeroShareIgnoresCoursework", "0", "缺考", "85", " 85", {}},
        RowCase{"FullShareIgnoresTheExamination", "100", "80", "缺考", " 80", {}},
        RowCase{"ShareAboveHundredWeighsBoth", "120", "80", "缺考", " 96",
                {{K::ReadAsZero, C::Total, "96", "考试成绩'缺考'按0计入总成绩"}}},
        RowCase{"NoTotalNoCompare", "30", "优", "缺考", "", {}}));

// ---- the book -----------------------------------------------------------

struct BookCase {
  const char* name;
  std::vector<std::string> head;
  std::vector<std::string> grades;
  std::vector<Seen> findings;
};

void PrintTo(const BookCase& c, std::ostream* os) { *os << c.name; }

class BookTable : public ::testing::TestWithParam<BookCase> {};

TEST_P(BookTable, FindsInRecordOrder) {
  const BookCase& c = GetParam();
  GradeBook book;
  book.HeadLines = c.head;
  book.GradeLines = c.grades;
  const std::vector<Seen> found = Spelled(CheckBook(book));
  EXPECT_EQ(found, c.findings);
  // The check of each course is the book's check cut to that key.
  for (const std::string& key : {std::string("AAAAA"), std::string("BBBBB"), std::string("ZZZZZ")}) {
    std::vector<Seen> ofKey;
    for (const Seen& s : found) {
      if (s.key == key) ofKey.push_back(s);
    }
    EXPECT_EQ(Spelled(CheckCourse(book, key)), ofKey) << key;
  }
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

Seen At(std::size_t line, std::string key, Seen s) {
  s.line = line;
  s.key = std::move(key);
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Books, BookTable,
    ::testing::Values(
        BookCase{"Empty", {}, {}, {}},
        BookCase{"Clean",
                 {Head("AAAAA", "tk", "线性代数"), Head("AAAAA", "t9", "30")},
                 {Record("AAAAA", "1", "甲", "一班", "80", "60", " 66"),
                  Record("AAAAA", "2", "乙", "一班", "优", "缺考", "缺考"),
                  Record("AAAAA", "3", "丙", "一班", "", "", "")},
                 {}},
        BookCase{"EveryKindInRecordOrder",
                 {Head("AAAAA", "t9", " 40 "), Head("BBBBB", "t9", "30")},
                 {Record("AAAAA", "1", "甲", "一班", "80", "60", " 66"),
                  Record("BBBBB", "1", "甲", "一班", "8O", "60", " 44"),
                  Record("AAAAA", "2", "乙", "一班", "120", "缺考", " 48"),
                  Record("BBBBB", "1", "丙", "二班", "80", "60", " 66")},
                 {At(0, "AAAAA", {K::TotalMismatch, C::Total, "66", "总成绩与当前比例不符，应为 68"}),
                  At(1, "BBBBB", {K::Unrecognised, C::Coursework, "8O", "无法识别的成绩，总成绩按 8 计算"}),
                  At(2, "AAAAA", {K::OutOfRange, C::Coursework, "120", "超出0–100"}),
                  At(2, "AAAAA", {K::ReadAsZero, C::Total, "48", "考试成绩'缺考'按0计入总成绩"}),
                  At(3, "BBBBB", {K::DuplicateStudent, C::None, "1", "学号在本课程中重复，与第 1 行相同"})}},
        BookCase{"DuplicatesOnTheLaterRecordsOnly",
                 {Head("AAAAA", "t9", "30"), Head("BBBBB", "t9", "30")},
                 {Record("AAAAA", "7", "甲", "一班", "", "", ""), Record("AAAAA", "8", "乙", "一班", "", "", ""),
                  Record("BBBBB", "7", "丙", "一班", "", "", ""), Record("AAAAA", "7", "丁", "一班", "", "", ""),
                  Record("AAAAA", "7", "戊", "一班", "", "", "")},
                 {At(3, "AAAAA", {K::DuplicateStudent, C::None, "7", "学号在本课程中重复，与第 1 行相同"}),
                  At(4, "AAAAA", {K::DuplicateStudent, C::None, "7", "学号在本课程中重复，与第 1 行相同"})}},
        BookCase{"NumbersCompareAllTenBytes",
                 {Head("AAAAA", "t9", "30")},
                 {"AAAAAcj7", Record("AAAAA", "7", "甲", "一班", "", "", ""), "AAAAAcj7 "},
                 {}},
        BookCase{"CourseSplitInTwoRunsTakesItsLastShare",
                 {Head("AAAAA", "t9", "30"), Head("BBBBB", "t9", "50"), Head("AAAAA", "tj", "王"),
                  Head("AAAAA", "t9", "40")},
                 {Record("AAAAA", "1", "甲", "一班", "80", "60", " 66"),
                  Record("AAAAA", "2", "乙", "一班", "80", "60", " 68"),
                  Record("BBBBB", "1", "甲", "一班", "85", "80", " 82")},
                 {At(0, "AAAAA", {K::TotalMismatch, C::Total, "66", "总成绩与当前比例不符，应为 68"})}},
        BookCase{"ShortRecords",
                 {Head("AAAAA", "t9", "30")},
                 {"AAAAAcj", Record("AAAAA", "1", "甲", "一班", "8O", "", "").substr(0, 35),
                  Record("AAAAA", "2", "乙", "一班", "80", "60", "").substr(0, 41),
                  Record("AAAAA", "3", "丙", "一班", "80", "60", " 66").substr(0, 48)},
                 {At(1, "AAAAA", {K::Unrecognised, C::Coursework, "8O", "无法识别的成绩，总成绩按 8 计算"}),
                  At(2, "AAAAA", {K::TotalMismatch, C::Total, "", "总成绩为空，应为 66"})}},
        BookCase{"RecordsWithoutHeaderLinesHaveNoShare",
                 {Head("AAAAA", "t9", "30")},
                 {Record("ZZZZZ", "1", "甲", "一班", "80", "60", " 66"),
                  Record("ZZZZZ", "2", "乙", "一班", "80", "60", " 60")},
                 {At(0, "ZZZZZ", {K::TotalMismatch, C::Total, "66", "总成绩与当前比例不符，应为 60"})}},
        BookCase{"BadSharesComeFirstWithoutAStudent",
                 {Head("AAAAA", "t9", "3O"), Head("BBBBB", "t9", "30"), Head("ZZZZZ", "t9", " 12.5"),
                  Head("BBBBB", "t9", "150"), Head("CCCCC", "t9", "  ")},
                 {Record("BBBBB", "1", "甲", "一班", "", "", "")},
                 {At(kNone, "AAAAA", {K::BadShare, C::Share, "3O", std::string(texts::kBadShare)}),
                  At(kNone, "BBBBB", {K::BadShare, C::Share, "150", std::string(texts::kBadShare)})}},
        BookCase{"ShareFromItsSixBytes",
                 {Head("AAAAA", "t9", "30    99")},
                 {Record("AAAAA", "1", "甲", "一班", "80", "60", " 66")},
                 {}}));

// ---- the recompute ------------------------------------------------------

GradeBook MismatchedBook() {
  GradeBook book;
  book.HeadLines = {Head("AAAAA", "tk", "线性代数"), Head("AAAAA", "t9", "40"), Head("BBBBB", "t9", "40")};
  book.GradeLines = {
      Record("AAAAA", "1", "甲", "一班", "80", "60", " 66"),    // share changed: 68
      Record("AAAAA", "2", "乙", "一班", "80", "60", " 68"),    // agrees
      Record("BBBBB", "1", "甲", "一班", "80", "60", " 66"),    // another course
      Record("AAAAA", "3", "丙", "一班", "90", "缺考", " 63"),  // read as zero: left alone
      Record("AAAAA", "4", "丁", "一班", "70", "70", "6b"),     // 70, typed wrong
      Record("AAAAA", "5", "戊", "一班", "50", "50", "").substr(0, 41),  // short: no total
  };
  book.BuildCourseList();
  return book;
}

TEST(RecomputeTotals, RewritesExactlyTheMismatchedRowsLikeAnEdit) {
  GradeBook book = MismatchedBook();
  const GradeBook before = book;
  const std::vector<RecordChange> changes = RecomputeTotals(book, "AAAAA");

  ASSERT_EQ(changes.size(), 3u);
  const std::size_t lines[] = {0, 4, 5};
  const std::string totals[] = {" 68   ", " 70   ", " 50   "};
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const std::size_t j = lines[i];
    EXPECT_EQ(changes[i].LineIndex, j);
    EXPECT_EQ(changes[i].Before, before.GradeLines[j]);
    EXPECT_EQ(changes[i].After, book.GradeLines[j]);
    // What an edit of the row writes: the two grades as they stood, the
    // rule's total, the rest of the record kept.
    GradeBook edited = before;
    const RecordChange edit =
        edited.RewriteGrades(j, before.GradeLines[j].substr(33, 6),
                             before.GradeLines[j].size() > 39 ? before.GradeLines[j].substr(39, 6) : "", totals[i]);
    EXPECT_EQ(book.GradeLines[j], edit.After) << j;
  }
  for (std::size_t j : {1, 2, 3}) EXPECT_EQ(book.GradeLines[j], before.GradeLines[j]) << j;
  EXPECT_TRUE(book.Modified);

  // Nothing is left to recompute; the other findings stay.
  std::vector<K> left;
  for (const GradeFinding& f : CheckCourse(book, "AAAAA")) left.push_back(f.Kind);
  EXPECT_EQ(left, std::vector<K>({K::ReadAsZero}));

  // The changes put back in reverse give the book as it was.
  for (auto it = changes.rbegin(); it != changes.rend(); ++it) book.GradeLines[it->LineIndex] = it->Before;
  EXPECT_EQ(book.GradeLines, before.GradeLines);
}

TEST(RecomputeTotals, AgreeingCourseChangesNothing) {
  GradeBook book = MismatchedBook();
  RecomputeTotals(book, "AAAAA");
  book.Modified = false;
  const Lines once = book.GradeLines;
  EXPECT_TRUE(RecomputeTotals(book, "AAAAA").empty());
  EXPECT_TRUE(RecomputeTotals(book, "NOKEY").empty());
  EXPECT_EQ(book.GradeLines, once);
  EXPECT_FALSE(book.Modified);
}

TEST(RecomputeTotals, RepeatedStudentNumbersAreFixedRecordByRecord) {
  // An edit finds the first record of a number; the recompute works on the
  // record itself, so the later twin gets its own total.
  GradeBook book;
  book.HeadLines = {Head("AAAAA", "t9", "30")};
  book.GradeLines = {Record("AAAAA", "1", "甲", "一班", "80", "60", " 66"),
                     Record("AAAAA", "1", "乙", "一班", "90", "90", " 10")};
  const std::vector<RecordChange> changes = RecomputeTotals(book, "AAAAA");
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].LineIndex, 1u);
  EXPECT_EQ(book.GradeLines[1].substr(45, 6), " 90   ");
  EXPECT_EQ(book.GradeLines[0].substr(45, 6), " 66   ");
}

TEST(GradeBookShare, IsWhatTheWeightingFieldShows) {
  GradeBook book;
  book.HeadLines = {Head("AAAAA", "t9", "30"), Head("AAAAA", "t9", "  45  xx"), Head("BBBBB", "tk", "x")};
  EXPECT_EQ(book.Share("AAAAA"), "45");
  EXPECT_EQ(book.Share("BBBBB"), "");
  EXPECT_EQ(book.Share("AAAAA"), book.ShowCourse("AAAAA").Share);
}

// ---- what the window shows of them ---------------------------------------

struct FitCase {
  const char* coursework;
  const char* examination;
  const char* total;
  bool fits;
};

TEST(TotalFitsSomeShare, TellsComputedFromTypedTotals) {
  const FitCase cases[] = {
      {"80", "60", " 66", true},   // share 30
      {"80", "60", "68", true},    // share 40
      {"80", "60", " 80", true},   // share 100
      {"80", "60", "60", true},    // share 0
      {"80", "60", " 95", false},  // above both grades
      {"80", "60", "59", false},   // below both
      {"80", "60", "", false},     // empty: nothing was typed
      {"85", "0", " 26", true},    // 25.5 rounds to even
      {"85", "0", " 25", true},    // share 29
      {"90", "90", "91", false},
  };
  for (const FitCase& c : cases) {
    EXPECT_EQ(TotalFitsSomeShare(c.coursework, c.examination, c.total), c.fits)
        << c.coursework << ' ' << c.examination << " '" << c.total << "'";
  }
}

struct ShareCase {
  const char* text;
  bool number;   // a share the total rule weighs with
  bool partial;  // what typing one passes through
};

TEST(IsShareNumber, TakesDigitsWithOnePointFromZeroToHundred) {
  const ShareCase cases[] = {
      {"30", true, true},     {"0", true, true},     {"100", true, true},   {"12.5", true, true},
      {"100.0", true, true},  {"30.", true, true},   {".5", true, true},    {"", false, true},
      {".", false, true},     {"3O", false, false},  {"150", false, false}, {"100.1", false, false},
      {"-5", false, false},   {"1.2.3", false, false}, {"3 0", false, false}, {"1e2", false, false},
      {"0000030", false, false},
  };
  for (const ShareCase& c : cases) {
    EXPECT_EQ(IsShareNumber(c.text), c.number) << c.text;
    EXPECT_EQ(IsShareNumber(c.text, true), c.partial) << c.text;
  }
  EXPECT_FALSE(IsShareNumber(Gbk("３０"), true));
  EXPECT_FALSE(IsBadShare("  "));  // no share reads as 0
  EXPECT_FALSE(IsBadShare(" 30 "));
  EXPECT_TRUE(IsBadShare(" 3O"));
}

TEST(RecomputeTotals, NothingAtABadShare) {
  GradeBook book;
  book.HeadLines = {Head("AAAAA", "t9", "3O"), Head("BBBBB", "t9", "30")};
  book.GradeLines = {Record("AAAAA", "1", "甲", "一班", "80", "60", " 66"),
                     Record("BBBBB", "3", "丙", "一班", "80", "60", " 99")};
  book.BuildCourseList();
  EXPECT_TRUE(RecomputeTotals(book, "AAAAA").empty());  // 3O would be weighed as 3
  EXPECT_EQ(RecomputeTotals(book, "BBBBB").size(), 1u);
}

TEST(MismatchBar, CountsAndNamesTypedTotals) {
  EXPECT_EQ(texts::MismatchBar(10, "40", 0), "本课程有 10 个总成绩与当前比例(40%)不符");
  EXPECT_EQ(texts::MismatchBar(1, "", 0), "本课程有 1 个总成绩与当前比例(0%)不符");
  EXPECT_EQ(texts::MismatchBar(3, "30", 2),
            "本课程有 3 个总成绩与当前比例(30%)不符，其中 2 个可能是手工填写的总成绩，重新计算会覆盖它们");
}

TEST(FindingRows, NameCourseStudentColumnTextAndReason) {
  GradeBook book;
  book.HeadLines = {Head("AAAAA", "tk", "数据库原理"), Head("AAAAA", "t9", "30"),
                    Head("BBBBB", "tj", "张老师")};
  book.GradeLines = {Record("AAAAA", "2022000001", "王小明", "计科01", "8O", "缺考", " 24"),
                     Record("AAAAA", "2022000001", "李华", "计科01", "", "", ""),
                     Record("BBBBB", "2022000002", "赵四", "计科01", "120", "", "")};
  using Row = FindingRow;
  const std::vector<Row> expected = {
      Row{"数据库原理", "2022000001", "王小明", "平时成绩", "8O", "无法识别的成绩，总成绩按 8 计算"},
      Row{"数据库原理", "2022000001", "王小明", "总成绩", "24", "考试成绩'缺考'按0计入总成绩"},
      Row{"数据库原理", "2022000001", "李华", "学号", "2022000001", "学号在本课程中重复，与第 1 行相同"},
      // A course without a name is named by its key.
      Row{"BBBBB", "2022000002", "赵四", "平时成绩", "120", "超出0–100"},
  };
  EXPECT_EQ(FindingRows(book, CheckBook(book)), expected);
  // A bad share names its course and column, and no student.
  book.HeadLines.push_back(Head("BBBBB", "t9", "3O"));
  const std::vector<Row> rows = FindingRows(book, CheckBook(book));
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front(), (Row{"BBBBB", "", "", "平时成绩占百分比", "3O", std::string(texts::kBadShare)}));
}

}  // namespace
