// Loading, saving, the course list, the shown course, share edits and the
// write-through of grade edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "gradefile/GradeBook.h"
#include "gradefile/Record.h"
#include "grading/GradeParser.h"
#include "grading/Weighting.h"
#include "test_gradebook_fixture.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

namespace fs = std::filesystem;
using namespace gradebook_test;

namespace {

using enum GradeField;

// ---------------------------------------------------------------- loading

TEST_F(GradeBookTest, SplitsLinesIntoHeaderLinesAndRecords) {
  std::string rec = Record("K0001", "2023000001", "李明", "计科2301", "85", "90", " 88");
  GradeBook book = Loaded(Join({Magic(), "K0001tk" + G("高等数学"), "", "ab", rec, "K0001zz", "K0001Cj"}));
  EXPECT_EQ(book.HeadLines, (Lines{"K0001tk" + G("高等数学"), "", "ab", "K0001zz", "K0001Cj"}));
  EXPECT_EQ(book.GradeLines, (Lines{rec}));
  EXPECT_FALSE(book.Modified);
}

struct LineEndCase {
  const char* name;
  std::string bytes;
  Lines head;
  std::string trailer = {};  // from the Ctrl-Z on
};
void PrintTo(const LineEndCase& c, std::ostream* os) { *os << c.name; }

class LineEnds : public GradeBookTest, public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEnds, AreReadAsDescribed) {
  GradeBook book = Loaded(GetParam().bytes);
  EXPECT_EQ(book.HeadLines, GetParam().head);
  EXPECT_TRUE(book.GradeLines.empty());
  EXPECT_EQ(book.Trailer, GetParam().trailer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineEnds,
    ::testing::Values(
        LineEndCase{"crlf", Magic() + "\r\nK0001tk A\r\nK0001tj B\r\n", {"K0001tk A", "K0001tj B"}},
        LineEndCase{"lf", Magic() + "\nK0001tk A\nK0001tj B\n", {"K0001tk A", "K0001tj B"}},
        LineEndCase{"mixed", Magic() + "\nK0001tk A\r\nK0001tj B\n", {"K0001tk A", "K0001tj B"}},
        LineEndCase{"noFinalEnd", Magic() + "\r\nK0001tk A\r\nK0001tj B", {"K0001tk A", "K0001tj B"}},
        LineEndCase{"loneCrStays", Magic() + "\r\nK0001tk A\rB\r\n", {"K0001tk A\rB"}},
        LineEndCase{"ctrlZEnds", Magic() + "\r\nK0001tk A\r\n\x1AK0001tj B\r\n", {"K0001tk A"},
                    "\x1AK0001tj B\r\n"},
        LineEndCase{"ctrlZMidLine", Magic() + "\r\nK0001tk A\x1A" "B\r\n", {"K0001tk A"}, "\x1A" "B\r\n"},
        LineEndCase{"ctrlZLast", Magic() + "\r\nK0001tk A\r\n\x1A", {"K0001tk A"}, "\x1A"},
        LineEndCase{"emptyLines", Magic() + "\r\n\r\n\r\nK0001tk A\r\n", {"", "", "K0001tk A"}},
        LineEndCase{"magicOnly", Magic() + "\r\n", {}}, LineEndCase{"magicOnlyNoEnd", Magic(), {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RejectCase {
  const char* name;
  std::string bytes;
};
void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.name; }

class NotAGradeFile : public GradeBookTest, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(NotAGradeFile, IsRejectedAndTheOpenBookStays) {
  GradeBook book = Loaded(Join({Magic(), "K0001tk A", Record("K0001", "1", "甲", "", "1", "2", "3")}));
  book.Modified = true;
  const GradeBook before = book;
  fs::path p = Write("bad.txt", GetParam().bytes);
  LoadResult r = book.Load(p);
  EXPECT_EQ(r.Outcome, LoadOutcome::NotGradeFile);
  EXPECT_EQ(r.Message, p.string() + "不是Velmora生成的文件，打开失败!");
  EXPECT_EQ(book.HeadLines, before.HeadLines);
  EXPECT_EQ(book.GradeLines, before.GradeLines);
  EXPECT_EQ(book.CourseKeys, before.CourseKeys);
  EXPECT_TRUE(book.Modified);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotAGradeFile,
    ::testing::Values(RejectCase{"empty", ""}, RejectCase{"trailingBlank", Magic() + " \r\nK0001tk A\r\n"},
                      RejectCase{"leadingBlank", " " + Magic() + "\r\n"},
                      RejectCase{"utf8Magic", "***** VelmoraTarvin版 *****\r\n"},
                      RejectCase{"oneByteOff", "***** VelmoraTarvin" + G("板") + " *****\r\n"},
                      RejectCase{"crWithoutLf", Magic() + "\r"}, RejectCase{"ctrlZFirst", "\x1A" + Magic() + "\r\n"},
                      RejectCase{"binary", std::string("\0\xFF\xFE\x01", 4)}),
    [](const auto& info) { return std::string(info.param.name); });

// Files are read in blocks of 256 KiB: a line end, a record or a Ctrl-Z that
// straddles a block edge reads as in one piece.
TEST_F(GradeBookTest, LinesAcrossReadBlocksReadAsInOnePiece) {
  constexpr std::size_t kBlock = 1 << 18;
  for (std::size_t shift : {0u, 1u, 2u, 3u, 60u}) {
    for (const std::string& tail : {std::string("\r\n"), std::string("\n"), std::string("\x1A" "after")}) {
      std::string bytes = Magic() + "\r\n";
      std::string filler = "K0001tz";
      // One header line that ends `shift` bytes before the block edge, so its
      // line end (or the Ctrl-Z) lands on the edge.
      filler.resize(kBlock - bytes.size() - shift, 'x');
      bytes += filler + tail + Record("K0001", "1", "甲", "", "1", "2", "3") + "\r\n" +
               std::string(2 * kBlock, 'y') + "\r\nK0002tk B";
      GradeBook fromFile;
      ASSERT_EQ(fromFile.Load(Write("blocks.txt", bytes)).Outcome, LoadOutcome::Loaded);
      GradeBook fromBytes;
      ASSERT_TRUE(fromBytes.ReadBytes(bytes));
      EXPECT_EQ(fromFile.HeadLines, fromBytes.HeadLines) << shift;
      EXPECT_EQ(fromFile.GradeLines, fromBytes.GradeLines) << shift;
      EXPECT_EQ(fromFile.Trailer, fromBytes.Trailer) << shift;
      EXPECT_EQ(fromFile.HeadLines.front(), filler) << shift;
      if (tail[0] == '\x1A') {
        EXPECT_EQ(fromFile.HeadLines.size(), 1u);
        EXPECT_TRUE(fromFile.GradeLines.empty());
        EXPECT_EQ(fromFile.Trailer, bytes.substr(bytes.find('\x1A'))) << shift;
      } else {
        EXPECT_EQ(fromFile.HeadLines.size(), 3u);
        EXPECT_EQ(fromFile.GradeLines.size(), 1u);
        EXPECT_EQ(fromFile.HeadLines[1], std::string(2 * kBlock, 'y'));
      }
    }
  }
}

TEST_F(GradeBookTest, HugeFirstLineIsRejectedEarly) {
  GradeBook book;
  LoadResult r = book.Load(Write("huge.txt", std::string(3 << 20, '*')));
  EXPECT_EQ(r.Outcome, LoadOutcome::NotGradeFile);
  // The magic line followed by more bytes without a line end is no magic line either.
  EXPECT_EQ(book.Load(Write("longer.txt", Magic() + std::string(1 << 19, ' '))).Outcome, LoadOutcome::NotGradeFile);
}

TEST_F(GradeBookTest, SuccessfulLoadReplacesEverythingAndClearsModified) {
  GradeBook book = Loaded(Join({Magic(), "K0001tk A", Record("K0001", "1", "甲", "一班", "1", "2", "3")}));
  book.Modified = true;
  ASSERT_EQ(book.Load(Write("second.txt", Join({Magic(), "K0002tk B"}))).Outcome, LoadOutcome::Loaded);
  EXPECT_EQ(book.HeadLines, (Lines{"K0002tk B"}));
  EXPECT_TRUE(book.GradeLines.empty());
  EXPECT_TRUE(book.CourseKeys.empty());  // derived lists wait for BuildCourseList
  EXPECT_TRUE(book.ClassGroups.empty());
  EXPECT_FALSE(book.Modified);
}

// ---------------------------------------------------------------- writing

TEST_F(GradeBookTest, OrderedFileIsReproducedByteForByte) {
  std::string bytes = Join({Magic(), "K0001t0" + G("学生考试(考查)成绩表"), "K0001tk" + G("高等数学"),
                            "K0001qq unknown tag", "K0001t9 30",
                            Record("K0001", "2023000001", "李明", "计科2301", "85", "90", " 88"),
                            Record("K0001", "2023000002", "王芳", "计科2302", "", "", "", "", " beyond 57"),
                            "", "K0002tk B", "k0002tk lower-case key is another course",
                            Record("k0002", "7", "甲", "", "优", "良", "")});
  fs::path p = Write("ordered.txt", bytes);
  GradeBook book;
  ASSERT_EQ(book.Load(p).Outcome, LoadOutcome::Loaded);
  EXPECT_EQ(book.Serialize(), bytes);
  ASSERT_TRUE(book.Save(p).Ok);
  EXPECT_EQ(Read(p), bytes);
}

TEST_F(GradeBookTest, LfFileComesBackWithCrLf) {
  std::vector<std::string> lines = {Magic(), "K0001tk A", Record("K0001", "1", "甲", "", "1", "2", "3")};
  GradeBook book = Loaded(Join(lines, "\n"));
  EXPECT_EQ(book.Serialize(), Join(lines, "\r\n"));
}

TEST_F(GradeBookTest, DemoFileIsReproducedByteForByte) {
  fs::path demo = fs::path(GS_SAMPLES) / "demo.txt";
  GradeBook book;
  ASSERT_EQ(book.Load(demo).Outcome, LoadOutcome::Loaded);
  EXPECT_EQ(book.Serialize(), Read(demo));
}

// The writer's placement for files that break its assumption: records go
// after the first run of their key, records without header lines go last.
TEST_F(GradeBookTest, BrokenFileWritesEveryLineExactlyOnce) {
  std::string a1 = Record("AAAAA", "1", "甲", "", "1", "", "");
  std::string a2 = Record("AAAAA", "2", "乙", "", "2", "", "");
  std::string b1 = Record("BBBBB", "3", "丙", "", "3", "", "");
  std::string o1 = Record("ORPHN", "4", "丁", "", "4", "", "");
  std::string o2 = Record("ZZZZZ", "5", "戊", "", "5", "", "");
  GradeBook book = Loaded(Join({Magic(), o1, "AAAAAtk first run", a1, "BBBBBtk B", b1, "AAAAAtj second run",
                                a2, "AAAAAtb still second", o2}));
  EXPECT_EQ(book.CourseKeys, (Lines{"AAAAA", "BBBBB", "AAAAA"}));
  std::string expected = Join({Magic(), "AAAAAtk first run", a1, a2, "BBBBBtk B", b1, "AAAAAtj second run",
                               "AAAAAtb still second", o1, o2});
  EXPECT_EQ(book.Serialize(), expected);

  // Written and read again, the file is stable.
  GradeBook again = Loaded(expected);
  EXPECT_EQ(again.Serialize(), expected);
}

TEST_F(GradeBookTest, RecordsOfAKeyKeepTheirOrderAcrossInterleaving) {
  std::string a1 = Record("AAAAA", "1", "甲", "", "", "", "");
  std::string b1 = Record("BBBBB", "1", "乙", "", "", "", "");
  std::string a2 = Record("AAAAA", "2", "丙", "", "", "", "");
  GradeBook book = Loaded(Join({Magic(), "AAAAAtk A", "BBBBBtk B", a1, b1, a2}));
  EXPECT_EQ(book.Serialize(), Join({Magic(), "AAAAAtk A", a1, a2, "BBBBBtk B", b1}));
}

TEST_F(GradeBookTest, SaveKeepsPermissionsAndReplacesAtomically) {
  std::string bytes = Join({Magic(), "K0001tk A"});
  fs::path p = Write("keep.txt", bytes);
  ASSERT_EQ(::chmod(p.c_str(), 0640), 0);
  GradeBook book;
  ASSERT_EQ(book.Load(p).Outcome, LoadOutcome::Loaded);
  book.BuildCourseList();
  ASSERT_TRUE(book.StoreShare(0, "30"));
  ASSERT_TRUE(book.Modified);
  SaveResult r = book.Save(p);
  ASSERT_TRUE(r.Ok) << GbkToUtf8(r.Message);
  EXPECT_TRUE(r.Message.empty());
  EXPECT_FALSE(book.Modified);
  EXPECT_EQ(Read(p), Join({Magic(), "K0001tk A", "K0001t930"}));
  struct stat st {};
  ASSERT_EQ(::stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(DirEntries(), (std::vector<std::string>{"keep.txt"}));  // no temporary file left
}

TEST_F(GradeBookTest, SaveThroughALinkReplacesTheLinkedFile) {
  fs::path real = Write("real.txt", Join({Magic(), "K0001tk A"}));
  fs::path link = dir_ / "link.txt";
  fs::create_symlink(real, link);
  GradeBook book;
  ASSERT_EQ(book.Load(link).Outcome, LoadOutcome::Loaded);
  book.HeadLines.push_back("K0001tj T");
  ASSERT_TRUE(book.Save(link).Ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(real), Join({Magic(), "K0001tk A", "K0001tj T"}));
}

// ------------------------------------------------------- course list

TEST_F(GradeBookTest, CourseRowsTakeTheirWindowsUntrimmed) {
  std::string longName = G("一二三四五六七八九十一二三四五六七八");  // 36 bytes
  GradeBook book = Loaded(Join({Magic(), "AAAAAtk" + longName, "AAAAAtj" + G("张三丰老师"), "AAAAAtb" + G("  一班, 二班 "),
                                "AAAAAtk" + G("后来的名字 "), "BBBBBt9 30", "CCCCCtj" + G("李"), ""}));
  EXPECT_EQ(book.CourseKeys, (Lines{"AAAAA", "BBBBB", "CCCCC", ""}));
  ASSERT_EQ(book.CourseTitles.size(), 4u);
  // The later "tk" wins; the teacher is cut to 8 bytes; the classes keep their blanks.
  EXPECT_EQ(book.CourseTitles[0], G("后来的名字 ") + " " + G("张三丰老") + " " + G("  一班, 二班 "));
  EXPECT_EQ(book.CourseTitles[1], "  ");
  EXPECT_EQ(book.CourseTitles[2], " " + G("李") + " ");
  EXPECT_EQ(book.CourseTitles[3], "  ");

  GradeBook one = Loaded(Join({Magic(), "AAAAAtk" + longName}));
  EXPECT_EQ(one.CourseTitles[0], longName.substr(0, 31) + "  ");  // 31 bytes: the last character cut in half
}

TEST_F(GradeBookTest, NoHeaderLinesMeansNoCourse) {
  GradeBook book = Loaded(Join({Magic(), Record("K0001", "1", "甲", "一班", "1", "2", "3")}));
  EXPECT_TRUE(book.CourseKeys.empty());
  EXPECT_TRUE(book.CourseTitles.empty());
  EXPECT_EQ(book.ClassGroups, (Lines{"K0001" + G("一班") + "    "}));
  CourseView v = book.ShowCourse(GradeTexts::NoCourseKey());
  EXPECT_EQ(v.Share, "");
  ASSERT_EQ(v.Rows.size(), 1u);
  EXPECT_EQ(v.Rows[0].Cells, (std::array<std::string, 7>{}));
  EXPECT_EQ(v.Rows[0].LineIndex, static_cast<std::size_t>(-1));
}

TEST_F(GradeBookTest, ClassGroupsKeepFirstAppearanceOnce) {
  auto r = [](const char* key, const char* number, const char* klass) {
    return Record(key, number, "某", klass, "", "", "");
  };
  GradeBook book = Loaded(Join({Magic(), "AAAAAtk A", "BBBBBtk B", r("AAAAA", "1", "一班"), r("AAAAA", "2", "二班"),
                                r("AAAAA", "3", "一班"), r("BBBBB", "4", "一班"), r("AAAAA", "5", "二班"),
                                r("aaaaa", "6", "一班"), "AAAAAcj short"}));
  auto group = [](const char* key, const char* klass) {
    std::string c = G(klass);
    c.resize(8, ' ');
    return key + c;
  };
  EXPECT_EQ(book.ClassGroups, (Lines{group("AAAAA", "一班"), group("AAAAA", "二班"), group("BBBBB", "一班"),
                                     group("aaaaa", "一班"), "AAAAA"}));
  EXPECT_EQ(book.ClassGroups[0].size(), 13u);
}

TEST_F(GradeBookTest, RebuildingTheListIsIdempotent) {
  GradeBook book;
  ASSERT_EQ(book.Load(fs::path(GS_SAMPLES) / "demo.txt").Outcome, LoadOutcome::Loaded);
  book.BuildCourseList();
  Lines keys = book.CourseKeys, rows = book.CourseTitles, groups = book.ClassGroups;
  book.BuildCourseList();
  EXPECT_EQ(book.CourseKeys, keys);
  EXPECT_EQ(book.CourseTitles, rows);
  EXPECT_EQ(book.ClassGroups, groups);
}

// ------------------------------------------------------- the shown course

TEST_F(GradeBookTest, ShownCourseHasItsShareAndRowsAsTheyStand) {
  std::string r1 = Record("AAAAA", "2023000001", "李明", "计科2301", "85", " 90", " 88", "XYZ123", "tail");
  std::string r2 = "AAAAAcj2023000002" + G("王芳");  // short record
  GradeBook book = Loaded(Join({Magic(), "AAAAAt9 40 ", "AAAAAtk A", "AAAAAt9  35   more", "BBBBBt9 10",
                                "BBBBBtk B", Record("BBBBB", "9", "丙", "", "", "", ""), r1, r2}));
  CourseView v = book.ShowCourse("AAAAA");
  EXPECT_EQ(v.Share, "35");  // the last "t9" wins; positions 8-13 only, trimmed
  ASSERT_EQ(v.Rows.size(), 2u);
  EXPECT_EQ(v.Rows[0].Cells, (std::array<std::string, 7>{"   1", "2023000001", G("李明") + "    ",
                                                          G("计科2301"), "85    ", " 90   ", " 88   "}));
  EXPECT_EQ(v.Rows[0].LineIndex, 1u);
  EXPECT_EQ(v.Rows[1].Cells, (std::array<std::string, 7>{"   2", "2023000002", G("王芳"), "", "", "", ""}));
  EXPECT_EQ(v.Rows[1].LineIndex, 2u);
  EXPECT_EQ(book.ShowCourse("BBBBB").Share, "10");
  EXPECT_EQ(book.ShowCourse("aaaaa").Rows.size(), 1u);
  EXPECT_FALSE(book.Modified);
}

TEST_F(GradeBookTest, SplitCourseListsTwiceWithTheSameStudents) {
  GradeBook book = Loaded(Join({Magic(), "AAAAAtk A", "BBBBBtk B", "AAAAAt9 30",
                                Record("AAAAA", "1", "甲", "", "", "", "")}));
  ASSERT_EQ(book.CourseKeys, (Lines{"AAAAA", "BBBBB", "AAAAA"}));
  CourseView first = book.ShowCourse(book.CourseKeys[0]);
  CourseView third = book.ShowCourse(book.CourseKeys[2]);
  EXPECT_EQ(first.Share, "30");
  EXPECT_EQ(third.Share, "30");
  EXPECT_EQ(first.Rows[0].Cells, third.Rows[0].Cells);
}

// ------------------------------------------------------- share edits

TEST_F(GradeBookTest, ShareEditRewritesTheFirstT9Line) {
  GradeBook book = Loaded(Join({Magic(), "AAAAAtk A", "AAAAAt9 40 ", "AAAAAt9 50", "BBBBBt9 40"}));
  EXPECT_TRUE(book.StoreShare(0, "  30 "));
  EXPECT_EQ(book.HeadLines, (Lines{"AAAAAtk A", "AAAAAt930", "AAAAAt9 50", "BBBBBt9 40"}));
  EXPECT_TRUE(book.Modified);
  EXPECT_TRUE(book.StoreShare(0, ""));
  EXPECT_EQ(book.HeadLines[1], "AAAAAt9");
  // Longer than the 6-byte field (blanks around aside): not stored at all.
  EXPECT_FALSE(book.StoreShare(0, G("三十") + "1234567"));
  EXPECT_EQ(book.HeadLines[1], "AAAAAt9");
  EXPECT_TRUE(book.StoreShare(0, " 100.0 "));
  EXPECT_EQ(book.HeadLines[1], "AAAAAt9100.0");
}

TEST_F(GradeBookTest, ShareEditCreatesT9InsideTheCoursesOwnRun) {
  GradeBook book = Loaded(Join({Magic(), "AAAAAtk A", "AAAAAtj T", "BBBBBtk B", "AAAAAtb second run"}));
  ASSERT_TRUE(book.StoreShare(2, "40"));  // course 2 is the second run of AAAAA
  EXPECT_EQ(book.HeadLines, (Lines{"AAAAAtk A", "AAAAAtj T", "BBBBBtk B", "AAAAAtb second run", "AAAAAt940"}));
  ASSERT_TRUE(book.StoreShare(1, "30"));
  EXPECT_EQ(book.HeadLines, (Lines{"AAAAAtk A", "AAAAAtj T", "BBBBBtk B", "BBBBBt930", "AAAAAtb second run",
                                   "AAAAAt940"}));
  book.BuildCourseList();
  EXPECT_EQ(book.CourseKeys, (Lines{"AAAAA", "BBBBB", "AAAAA"}));  // still three runs, none new
  EXPECT_EQ(book.ShowCourse("BBBBB").Share, "30");
}

TEST_F(GradeBookTest, ShareEditWithoutACourseStoresNothing) {
  GradeBook book = Loaded(Join({Magic(), "AAAAAtk A", "", "ab"}));
  const Lines before = book.HeadLines;
  for (std::size_t course : {3U, 4U, 100U}) EXPECT_FALSE(book.StoreShare(course, "30")) << course;
  EXPECT_FALSE(book.StoreShare(static_cast<std::size_t>(-1), "30"));
  // Courses 1 and 2 are the empty and the short line: no five-byte key, so a
  // "t9" line could not belong to them.
  EXPECT_FALSE(book.StoreShare(1, "30"));
  EXPECT_FALSE(book.StoreShare(2, "30"));
  EXPECT_EQ(book.HeadLines, before);
  EXPECT_FALSE(book.Modified);

  GradeBook empty;
  EXPECT_FALSE(empty.StoreShare(0, "30"));
  EXPECT_TRUE(empty.HeadLines.empty());
}

TEST_F(GradeBookTest, ShareEditCannotBreakTheFileIntoLines) {
  GradeBook book = Loaded(Join({Magic(), "AAAAAtk A", "AAAAAt9 40"}));
  ASSERT_TRUE(book.StoreShare(0, "3\r\n0\x1A"));
  EXPECT_EQ(book.HeadLines[1], "AAAAAt93  0");
}

TEST_F(GradeBookTest, ShowingCoursesChangesNoShare) {
  GradeBook book = Loaded(Join({Magic(), "AAAAAt9 40 ", "BBBBBt9 30"}));
  const Lines before = book.HeadLines;
  book.ShowCourse("BBBBB");
  book.ShowCourse("AAAAA");
  EXPECT_EQ(book.HeadLines, before);
  EXPECT_FALSE(book.Modified);
}

// ------------------------------------------------------- write-through

class WriteThroughTest : public GradeBookTest {
 protected:
  void SetUp() override {
    GradeBookTest::SetUp();
    rec1 = Record("AAAAA", "2023000001", "李明", "一班", "80", "90", " 87", "KEEP57", "beyond");
    rec2 = Record("AAAAA", "2023000002", "王芳", "一班", "", "", "");
    other = Record("BBBBB", "2023000001", "李明", "一班", "1", "2", "3");
    book = Loaded(Join({Magic(), "AAAAAtk A", "AAAAAt9 30", "BBBBBtk B", other, rec1, rec2}));
    view = book.ShowCourse("AAAAA");
  }
  StudentRow& Row(int i) { return view.Rows[static_cast<std::size_t>(i)]; }

  std::string rec1, rec2, other;
  GradeBook book;
  CourseView view;
};

TEST_F(WriteThroughTest, PickingAWordRecomputesAndRewritesTheRecord) {
  EXPECT_TRUE(book.WriteThrough(0, Row(0), Coursework, G("优"), view.Share));
  EXPECT_EQ(Row(0).Grade(Coursework), G("优"));
  EXPECT_EQ(Row(0).Grade(Total), " 63");  // 优 reads as 0: 0.7 * 90
  EXPECT_EQ(book.GradeLines[1], rec1.substr(0, 33) + G("优") + "    " + "90    " + " 63   " + "KEEP57");
  EXPECT_EQ(book.GradeLines[0], other);  // the same number in another course is not touched
  EXPECT_EQ(book.GradeLines[2], rec2);
  EXPECT_TRUE(book.Modified);
}

TEST_F(WriteThroughTest, TypingKeyByKeyKeepsCellTotalAndRecordInStep) {
  EXPECT_TRUE(book.WriteThrough(0, Row(1), Examination, "8", view.Share));
  EXPECT_EQ(Row(1).Grade(Total), "  6");  // 0.7 * 8 = 5.6
  EXPECT_EQ(Field(book.GradeLines[2], 34, 18), "      8       6   ");
  EXPECT_TRUE(book.WriteThrough(0, Row(1), Examination, "85", view.Share));
  EXPECT_EQ(Row(1).Grade(Examination), "85");
  EXPECT_EQ(Row(1).Grade(Total), " 60");  // 59.5 rounds to even
  EXPECT_EQ(Field(book.GradeLines[2], 34, 18), "      85     60   ");
  EXPECT_EQ(book.GradeLines[2].size(), 57u);
}

// What does not fit its 6-byte field is refused whole, whichever way it
// comes: the grid keeps showing what the record holds.
struct TooLongEdit {
  const char* name;
  GradeField field;
  std::string text;  // GBK
  std::string share;
  GradeEditFit fit;
};

class TooLongEdits : public WriteThroughTest, public ::testing::WithParamInterface<TooLongEdit> {};

TEST_P(TooLongEdits, AreRefusedAndChangeNothing) {
  const TooLongEdit& e = GetParam();
  const auto cellsBefore = Row(0).Cells;
  const Lines before = book.GradeLines;
  EXPECT_EQ(PlanGradeEdit(Row(0), e.field, e.text, e.share).Fit, e.fit);
  EXPECT_FALSE(book.WriteThrough(0, Row(0), e.field, e.text, e.share));
  EXPECT_EQ(Row(0).Cells, cellsBefore);
  EXPECT_EQ(book.GradeLines, before);
  EXPECT_FALSE(book.Modified);
}

INSTANTIATE_TEST_SUITE_P(
    Grades, TooLongEdits,
    ::testing::Values(TooLongEdit{"typed_seven_digits", Coursework, "1234567", "30", GradeEditFit::TextTooLong},
                      TooLongEdit{"pasted_word", Examination, G("不通过考试"), "30", GradeEditFit::TextTooLong},
                      TooLongEdit{"cut_lead_byte", Examination, "a" + G("优优优"), "30", GradeEditFit::TextTooLong},
                      TooLongEdit{"typed_total", Total, "1234567", "30", GradeEditFit::TextTooLong},
                      TooLongEdit{"total_of_an_exponent", Examination, "9e999", "30", GradeEditFit::TotalTooLong},
                      TooLongEdit{"total_at_a_bad_share", Coursework, "999999", "150", GradeEditFit::TotalTooLong}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriteThroughTest, TextsThatFitAreStoredAndShownAsTheRecordHoldsThem) {
  EXPECT_TRUE(book.WriteThrough(0, Row(0), Examination, G("不及格"), view.Share));
  EXPECT_EQ(Row(0).Grade(Examination), G("不及格"));
  EXPECT_EQ(Field(book.GradeLines[1], 40, 6), G("不及格"));
  EXPECT_TRUE(book.WriteThrough(0, Row(0), Coursework, "123456", view.Share));
  EXPECT_EQ(Row(0).Grade(Total), "37037");  // 0.3 * 123456 + 0.7 * 不及格 (0)
  EXPECT_EQ(Field(book.GradeLines[1], 46, 6), "37037 ");
  EXPECT_EQ(book.GradeLines[1].size(), 57u);
}

TEST(PaddedGbk, NeverCutsACharacterInTwo) {
  EXPECT_EQ(PaddedGbk("a" + G("优优优"), 6), "a" + G("优优") + " ");
  EXPECT_EQ(PaddedGbk(G("不及格者"), 6), G("不及格"));
  EXPECT_EQ(PaddedGbk("85", 6), "85    ");
  EXPECT_EQ(PaddedGbk("1234567", 6), "123456");
}

TEST_F(WriteThroughTest, EditingTheTotalStoresItAsTyped) {
  EXPECT_TRUE(book.WriteThrough(0, Row(0), Total, G("缓考"), view.Share));
  EXPECT_EQ(Row(0).Grade(Coursework), "80    ");
  EXPECT_EQ(Row(0).Grade(Total), G("缓考"));
  EXPECT_EQ(Field(book.GradeLines[1], 34, 18), "80    90    " + G("缓考") + "  ");
}

TEST_F(WriteThroughTest, RowWithoutRecordChangesOnlyTheCells) {
  StudentRow student{{"   9", "9999999999", "", "", "", "", ""}};
  const Lines before = book.GradeLines;
  EXPECT_FALSE(book.WriteThrough(0, student, Coursework, "70", view.Share));
  EXPECT_EQ(student.Grade(Coursework), "70");
  EXPECT_EQ(student.Grade(Total), " 21");
  EXPECT_EQ(book.GradeLines, before);
  EXPECT_TRUE(book.Modified);

  StudentRow placeholder = EmptyCourseRows().front();
  GradeBook none = Loaded(Join({Magic(), "AAAAAtk A"}));
  EXPECT_FALSE(none.WriteThrough(0, placeholder, Examination, "1", ""));
  EXPECT_EQ(placeholder.Grade(Examination), "1");
  EXPECT_TRUE(none.GradeLines.empty());
}

TEST_F(WriteThroughTest, OnlyListedCoursesAreWritten) {
  const Lines before = book.GradeLines;
  StudentRow student = Row(0);
  EXPECT_FALSE(book.WriteThrough(static_cast<std::size_t>(-1), student, Coursework, "70", view.Share));  // none
  EXPECT_FALSE(book.WriteThrough(2, student, Coursework, "70", view.Share));
  EXPECT_EQ(student.Grade(Coursework), "70");
  EXPECT_EQ(book.GradeLines, before);
}

TEST_F(WriteThroughTest, StudentNumberMatchesOverAllTenBytes) {
  std::string shortNumber = Record("CCCCC", "2023", "甲", "", "", "", "");
  GradeBook b = Loaded(Join({Magic(), "CCCCCtk C", Record("CCCCC", "2023     x", "乙", "", "", "", ""),
                             shortNumber}));
  CourseView v = b.ShowCourse("CCCCC");
  ASSERT_EQ(v.Rows.size(), 2u);
  EXPECT_TRUE(b.WriteThrough(0, v.Rows[1], Coursework, "99", ""));
  EXPECT_EQ(Field(b.GradeLines[1], 34, 6), "99    ");
  EXPECT_EQ(Field(b.GradeLines[0], 34, 6), "      ");
}

TEST_F(WriteThroughTest, DuplicateNumbersWriteTheFirstRecord) {
  std::string dup = Record("AAAAA", "2023000001", "重号", "二班", "", "", "");
  GradeBook b = Loaded(Join({Magic(), "AAAAAtk A", rec1, dup}));
  CourseView v = b.ShowCourse("AAAAA");
  EXPECT_TRUE(b.WriteThrough(0, v.Rows[1], Total, "1", ""));
  EXPECT_EQ(Field(b.GradeLines[0], 46, 6), "1     ");
  EXPECT_EQ(b.GradeLines[1], dup);
}

TEST_F(WriteThroughTest, ShortRecordKeepsItsColumns) {
  GradeBook b = Loaded(Join({Magic(), "AAAAAtk A", "AAAAAcj2023000009" + G("短")}));
  CourseView v = b.ShowCourse("AAAAA");
  EXPECT_TRUE(b.WriteThrough(0, v.Rows[0], Coursework, "77", ""));
  const std::string& line = b.GradeLines[0];
  EXPECT_EQ(line.size(), 51u);
  EXPECT_EQ(Field(line, 18, 8), G("短") + "      ");
  EXPECT_EQ(Field(line, 34, 6), "77    ");
  EXPECT_EQ(Field(line, 46, 6), "  0   ");
  // Read again, the grid shows what was typed.
  GradeBook again = Loaded(b.Serialize());
  EXPECT_EQ(again.ShowCourse("AAAAA").Rows[0].Cells[4], "77    ");
}

TEST_F(WriteThroughTest, LineBreaksTypedIntoACellCannotSplitTheRecord) {
  EXPECT_TRUE(book.WriteThrough(0, Row(0), Coursework, "8\n5", view.Share));
  EXPECT_EQ(Row(0).Grade(Coursework), "8 5");  // as the record holds it
  EXPECT_EQ(Field(book.GradeLines[1], 34, 6), "8 5   ");
  GradeBook again = Loaded(book.Serialize());
  EXPECT_EQ(again.GradeLines.size(), book.GradeLines.size());
  EXPECT_EQ(again.HeadLines, book.HeadLines);
}

TEST_F(WriteThroughTest, EditedBookSavesAndLoadsBack) {
  ASSERT_TRUE(book.WriteThrough(0, Row(0), Examination, "100", view.Share));
  fs::path p = dir_ / "edited.txt";
  ASSERT_TRUE(book.Save(p).Ok);
  GradeBook again;
  ASSERT_EQ(again.Load(p).Outcome, LoadOutcome::Loaded);
  // Each course's records follow its header lines now.
  EXPECT_EQ(again.GradeLines, (Lines{book.GradeLines[1], book.GradeLines[2], book.GradeLines[0]}));
  EXPECT_EQ(again.ShowCourse("AAAAA").Rows[0].Cells[6], " 94   ");
}

// ------------------------------------------------------- the demo file

TEST_F(GradeBookTest, DemoFileHasWhatTheDemoPromises) {
  GradeBook book;
  ASSERT_EQ(book.Load(fs::path(GS_SAMPLES) / "demo.txt").Outcome, LoadOutcome::Loaded);
  book.BuildCourseList();
  ASSERT_GE(book.CourseKeys.size(), 4u);
  std::size_t largest = 0;
  bool withoutTitle = false;
  for (const std::string& key : book.CourseKeys) {
    CourseView v = book.ShowCourse(key);
    largest = std::max(largest, v.Rows.size());
    bool hasT0 = false;
    for (const auto& line : book.HeadLines) hasT0 = hasT0 || (KeyOf(line) == key && TagOf(line) == "t0");
    withoutTitle = withoutTitle || !hasT0;
    for (const StudentRow& row : v.Rows) {
      std::int32_t s = 0;
      std::string cw = row.Cells[4], ex = row.Cells[5];
      TrimBlanks(cw);
      TrimBlanks(ex);
      // Where both grades are numbers the stored total is the computed one.
      if (!cw.empty() && !ex.empty() && ParseGrade(cw, s) == GradeCode::Number && ParseGrade(ex, s) == GradeCode::Number) {
        EXPECT_EQ(row.Cells[6], ComputeTotal(v.Share, cw, ex) + "   ") << GbkToUtf8(row.Cells[1]);
      }
    }
  }
  EXPECT_GT(largest, 40u);
  EXPECT_TRUE(withoutTitle);
  EXPECT_GT(book.ClassGroups.size(), book.CourseKeys.size());
}

}  // namespace
