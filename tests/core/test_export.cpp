// Export of courses: what is taken from the book, the CSV bytes, worksheet
// names, and writing through the safe output.
#include <sys/stat.h>

#include <vector>

#include "test_exchange_fixture.h"

using namespace exchange;
using namespace exchange_test;

namespace {

// Course 01213 has its header lines in two runs and a teacher given twice;
// course 02107 has no "t9" line; course 03000 has no students.
GradeBook MakeBook() {
  GradeBook book;
  book.HeadLines = {Head("01213", "tk", " 高等数学(一) "), Head("01213", "tj", "陈建华  "),
                    Head("01213", "tb", "计科2301,计科2302"), Head("02107", "tk", "大学英语"),
                    Head("01213", "t9", " 30"),           Head("01213", "tj", "王老师"),
                    Head("03000", "tk", "体育")};
  book.GradeLines = {
      Record("01213", "2023040101", "余佳", "计科2301", "87", "71", " 76"),
      Record("02107", "2023050101", "王英", "软件2301", "优", "缺考", "  0"),
      Record("01213", "0023040102", "孟姣芳", "计科2301", "", "８５", ""),
      Record("99999", "2023000000", "无课程", "", "1", "2", "3"),
  };
  book.BuildCourseList();
  return book;
}

std::string U(const std::string& gbk) { return GbkToUtf8(gbk); }

TEST(CoursesForExport, TakesTrimmedTextsOnceForEachCourse) {
  const std::vector<ExportCourse> courses = CoursesForExport(MakeBook());
  ASSERT_EQ(courses.size(), 3u);  // 01213 is listed twice but exported once
  const ExportCourse& a = courses[0];
  EXPECT_EQ(a.Key, "01213");
  EXPECT_EQ(U(a.Name), "高等数学(一)");
  EXPECT_EQ(U(a.Teacher), "王老师");  // the later line wins
  EXPECT_EQ(U(a.Classes), "计科2301,计科2302");
  EXPECT_EQ(a.Share, "30");
  ASSERT_EQ(a.Students.size(), 2u);
  EXPECT_EQ(a.Students[1].Number, "0023040102");
  EXPECT_EQ(U(a.Students[1].Name), "孟姣芳");
  EXPECT_EQ(a.Students[1].Coursework, "");
  EXPECT_EQ(U(a.Students[1].Examination), "８５");
  EXPECT_EQ(courses[1].Key, "02107");
  EXPECT_EQ(courses[1].Share, "");
  EXPECT_EQ(courses[2].Key, "03000");
  EXPECT_TRUE(courses[2].Students.empty());

  const std::vector<ExportCourse> one = CoursesForExport(MakeBook(), "02107");
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(U(one[0].Students[0].Coursework), "优");
  EXPECT_TRUE(CoursesForExport(MakeBook(), "99999").empty());  // records without a course
}

TEST(CsvExport, WritesUtf8WithBomAndCrLf) {
  const GradeBook book = MakeBook();
  EXPECT_EQ(CsvExportBytes(CoursesForExport(book, "01213"), false),
            "\xEF\xBB\xBF"
            "序号,学号,姓名,班级,平时成绩,考试成绩,总成绩\r\n"
            "1,2023040101,余佳,计科2301,87,71,76\r\n"
            "2,0023040102,孟姣芳,计科2301,,８５,\r\n");
  EXPECT_EQ(CsvExportBytes(CoursesForExport(book), true),
            "\xEF\xBB\xBF"
            "课程号,课程,序号,学号,姓名,班级,平时成绩,考试成绩,总成绩\r\n"
            "01213,高等数学(一),1,2023040101,余佳,计科2301,87,71,76\r\n"
            "01213,高等数学(一),2,0023040102,孟姣芳,计科2301,,８５,\r\n"
            "02107,大学英语,1,2023050101,王英,软件2301,优,缺考,0\r\n");
}

TEST(CsvExport, QuotesCellsThatHoldCommasAndQuotes) {
  ExportCourse c;
  c.Key = "00001";
  c.Name = Gbk("语文,数学");
  c.Students.push_back({"1", Gbk("A\"B"), "", "", "", ""});
  EXPECT_EQ(CsvExportBytes({c}, true), "\xEF\xBB\xBF"
                                       "课程号,课程,序号,学号,姓名,班级,平时成绩,考试成绩,总成绩\r\n"
                                       "00001,\"语文,数学\",1,1,\"A\"\"B\",,,,\r\n");
}

// A spreadsheet runs a cell that begins with = + - @ (or a tab or CR) as a
// formula; the export makes every such text plain text.
TEST(CsvExport, WritesNoFormula) {
  ExportCourse c;
  c.Key = "=0001";
  c.Name = "=2+3";
  c.Students.push_back({"1", "=1+1", "@SUM(A1)", "+1-2", "-3+4", "-5"});
  c.Students.push_back({"2", "\tx", "\rx", "a=b", "+5", ""});
  EXPECT_EQ(CsvExportBytes({c}, true), "\xEF\xBB\xBF"
                                       "课程号,课程,序号,学号,姓名,班级,平时成绩,考试成绩,总成绩\r\n"
                                       "'=0001,'=2+3,1,1,'=1+1,'@SUM(A1),'+1-2,'-3+4,-5\r\n"
                                       "'=0001,'=2+3,2,2,'\tx,\"'\rx\",a=b,+5,\r\n");
}

// What is exported imports again; the only change is a full-width number,
// which the import writes in ASCII so that the total can read it.
TEST(CsvExport, ReadsBackAsAnImport) {
  GradeBook book = MakeBook();
  const std::string csv = CsvExportBytes(CoursesForExport(book, "01213"), false);
  const ImportPreview p = PreviewImportBytes(book, "01213", csv, {});
  ASSERT_TRUE(p.Ok()) << p.Message;
  ASSERT_EQ(p.Matched.size(), 2u);
  EXPECT_FALSE(p.Matched[0].Changed);
  EXPECT_TRUE(p.Matched[1].Changed);
  EXPECT_EQ(p.Matched[1].New[1], "85");
  EXPECT_EQ(p.Matched[1].New[2], " 60");
  EXPECT_EQ(p.SkippedCount(), 0u);
  EXPECT_TRUE(p.Missing.empty());
}

TEST(XlsxSheetNames, FollowExcelsRules) {
  const std::vector<std::pair<const char*, const char*>> table = {
      {"高等数学(一)", "高等数学(一)"},
      {"a/b\\c?d*e[f]g:h", "a_b_c_d_e_f_g_h"},
      {"'quoted'", "_quoted_"},
      // 31 characters at most, counted as characters, not bytes.
      {"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三", "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一"},
      {"History", "History(2)"},
      {"高等数学(一)", "高等数学(一)(2)"},
      {"HIGH", "HIGH"},
      {"high", "high(2)"},  // Excel compares names without regard to case
      {"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三",
       "一二三四五六七八九十一二三四五六七八九十一二三四五六七八(2)"},
      {"", "00009"},  // no name: the course key
  };
  std::vector<ExportCourse> courses;
  for (std::size_t i = 0; i < table.size(); ++i) {
    ExportCourse c;
    c.Key = "0000" + std::to_string(i);
    c.Name = Gbk(table[i].first);
    courses.push_back(c);
  }
  const std::vector<std::string> names = XlsxSheetNames(courses);
  ASSERT_EQ(names.size(), table.size());
  for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(names[i], table[i].second) << i;
}

using ExportFileTest = ScratchDirTest;

TEST_F(ExportFileTest, WritesBothFormatsAndLeavesNoTemporaryFiles) {
  const std::vector<ExportCourse> courses = CoursesForExport(MakeBook());
  const fs::path csv = dir_ / "out.csv", xlsx = dir_ / "out.xlsx";
  ASSERT_TRUE(WriteCsvExport(csv.string(), courses, true).Ok);
  EXPECT_EQ(Read(csv), CsvExportBytes(courses, true));
  const ExportResult r = WriteXlsxExport(xlsx.string(), courses);
  ASSERT_TRUE(r.Ok) << r.Message;
  EXPECT_EQ(Read(xlsx).substr(0, 4), std::string("PK\x03\x04", 4));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(ExportFileTest, AFailedExportLeavesTheOldFileWhole) {
  const std::vector<ExportCourse> courses = CoursesForExport(MakeBook());
  const fs::path target = dir_ / "old.xlsx";
  std::ofstream(target, std::ios::binary) << "old bytes";
  ::chmod(target.c_str(), 0444);
  for (const ExportResult& r : {WriteXlsxExport(target.string(), courses), WriteCsvExport(target.string(), courses, false)}) {
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Message, target.string() + "：导出失败，文件是只读的");
  }
  EXPECT_EQ(Read(target), "old bytes");

  const ExportResult none = WriteXlsxExport((dir_ / "none.xlsx").string(), {});
  EXPECT_EQ(none.Message, (dir_ / "none.xlsx").string() + "：导出失败，没有可导出的课程");
  EXPECT_FALSE(fs::exists(dir_ / "none.xlsx"));

  const fs::path nowhere = dir_ / "no" / "such" / "dir.xlsx";
  const ExportResult r = WriteXlsxExport(nowhere.string(), courses);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Message, nowhere.string() + "：导出失败，文件或文件夹不存在");

  // A name that is no UTF-8 (here GBK bytes) keeps every byte in the message.
  const std::string gbkName = (dir_ / "no").string() + "/" + Gbk("张三") + ".csv";
  EXPECT_EQ(WriteCsvExport(gbkName, courses, false).Message,
            (dir_ / "no").string() + "/\\xD5\\xC5\\xC8\\xFD.csv：导出失败，文件或文件夹不存在");
}

}  // namespace
