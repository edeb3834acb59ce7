// Import of grades from CSV: encodings, separators, quoting, headings,
// matching, what is not applied and why, the records after applying, undo.
#include <sys/stat.h>

#include <vector>

#include "exchange/Csv.h"
#include "test_exchange_fixture.h"
#include "text/Blanks.h"
#include "text/Texts.h"

using namespace exchange;
using namespace exchange_test;

namespace {

// Course 01213 (share 30) with four students, course 02107 with one.
GradeBook MakeBook() {
  GradeBook book;
  book.HeadLines = {Head("01213", "tk", "高等数学(一)"), Head("01213", "tj", "陈建华"), Head("01213", "t9", " 30 "),
                    Head("02107", "tk", "大学英语"), Head("02107", "t9", "50")};
  book.GradeLines = {
      Record("01213", "2023040101", "余佳", "计科2301", "87", "71", " 76"),
      Record("01213", "2023040102", "孟姣芳", "计科2301", "", "", ""),
      Record("02107", "2023050101", "王英", "软件2301", "80", "80", " 80"),
      Record("01213", "2023040103", "周瑾影", "计科2302", "89", "缺考", " 27"),
      Record("01213", "2023040104", "刘敏竹", "计科2302", "90", "100", " 97"),
  };
  book.BuildCourseList();
  return book;
}

// The preview as lines that read like a report, in UTF-8:
//   "L2 2023040101 90/85/86"      matched and changed (new coursework/examination/total)
//   "L3 2023040103 =89/缺考/27"   matched, nothing to change
//   "L4 不在本课程 2023999999"      skipped, with the score at fault when there is one
//   "missing 2023040104"
std::vector<std::string> Describe(const ImportPreview& p) {
  std::vector<std::string> out;
  auto trimmed = [](const std::string& gbk) { return GbkToUtf8(TrimmedBlanks(gbk)); };
  for (const MatchedRow& m : p.Matched) {
    out.push_back("L" + std::to_string(m.Line) + " " + GbkToUtf8(m.Number) + " " + (m.Changed ? "" : "=") +
                  trimmed(m.New[0]) + "/" + trimmed(m.New[1]) + "/" + trimmed(m.New[2]));
  }
  for (const SkippedRow& s : p.Skipped) {
    std::string line = "L" + std::to_string(s.Line) + " " + std::string(RowIssueText(s.Issue)) + " " +
                       GbkToUtf8(s.Number);
    if (s.Column != ScoreColumn::None) line += " " + std::string(ScoreColumnText(s.Column)) + ":" + GbkToUtf8(s.Text);
    out.push_back(line);
  }
  for (const MissingStudent& m : p.Missing) out.push_back("missing " + GbkToUtf8(m.Number));
  return out;
}

std::string Utf16Le(std::string_view utf8) {
  std::string out = "\xFF\xFE";
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    char32_t cp;
    std::size_t len = c < 0x80 ? 1 : c >= 0xE0 ? 3 : 2;
    if (len == 1) cp = c;
    else if (len == 2) cp = (c & 0x1F) << 6 | (utf8[i + 1] & 0x3F);
    else cp = (c & 0x0F) << 12 | (utf8[i + 1] & 0x3F) << 6 | (utf8[i + 2] & 0x3F);
    out.push_back(static_cast<char>(cp & 0xFF));
    out.push_back(static_cast<char>(cp >> 8));
    i += len;
  }
  return out;
}

// Test names from the cases' own names.
constexpr auto CaseName = [](const auto& info) { return std::string(info.param.name); };

struct PreviewCase {
  const char* name;
  std::string csv;  // the file's bytes
  std::vector<std::string> want;
  const char* encoding = "UTF-8";
  char separator = ',';
  ImportColumns columns{};  // GBK
};

void PrintTo(const PreviewCase& c, std::ostream* os) { *os << c.name; }

class PreviewTable : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(PreviewTable, GivesTheExpectedPreview) {
  const PreviewCase& c = GetParam();
  const GradeBook book = MakeBook();
  const ImportPreview p = PreviewImportBytes(book, "01213", c.csv, c.columns);
  ASSERT_TRUE(p.Ok()) << p.Message;
  EXPECT_EQ(Describe(p), c.want);
  EXPECT_STREQ(p.Encoding, c.encoding);
  EXPECT_EQ(p.Separator, c.separator);
  EXPECT_EQ(book.GradeLines, MakeBook().GradeLines) << "a preview changes nothing";
}

const std::string kPlain = "学号,姓名,平时成绩,考试成绩\r\n2023040101,余佳,90,85\r\n2023040102,孟姣芳,80,70\r\n"
                           "2023040103,周瑾影,89,\r\n2023040104,刘敏竹,90,100\r\n";
const std::vector<std::string> kPlainWant = {"L2 2023040101 90/85/86", "L3 2023040102 80/70/73",
                                             "L4 2023040103 =89/缺考/27", "L5 2023040104 =90/100/97"};

INSTANTIATE_TEST_SUITE_P(
    Encodings, PreviewTable,
    ::testing::Values(PreviewCase{"utf8", kPlain, kPlainWant},
                      PreviewCase{"utf8_bom", "\xEF\xBB\xBF" + kPlain, kPlainWant, "UTF-8 BOM"},
                      PreviewCase{"gbk", Gbk(kPlain), kPlainWant, "GBK"},
                      PreviewCase{"utf16", Utf16Le("学号\t平时成绩\t考试成绩\r\n2023040101\t90\t85\r\n"),
                                  {"L2 2023040101 90/85/86", "missing 2023040102", "missing 2023040103",
                                   "missing 2023040104"},
                                  "UTF-16", '\t'},
                      // Short enough to live inside its string after turning into UTF-8.
                      PreviewCase{"utf16_short", Utf16Le("学号,考试\n"),
                                  {"missing 2023040101", "missing 2023040102", "missing 2023040103",
                                   "missing 2023040104"},
                                  "UTF-16"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Separators, PreviewTable,
    ::testing::Values(
        PreviewCase{"tab", "学号\t姓名\t平时成绩\t考试成绩\n2023040101\t余佳\t90\t85\n",
                    {"L2 2023040101 90/85/86", "missing 2023040102", "missing 2023040103", "missing 2023040104"},
                    "UTF-8", '\t'},
        PreviewCase{"semicolon", "学号;平时成绩;考试成绩\n2023040101;90;85\n",
                    {"L2 2023040101 90/85/86", "missing 2023040102", "missing 2023040103", "missing 2023040104"},
                    "UTF-8", ';'},
        // Commas inside quotes do not count towards the separator.
        PreviewCase{"semicolon_with_quoted_commas", "\"学号,a,b,c\";考试成绩;平时成绩\r2023040101;85;90\r",
                    {"L2 2023040101 90/85/86", "missing 2023040102", "missing 2023040103", "missing 2023040104"},
                    "UTF-8", ';'}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Quoting, PreviewTable,
    ::testing::Values(
        // Quoted cells, a doubled quote, a line end inside quotes (the next
        // row starts on line 4), blanks around cells.
        PreviewCase{"rfc4180",
                    "\"学号\",\"姓名\",\"平时成绩\",\"考试成绩\"\r\n\"2023040101\",\"余,\"\"佳\"\"\",\" 90 \",85\r\n"
                    "2023040102,\"孟\r\n姣芳\",80,\"70\"\r\n",
                    {"L2 2023040101 90/85/86", "L3 2023040102 80/70/73", "missing 2023040103",
                     "missing 2023040104"}},
        // A quote inside an unquoted cell is taken as it stands.
        PreviewCase{"stray_quote", "学号,考试成绩\n2023040101,8\"5\n",
                    {"L2 无法识别的成绩 2023040101 考试成绩:8\"5", "missing 2023040102", "missing 2023040103",
                     "missing 2023040104"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Headings, PreviewTable,
    ::testing::Values(
        PreviewCase{"english_any_case", "Name,STUDENT No.,Coursework score,Exam\n余佳,2023040101,90,85\n",
                    {"L2 2023040101 90/85/86", "missing 2023040102", "missing 2023040103", "missing 2023040104"}},
        // "Student name" is no student number.
        PreviewCase{"student_name_is_not_the_number",
                    "Student name,Student ID,exam\n余佳,2023040101,85\n",
                    {"L2 2023040101 87/85/86", "missing 2023040102", "missing 2023040103", "missing 2023040104"}},
        PreviewCase{"short_chinese_words", "序号,学号,平时,卷面\n1,2023040101,90,85\n",
                    {"L2 2023040101 90/85/86", "missing 2023040102", "missing 2023040103", "missing 2023040104"}},
        // A title and an empty line above the heading.
        PreviewCase{"title_above", "2024-2025学年第一学期期末成绩\n\n学号,考试成绩\n2023040101,85\n",
                    {"L4 2023040101 87/85/86", "missing 2023040102", "missing 2023040103", "missing 2023040104"}},
        // Only the examination column: coursework keeps its grade, the total follows.
        PreviewCase{"examination_only", "学号,考试成绩\n2023040104,95\n",
                    {"L2 2023040104 90/95/94", "missing 2023040101", "missing 2023040102", "missing 2023040103"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Matching, PreviewTable,
    ::testing::Values(
        // Full-width digits in numbers and scores; the score is written in ASCII.
        PreviewCase{"full_width", "学号,平时成绩,考试成绩\n２０２３０４０１０１,９０,８５．５\n 2023040102　,80,70\n",
                    {"L2 2023040101 90/85.5/87", "L3 2023040102 80/70/73", "missing 2023040103",
                     "missing 2023040104"}},
        // Another course's student and an empty number are not in the course.
        PreviewCase{"not_in_course", "学号,考试成绩\n2023050101,90\n2023999999,80\n,70\n2023040101,85\n",
                    {"L5 2023040101 87/85/86", "L2 不在本课程 2023050101", "L3 不在本课程 2023999999",
                     "L4 不在本课程 ", "missing 2023040102", "missing 2023040103", "missing 2023040104"}},
        // A number given twice: neither row is applied.
        PreviewCase{"duplicates", "学号,考试成绩\n2023040101,85\n2023040102,60\n2023040101,85\n",
                    {"L3 2023040102 /60/42", "L2 学号重复 2023040101", "L4 学号重复 2023040101", "missing 2023040103",
                     "missing 2023040104"}},
        // Empty cells import nothing; the same grade again changes nothing,
        // and a stale total stays as it is.
        PreviewCase{"empty_and_same", "学号,平时成绩,考试成绩\n2023040101,,\n2023040103,89,缺考\n2023040104,,100\n",
                    {"L2 2023040101 =87/71/76", "L3 2023040103 =89/缺考/27", "L4 2023040104 =90/100/97",
                     "missing 2023040102"}},
        // Blank rows are no rows.
        PreviewCase{"blank_rows", "学号,考试成绩\n\n , \n2023040101,85\n,\n",
                    {"L4 2023040101 87/85/86", "missing 2023040102", "missing 2023040103", "missing 2023040104"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Scores, PreviewTable,
    ::testing::Values(
        // The grade words pass as they are; anything else is reported.
        PreviewCase{"words", "学号,平时成绩,考试成绩\n2023040101,优,不及格\n2023040102,A,作弊\n2023040103,及格,缓考\n",
                    {"L2 2023040101 优/不及格/0", "L3 2023040102 A/作弊/0", "L4 2023040103 及格/缓考/0",
                     "missing 2023040104"}},
        PreviewCase{"unreadable",
                    "学号,平时成绩,考试成绩\n2023040101,八十,85\n2023040102,80,85分\n2023040103,-5,\n"
                    "2023040104,,.5\n",
                    {"L2 无法识别的成绩 2023040101 平时成绩:八十", "L3 无法识别的成绩 2023040102 考试成绩:85分",
                     "L4 无法识别的成绩 2023040103 平时成绩:-5", "L5 无法识别的成绩 2023040104 考试成绩:.5"}},
        PreviewCase{"more_unreadable", "学号,平时成绩,考试成绩\n2023040101,a,\n2023040102,优秀,\n2023040103,8.5.1,\n",
                    {"L2 无法识别的成绩 2023040101 平时成绩:a", "L3 无法识别的成绩 2023040102 平时成绩:优秀",
                     "L4 无法识别的成绩 2023040103 平时成绩:8.5.1", "missing 2023040104"}},
        PreviewCase{"too_long_and_not_gbk", "学号,平时成绩,考试成绩\n2023040101,88.3333,\n2023040102,😀,\n2023040103,88.333,\n",
                    {"L4 2023040103 88.333/缺考/26", "L2 超过6个字节 2023040101 平时成绩:88.3333",
                     "L3 含有成绩文件不能保存的字符 2023040102 平时成绩:?", "missing 2023040104"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    NamedColumns, PreviewTable,
    ::testing::Values(
        // Named by number: only the named score column is imported.
        PreviewCase{"by_number", "学号,平时成绩,考试成绩\n2023040101,10,85\n",
                    {"L2 2023040101 87/85/86", "missing 2023040102", "missing 2023040103", "missing 2023040104"},
                    "UTF-8", ',', ImportColumns{"", "", "3"}},
        // Named by heading text, in any case, blanks around it ignored.
        PreviewCase{"by_text", "No,Score A,Score B\n2023040101,10,85\n",
                    {"L2 2023040101 10/85/62", "missing 2023040102", "missing 2023040103", "missing 2023040104"},
                    "UTF-8", ',', ImportColumns{"no", " score a", "SCORE B"}},
        // All columns by number and no heading line: the first row is data.
        PreviewCase{"no_heading", "2023040101;90;85\n2023040102;80;70\n",
                    {"L1 2023040101 90/85/86", "L2 2023040102 80/70/73", "missing 2023040103", "missing 2023040104"},
                    "UTF-8", ';', ImportColumns{"1", "2", "3"}},
        // All by number with a heading line: the heading is no student.
        PreviewCase{"by_number_with_heading", "id,x\n2023040101,85\n",
                    {"L2 2023040101 87/85/86", "missing 2023040102", "missing 2023040103", "missing 2023040104"},
                    "UTF-8", ',', ImportColumns{"1", "", "2"}}),
    CaseName);

struct FailureCase {
  const char* name;
  std::string csv;
  ImportFailure failure;
  const char* message;  // UTF-8
  ImportColumns columns{};
  const char* course = "01213";
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FailureTable : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureTable, RefusesWithAClearMessage) {
  const FailureCase& c = GetParam();
  const GradeBook book = MakeBook();
  const ImportPreview p = PreviewImportBytes(book, c.course, c.csv, c.columns);
  EXPECT_EQ(p.Failure, c.failure);
  EXPECT_EQ(p.Message, c.message);
  EXPECT_TRUE(p.Matched.empty());
  EXPECT_EQ(p.SkippedCount(), 0u);
  GradeBook applied = MakeBook();
  const ApplyResult r = ApplyImport(applied, p);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(applied.GradeLines, book.GradeLines);
  EXPECT_FALSE(applied.Modified);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailureTable,
    ::testing::Values(
        FailureCase{"empty", "", ImportFailure::Empty, "文件是空的"},
        FailureCase{"only_blanks", " \r\n\t\r\n", ImportFailure::Empty, "文件是空的"},
        FailureCase{"only_blank_cells", ",,\r\n;\r\n", ImportFailure::Empty, "文件是空的"},
        FailureCase{"binary", std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10), ImportFailure::NotText,
                    "不是文本文件，请选择CSV文件"},
        FailureCase{"xlsx", std::string("PK\x03\x04\x14\0\x06\0", 8), ImportFailure::Workbook,
                    "是Excel工作簿，请在Excel或WPS中另存为CSV文件后再导入"},
        FailureCase{"neither_utf8_nor_gbk", "学号,考试\n\x80\xFF\n", ImportFailure::UnknownEncoding,
                    "既不是UTF-8也不是GBK编码的文本"},
        FailureCase{"unclosed_quote", "学号,考试成绩\n2023040101,85\n2023040102,\"70\n2023040103,80\n",
                    ImportFailure::UnclosedQuote, "第3行的引号没有闭合"},
        FailureCase{"unclosed_quote_in_heading", "\"学号,考试成绩\n", ImportFailure::UnclosedQuote,
                    "第1行的引号没有闭合"},
        FailureCase{"no_student_column", "姓名,考试成绩\n余佳,85\n", ImportFailure::NoStudentColumn,
                    "找不到学号列：表头中应有“学号”或“student”"},
        FailureCase{"no_score_column", "学号,姓名,总成绩\n2023040101,余佳,85\n", ImportFailure::NoScoreColumn,
                    "找不到成绩列：表头中应有“平时成绩”、“考试成绩”或“卷面”"},
        FailureCase{"named_text_missing", "学号,考试成绩\n", ImportFailure::NoSuchColumn, "没有“卷面分”这一列",
                    ImportColumns{"", "", Gbk("卷面分")}},
        FailureCase{"named_number_missing", "学号,考试成绩\n2023040101,85\n", ImportFailure::NoSuchColumn,
                    "没有第5列", ImportColumns{"", "5", ""}},
        FailureCase{"unknown_course", "学号,考试成绩\n2023040101,85\n", ImportFailure::NoSuchCourse, "没有这门课程",
                    ImportColumns{}, "99999"}),
    CaseName);

// No total can be computed at a share like "3O": nothing is imported until
// the share is put right.
TEST(PreviewImport, RefusesACourseWithABadShare) {
  GradeBook book = MakeBook();
  book.HeadLines[4] = Head("02107", "t9", "150");
  const ImportPreview p = PreviewImportBytes(book, "02107", "学号,考试成绩\n2023040101,85\n", {});
  EXPECT_EQ(p.Failure, ImportFailure::BadShare);
  EXPECT_EQ(p.Message, std::string(texts::kImportBadShare));
}

// ---- acceptance of one score -------------------------------------------------

TEST(AcceptedScore, TakesPlainNumbersAndTheEditorsWords) {
  const std::vector<std::pair<const char*, const char*>> table = {
      {"85", "85"}, {" 85 ", "85"}, {"８５", "85"}, {"85.5", "85.5"}, {"８５．５", "85.5"}, {"0", "0"},
      {"100", "100"}, {"85.", "85."}, {"优", "优"}, {"　不及格　", "不及格"}, {"F", "F"}, {"作弊", "作弊"},
      {"旷考", "旷考"}, {"", nullptr}, {".5", nullptr}, {"-5", nullptr}, {"+5", nullptr}, {"8 5", nullptr},
      {"1e2", nullptr}, {"85分", nullptr}, {"a", nullptr}, {"E", nullptr}, {"优秀", nullptr}, {"1.2.3", nullptr},
      {"Ａ", nullptr}};
  for (const auto& [in, out] : table) {
    const std::optional<std::string> got = AcceptedScore(Gbk(in));
    if (out == nullptr) {
      EXPECT_FALSE(got) << in;
    } else {
      ASSERT_TRUE(got) << in;
      EXPECT_EQ(GbkToUtf8(*got), out) << in;
    }
  }
}

// ---- applying and undoing -------------------------------------------------------

TEST(ApplyImport, RewritesTheChangedRecordsLikeAnEdit) {
  GradeBook book = MakeBook();
  const GradeBook before = MakeBook();
  const ImportPreview p = PreviewImportBytes(
      book, "01213", "学号,平时成绩,考试成绩\n2023040104,,100\n2023040102,优,八十\n2023040101,90,85.5\n2023040103,,60\n",
      {});
  ASSERT_TRUE(p.Ok());
  EXPECT_EQ(p.ChangedCount(), 2u);
  const ApplyResult r = ApplyImport(book, p);
  ASSERT_TRUE(r.Ok);
  EXPECT_TRUE(book.Modified);
  // 87.5 at share 30: 0.3*90 + 0.7*85.5 = 86.85 -> 87; 0.3*89 + 0.7*60 = 68.7 -> 69.
  EXPECT_EQ(book.GradeLines[0], Record("01213", "2023040101", "余佳", "计科2301", "90", "85.5", " 87"));
  EXPECT_EQ(book.GradeLines[3], Record("01213", "2023040103", "周瑾影", "计科2302", "89", "60", " 69"));
  // Unchanged (same grade), unreadable and other courses' records stay.
  for (std::size_t i : {1u, 2u, 4u}) EXPECT_EQ(book.GradeLines[i], before.GradeLines[i]) << i;
  EXPECT_EQ(book.HeadLines, before.HeadLines);

  ASSERT_EQ(r.Changes.size(), 2u);
  EXPECT_EQ(r.Changes[0].LineIndex, 0u);
  EXPECT_EQ(r.Changes[0].Before, before.GradeLines[0]);
  EXPECT_EQ(r.Changes[0].After, book.GradeLines[0]);
  EXPECT_EQ(r.Changes[1].LineIndex, 3u);

  ASSERT_TRUE(UndoImport(book, r.Changes));
  EXPECT_EQ(book.GradeLines, before.GradeLines);
  // A second undo finds the records no longer as the apply left them.
  EXPECT_FALSE(UndoImport(book, r.Changes));
  EXPECT_EQ(book.GradeLines, before.GradeLines);
}

TEST(ApplyImport, KeepsTheFieldBeyondTheGradesAndTheShareOfItsCourse) {
  GradeBook book = MakeBook();
  book.GradeLines[2] = Record("02107", "2023050101", "王英", "软件2301", "80", "80", " 80").substr(0, 51) + "XYZ123";
  const ImportPreview p = PreviewImportBytes(book, "02107", "学号,平时成绩\n2023050101,61\n", {});
  ASSERT_TRUE(p.Ok());
  EXPECT_EQ(p.Share, "50");
  ASSERT_TRUE(ApplyImport(book, p).Ok);
  // Share 50: 0.5*61 + 0.5*80 = 70.5 -> 70 (ties to even).
  EXPECT_EQ(book.GradeLines[2],
            Record("02107", "2023050101", "王英", "软件2301", "61", "80", " 70").substr(0, 51) + "XYZ123");
}

TEST(ApplyImport, RefusesWhenARecordChangedSinceThePreview) {
  GradeBook book = MakeBook();
  const ImportPreview p = PreviewImportBytes(book, "01213", "学号,考试成绩\n2023040101,85\n2023040102,60\n", {});
  ASSERT_TRUE(p.Ok());
  book.RewriteGrades(1, "70", "", "");
  const Lines edited = book.GradeLines;
  const ApplyResult r = ApplyImport(book, p);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Message, "成绩在预览之后有了变动，请重新导入");
  EXPECT_TRUE(r.Changes.empty());
  EXPECT_EQ(book.GradeLines, edited);
}

TEST(ApplyImport, NothingToChangeLeavesTheBookUnmodified) {
  GradeBook book = MakeBook();
  const ImportPreview p = PreviewImportBytes(book, "01213", "学号,考试成绩\n2023040101,71\n", {});
  const ApplyResult r = ApplyImport(book, p);
  EXPECT_TRUE(r.Ok);
  EXPECT_TRUE(r.Changes.empty());
  EXPECT_FALSE(book.Modified);
}

// ---- large files, progress, cancelling ------------------------------------------

TEST(PreviewImport, CountsEveryRowButListsTheFirstTenThousand) {
  const GradeBook book = MakeBook();
  std::string csv = "学号,考试成绩\n";
  for (int i = 0; i < 12000; ++i) csv += std::to_string(3000000000LL + i) + ",60\n";
  csv += "2023040101,85\n";
  const ImportPreview p = PreviewImportBytes(book, "01213", csv, {});
  ASSERT_TRUE(p.Ok());
  EXPECT_EQ(p.Rows, 12001u);
  EXPECT_EQ(p.Count(RowIssue::NotInCourse), 12000u);
  ASSERT_EQ(p.Skipped.size(), kListedSkippedRows);
  EXPECT_EQ(p.SkippedNotListed(), 2000u);
  EXPECT_EQ(p.Skipped.front().Line, 2u);
  EXPECT_EQ(p.Skipped.back().Line, kListedSkippedRows + 1);
  ASSERT_EQ(p.Matched.size(), 1u);
  EXPECT_EQ(p.Matched[0].Line, 12002u);
}

TEST(PreviewImport, ReportsProgressAndCanBeCancelled) {
  const GradeBook book = MakeBook();
  std::string csv = "学号,考试成绩\n";
  for (int i = 0; i < 20000; ++i) csv += "2023040101,85\n";
  std::vector<std::uint64_t> seen;
  const ImportPreview p = PreviewImportBytes(book, "01213", csv, {}, [&](std::uint64_t done, std::uint64_t total) {
    EXPECT_EQ(total, csv.size());
    seen.push_back(done);
    return true;
  });
  ASSERT_TRUE(p.Ok());
  ASSERT_GE(seen.size(), 4u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), csv.size());

  int calls = 0;
  const ImportPreview cancelled =
      PreviewImportBytes(book, "01213", csv, {}, [&](std::uint64_t, std::uint64_t) { return ++calls < 3; });
  EXPECT_EQ(cancelled.Failure, ImportFailure::Cancelled);
  EXPECT_EQ(cancelled.Message, "导入已取消");
  EXPECT_EQ(calls, 3);
  EXPECT_TRUE(cancelled.Matched.empty());
}

// ---- files ----------------------------------------------------------------------

using ImportFileTest = ScratchDirTest;

TEST_F(ImportFileTest, ReadsAFileAndNamesItInMessages) {
  const GradeBook book = MakeBook();
  const fs::path csv = dir_ / "scores.csv";
  std::ofstream(csv, std::ios::binary) << Gbk("学号,考试成绩\r\n2023040101,85\r\n");
  const ImportPreview p = PreviewImport(book, "01213", csv.string(), {});
  ASSERT_TRUE(p.Ok());
  EXPECT_STREQ(p.Encoding, "GBK");
  EXPECT_EQ(p.Matched.size(), 1u);

  const ImportPreview missing = PreviewImport(book, "01213", (dir_ / "nope.csv").string(), {});
  EXPECT_EQ(missing.Failure, ImportFailure::ReadFailed);
  EXPECT_EQ(missing.Message, (dir_ / "nope.csv").string() + "：无法读取：文件或文件夹不存在");

  const ImportPreview folder = PreviewImport(book, "01213", dir_.string(), {});
  EXPECT_EQ(folder.Failure, ImportFailure::ReadFailed);

  const fs::path empty = dir_ / "empty.csv";
  std::ofstream(empty, std::ios::binary).flush();
  EXPECT_EQ(PreviewImport(book, "01213", empty.string(), {}).Message, empty.string() + "：文件是空的");

  // A name that is no UTF-8 (here GBK bytes) keeps every byte in the message.
  const std::string gbkName = dir_.string() + "/" + Gbk("张三") + ".csv";
  EXPECT_EQ(PreviewImport(book, "01213", gbkName, {}).Message,
            dir_.string() + "/\\xD5\\xC5\\xC8\\xFD.csv：无法读取：文件或文件夹不存在");
}

TEST_F(ImportFileTest, RefusesAFifoWithoutBlockingAndAHugeFileWithoutReadingIt) {
  const GradeBook book = MakeBook();
  const fs::path fifo = dir_ / "pipe.csv";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(PreviewImport(book, "01213", fifo.string(), {}).Failure, ImportFailure::ReadFailed);

  const fs::path huge = dir_ / "huge.csv";
  std::ofstream(huge, std::ios::binary).flush();
  fs::resize_file(huge, kMaxImportBytes + 1);  // sparse: no disk is used
  const ImportPreview p = PreviewImport(book, "01213", huge.string(), {});
  EXPECT_EQ(p.Failure, ImportFailure::TooLarge);
  EXPECT_EQ(p.Message, huge.string() + "：文件太大(超过128 MB)，请只导出本课程的成绩");
}

// ---- the CSV layer ----------------------------------------------------------------

TEST(CsvParser, SplitsRecordsAndCountsLines) {
  const std::string text = "a,\"b\r\nc\",d\r\n\"e\"\"f\"x,\n\rlast";
  CsvParser parser(text, ',');
  std::vector<std::string> fields;
  std::vector<std::pair<std::size_t, std::vector<std::string>>> got;
  while (parser.Next(fields) == CsvParser::Status::Record) got.emplace_back(parser.RecordLine(), fields);
  const std::vector<std::pair<std::size_t, std::vector<std::string>>> want = {
      {1, {"a", "b\r\nc", "d"}}, {3, {"e\"fx", ""}}, {4, {""}}, {5, {"last"}}};
  EXPECT_EQ(got, want);
}

TEST(CsvParser, KeepsAtMostMaxFieldsOfAnEndlessRecord) {
  const std::string text = std::string(1000000, ',') + "\nx";
  CsvParser parser(text, ',');
  std::vector<std::string> fields;
  ASSERT_EQ(parser.Next(fields), CsvParser::Status::Record);
  EXPECT_EQ(fields.size(), CsvParser::kMaxFields);
  ASSERT_EQ(parser.Next(fields), CsvParser::Status::Record);
  EXPECT_EQ(fields, std::vector<std::string>{"x"});
  EXPECT_EQ(parser.RecordLine(), 2u);
}

TEST(CsvDecode, TellsUtf8FromGbk) {
  EXPECT_TRUE(IsValidUtf8("abc 学号"));
  EXPECT_FALSE(IsValidUtf8(Gbk("学号")));
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xE5\xAD"));          // cut short
  EXPECT_TRUE(IsValidGbk(Gbk("学号，成绩")));
  EXPECT_FALSE(IsValidGbk("\x80"));
  EXPECT_FALSE(IsValidGbk("\xD1"));               // lead byte at the end
  EXPECT_FALSE(IsValidGbk("\xD1\x30"));           // no trail byte
}

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(CsvField("85"), "85");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(CsvField("a;b", ';'), "\"a;b\"");
}

}  // namespace
