// An import as the window goes through it: which heading leaves the score
// columns to the teacher, and the preview again with the columns chosen.
// Also which file type an export's name asks for.
#include <optional>
#include <vector>

#include "exchange/ImportSession.h"
#include "test_exchange_fixture.h"
#include "text/Blanks.h"

using namespace exchange;
using namespace exchange_test;

namespace {

// Course 01213 (share 30): 余佳 87/71/76, 孟姣芳 with no grades.
GradeBook SmallBook() {
  GradeBook book;
  book.HeadLines = {Head("01213", "tk", "高等数学(一)"), Head("01213", "t9", "30")};
  book.GradeLines = {Record("01213", "2023040101", "余佳", "计科2301", "87", "71", " 76"),
                     Record("01213", "2023040102", "孟姣芳", "计科2301", "", "", "")};
  book.BuildCourseList();
  return book;
}

std::vector<std::string> Utf8(const std::vector<std::string>& gbk) {
  std::vector<std::string> out;
  for (const std::string& s : gbk) out.push_back(GbkToUtf8(s));
  return out;
}

struct HeadingCase {
  const char* name;
  std::string csv;
  ImportFailure failure;
  std::vector<std::string> columnNames;  // UTF-8
  std::size_t headingLine, coursework, examination;
  bool clear;       // ScoreColumnsClear
  bool asks;        // the session offers the choosers
};

void PrintTo(const HeadingCase& c, std::ostream* os) { *os << c.name; }

class HeadingTable : public ScratchDirTest, public ::testing::WithParamInterface<HeadingCase> {};

TEST_P(HeadingTable, SaysWhetherTheScoreColumnsAreClear) {
  const HeadingCase& c = GetParam();
  const GradeBook book = SmallBook();
  const fs::path csv = dir_ / "scores.csv";
  std::ofstream(csv, std::ios::binary) << c.csv;
  ImportSession session(book, "01213", csv.string());
  const ImportPreview& p = session.Start();
  EXPECT_EQ(p.Failure, c.failure) << p.Message;
  EXPECT_EQ(Utf8(p.ColumnNames), c.columnNames);
  EXPECT_EQ(p.HeadingLine, c.headingLine);
  EXPECT_EQ(p.CourseworkColumn, c.coursework);
  EXPECT_EQ(p.ExaminationColumn, c.examination);
  EXPECT_EQ(ScoreColumnsClear(p), c.clear);
  EXPECT_EQ(session.CanShow(), c.failure == ImportFailure::None || !c.columnNames.empty());
  EXPECT_EQ(session.AsksColumns(), c.asks);
}

INSTANTIATE_TEST_SUITE_P(
    Headings, HeadingTable,
    ::testing::Values(
        HeadingCase{"both_named", "学号,姓名,平时成绩, 考试成绩 \n2023040101,余佳,90,85\n", ImportFailure::None,
                    {"学号", "姓名", "平时成绩", "考试成绩"}, 1, 3, 4, true, false},
        HeadingCase{"two_exams", "学号,姓名,平时,期中考试,期末考试\n2023040101,余佳,90,85,80\n", ImportFailure::None,
                    {"学号", "姓名", "平时", "期中考试", "期末考试"}, 1, 3, 4, false, true},
        HeadingCase{"exam_only", "学号,姓名,卷面\n2023040101,余佳,85\n", ImportFailure::None,
                    {"学号", "姓名", "卷面"}, 1, 0, 3, false, true},
        // The heading is there, only its score is not named: the teacher
        // chooses; the line under a title is the heading.
        HeadingCase{"no_score_named", "期末成绩\n学号,姓名,分数\n2023040101,余佳,85\n",
                    ImportFailure::NoScoreColumn, {"学号", "姓名", "分数"}, 2, 0, 0, false, true},
        HeadingCase{"no_student_column", "姓名,分数\n余佳,85\n", ImportFailure::NoStudentColumn, {}, 0, 0, 0, false,
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

class ImportSessionTest : public ScratchDirTest {};

TEST_F(ImportSessionTest, PreviewsAgainWithTheColumnsChosen) {
  const GradeBook book = SmallBook();
  const fs::path csv = dir_ / "scores.csv";
  std::ofstream(csv, std::ios::binary) << "学号,姓名,分数,附加\n2023040101,余佳,85,60\n2023040102,孟姣芳,良,70\n";
  ImportSession session(book, "01213", csv.string());
  session.Start();
  ASSERT_TRUE(session.CanShow());
  EXPECT_FALSE(session.CanImport());
  EXPECT_EQ(session.StudentColumn(), 1u);

  struct Step {
    ScoreColumns chosen;
    ImportFailure failure;
    std::vector<std::string> newGrades;  // coursework/examination/total of each changed row, UTF-8
  };
  const Step steps[] = {
      {{0, 3}, ImportFailure::None, {"87/85/86", "/良/0"}},
      {{4, 3}, ImportFailure::None, {"60/85/78", "70/良/21"}},
      {{3, 0}, ImportFailure::None, {"85/71/75", "良//0"}},
      {{0, 0}, ImportFailure::NoScoreColumn, {}},
  };
  for (const Step& step : steps) {
    const ImportPreview& p = session.Choose(step.chosen);
    EXPECT_EQ(p.Failure, step.failure) << p.Message;
    EXPECT_EQ(session.Columns(), step.failure == ImportFailure::None ? step.chosen : ScoreColumns{});
    std::vector<std::string> grades;
    for (const MatchedRow& m : p.Matched) {
      if (!m.Changed) continue;
      grades.push_back(GbkToUtf8(TrimmedBlanks(m.New[0])) + "/" + GbkToUtf8(TrimmedBlanks(m.New[1])) + "/" +
                       GbkToUtf8(TrimmedBlanks(m.New[2])));
    }
    EXPECT_EQ(grades, step.newGrades) << step.chosen.Coursework << "," << step.chosen.Examination;
    EXPECT_EQ(session.CanImport(), !step.newGrades.empty());
    // The heading stays what the first preview found, for the choosers.
    EXPECT_EQ(Utf8(session.ColumnNames()), (std::vector<std::string>{"学号", "姓名", "分数", "附加"}));
  }
  EXPECT_EQ(session.Preview().Message, "请选择平时成绩或考试成绩所在的列");
  EXPECT_EQ(book.GradeLines, SmallBook().GradeLines) << "previews change nothing";
}

TEST(ExportFormatOf, TakesTheTypeFromTheExtensionInAnyCase) {
  const std::pair<const char*, std::optional<ExportFormat>> cases[] = {
      {"成绩.xlsx", ExportFormat::Xlsx}, {"/tmp/A.XLSX", ExportFormat::Xlsx}, {"b.CsV", ExportFormat::Csv},
      {"c.xls", std::nullopt},          {"xlsx", std::nullopt},              {"d.csv.txt", std::nullopt},
      {"", std::nullopt}};
  for (const auto& [name, format] : cases) EXPECT_EQ(ExportFormatOf(name), format) << name;
}

}  // namespace
