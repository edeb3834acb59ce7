// The sheet's PDF drawn in parallel parts over a shared form and joined,
// against the reference: every page drawn whole into one document. The
// pages must read and look the same (poppler's pdftotext and pdftoppm), and
// the file must be sound (qpdf --check), no larger, with the font embedded.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <ostream>

#include "gradefile/GradeBook.h"
#include "printing/qt/SheetPdf.h"
#include "tests/core/test_module_mapped.h"
#include "text/Gbk.h"

namespace {

QString Tool(const QString& program, const QStringList& args, int* exitCode = nullptr) {
  QProcess process;
  process.start(program, args);
  process.waitForFinished(60000);
  if (exitCode) *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return QString::fromUtf8(process.readAllStandardOutput());
}

int PageCount(const QString& pdf) {
  const QString info = Tool("pdfinfo", {pdf});
  for (const QString& line : info.split('\n'))
    if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
  return -1;
}

QString PageText(const QString& pdf, int page) {
  return Tool("pdftotext", {"-layout", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
}

QImage PageImage(const QString& pdf, int page, const QString& prefix) {
  Tool("pdftoppm", {"-r", "150", "-gray", "-singlefile", "-f", QString::number(page), "-l", QString::number(page),
                   pdf, prefix});
  return QImage(prefix + ".pgm");
}

// Pixels whose grey differs by more than anti-aliasing makes.
int StrongDifferences(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return -1;
  int differ = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) differ += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 96;
  return differ;
}

std::string Record(const std::string& key, int n, const char* name, const char* grade) {
  std::string line = key + "cj" + std::to_string(2024000000 + n);
  line += Gbk(name);
  line.resize(25, ' ');
  line += Gbk("软件2401");
  line.resize(33, ' ');
  for (int i = 0; i < 3; ++i) {
    line += Gbk(grade);
    line.resize(39 + 6 * i, ' ');
  }
  return line;
}

// Courses of the given sizes with full headings, numbers and grade words.
GradeBook Book(const std::vector<int>& students) {
  GradeBook book;
  const char* names[] = {"赵伟", "钱芳芳", "孙敏", "李静怡"};
  const char* grades[] = {"85", "100", "缺考", "及格", "作弊", "61"};
  int course = 0, n = 0;
  for (int count : students) {
    const std::string key = "C000" + std::to_string(course++);
    for (const char* tag : {"t0", "t1", "tk", "tj", "td", "tb", "t9"})
      book.HeadLines.push_back(key + tag + Gbk(std::string(tag) == "t9" ? "30" : "高等数学(一)"));
    for (int i = 0; i < count; ++i, ++n) book.GradeLines.push_back(Record(key, n, names[n % 4], grades[n % 6]));
  }
  book.BuildCourseList();
  return book;
}

struct JoinCase {
  const char* Name;
  std::vector<int> Students;  // per course
  int Threads;
  int PartPages;  // 0: as the threads make them
  std::int32_t First, Last;
  int Pages;                     // pages in the file
  std::vector<int> Compared;     // pages of the file compared as pictures
  bool NoLarger;                 // enough pages for the form to outweigh the parts' fonts
};

std::ostream& operator<<(std::ostream& os, const JoinCase& c) { return os << c.Name; }

class SheetPdfJoin : public ::testing::TestWithParam<JoinCase> {};

TEST_P(SheetPdfJoin, ReadsAndLooksAsTheDirectDrawing) {
  const JoinCase& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const GradeBook book = Book(c.Students);

  auto write = [&](const QString& name, SheetPdfOptions options) {
    PrintSetup setup;
    ApplyDefaultPrintSettings(setup);
    const QString path = dir.filePath(name);
    const SheetPdfResult result =
        WriteSheetPdf(QFile::encodeName(path).toStdString(), book, setup, SheetKind::WholeCourse, c.First, c.Last, options);
    EXPECT_TRUE(result.Ok) << name.toStdString();
    EXPECT_EQ(result.PagesWritten, c.Pages);
    return path;
  };
  SheetPdfOptions direct;
  direct.Direct = true;
  SheetPdfOptions joined;
  joined.Threads = c.Threads;
  joined.PartPages = c.PartPages;
  const QString reference = write("direct.pdf", direct);
  const QString pdf = write("joined.pdf", joined);
  // Without its module the join falls back to the direct drawing, and the
  // comparison below would compare that drawing with itself. (Left to
  // choose, the program draws a short sheet directly on purpose.)
  if (c.Threads > 0) {
    ASSERT_TRUE(testmodules::Mapped("gradesheet-pdfjoin"))
        << "the join's module was not loaded (GRADESHEET_MODULE_DIR="
        << (std::getenv("GRADESHEET_MODULE_DIR") ?: "") << ")";
  }

  EXPECT_EQ(PageCount(pdf), c.Pages);
  for (int page = 1; page <= c.Pages; ++page) {
    const QString text = PageText(pdf, page);
    EXPECT_TRUE(text.contains(QStringLiteral("课程"))) << "page " << page;  // the form's labels
    EXPECT_EQ(text, PageText(reference, page)) << "page " << page;
  }
  for (int page : c.Compared)
    EXPECT_EQ(StrongDifferences(PageImage(pdf, page, dir.filePath("j")),
                                PageImage(reference, page, dir.filePath("d"))),
              0)
        << "page " << page;

  int checked = -1;
  Tool("qpdf", {"--check", pdf}, &checked);
  EXPECT_EQ(checked, 0);
  const QString fonts = Tool("pdffonts", {pdf});
  EXPECT_TRUE(fonts.contains(QStringLiteral("CID TrueType      Identity-H       yes"))) << fonts.toStdString();
  if (c.NoLarger) {
    EXPECT_LE(QFile(pdf).size(), QFile(reference).size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, SheetPdfJoin,
    ::testing::Values(
        JoinCase{"three_courses_in_three_parts", {45, 0, 12}, 3, 0, 1, 4, 4, {1, 3, 4}, false},
        JoinCase{"one_page_in_one_part", {10}, 2, 0, 1, 1, 1, {1}, false},
        JoinCase{"a_course_without_students", {0}, 1, 0, 1, 1, 1, {1}, false},
        JoinCase{"a_range_in_two_parts", {45, 0, 12}, 2, 0, 2, 3, 2, {1, 2}, false},
        JoinCase{"twelve_pages_in_one_part", {480}, 1, 0, 1, 12, 12, {12}, true},
        JoinCase{"twelve_pages_in_four_parts_on_two_threads", {480}, 2, 3, 1, 12, 12, {1, 4, 12}, false},
        JoinCase{"a_range_in_parts_of_one_page", {45, 0, 12}, 3, 1, 2, 4, 3, {2, 4}, false},
        JoinCase{"one_page_as_the_machine_chooses", {10}, 0, 0, 1, 1, 1, {1}, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SheetPdfPartsTest, OnePartAThread) {
  struct Row {
    int Threads;
    std::int32_t Pages, PartPages;
  };
  for (const Row& r : {Row{1, 1000, 1000}, Row{1, 1, 1}, Row{2, 1000, 500}, Row{2, 1001, 501}, Row{8, 100, 13},
                       Row{4, 2, 1}, Row{3, 10, 4}}) {
    const std::int32_t each = SheetPdfPartPages(r.Threads, r.Pages);
    EXPECT_EQ(each, r.PartPages) << r.Threads << " threads, " << r.Pages << " pages";
    // Every thread has a part to draw.
    EXPECT_GE((r.Pages + each - 1) / each, std::min<std::int32_t>(r.Threads, r.Pages));
  }
}

TEST(SheetPdfThreadsTest, FollowTheRequestWithinThePages) {
  EXPECT_EQ(SheetPdfThreads(3, 2), 2);   // no thread without a page
  EXPECT_EQ(SheetPdfThreads(20, 100), 8);
  EXPECT_EQ(SheetPdfThreads(0, 50), 1);  // a short sheet is one part
  EXPECT_GE(SheetPdfThreads(0, 1000), 1);
}

// An installation missing the join's module still writes the sheet, drawn
// whole by one thread.
TEST(SheetPdfWithoutTheJoin, IsWrittenWhole) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  if (testmodules::Mapped("gradesheet-pdfjoin"))
    GTEST_SKIP() << "the join is loaded in this process already: run the test alone, as ctest does";
  // The suite may run as one process (the sanitizer run does): the folder is
  // named back afterwards, or every later join in it would be without its module.
  struct NamedModuleDir {
    std::optional<std::string> Before;
    explicit NamedModuleDir(const QString& path) {
      if (const char* was = std::getenv("GRADESHEET_MODULE_DIR")) Before = was;
      ::setenv("GRADESHEET_MODULE_DIR", QFile::encodeName(path).constData(), 1);
    }
    ~NamedModuleDir() {
      if (Before) ::setenv("GRADESHEET_MODULE_DIR", Before->c_str(), 1);
      else ::unsetenv("GRADESHEET_MODULE_DIR");
    }
  } empty(dir.path());
  const GradeBook book = Book({480});
  PrintSetup setup;
  ApplyDefaultPrintSettings(setup);
  SheetPdfOptions options;
  options.Threads = 2;
  const QString pdf = dir.filePath("alone.pdf");
  const SheetPdfResult result = WriteSheetPdf(QFile::encodeName(pdf).toStdString(), book, setup, SheetKind::WholeCourse, 1, 12, options);
  EXPECT_TRUE(result.Ok);
  EXPECT_EQ(PageCount(pdf), 12);
  EXPECT_TRUE(PageText(pdf, 12).contains(QStringLiteral("课程")));
  // One document, one font: no parts were joined.
  EXPECT_EQ(Tool("pdffonts", {pdf}).count(QStringLiteral("CID TrueType")), 1);
  int checked = -1;
  Tool("qpdf", {"--check", pdf}, &checked);
  EXPECT_EQ(checked, 0);
}

TEST(SheetPdfCancel, StopsAndLeavesTheFileUnwritten) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  GradeBook book = Book({400});
  PrintSetup setup;
  ApplyDefaultPrintSettings(setup);
  TPageList pages;
  TRowList rows;
  SheetKind kind = SheetKind::WholeCourse;
  GradeSheetPrinter printer(book, setup, kind, pages, rows);
  printer.MakePages();
  for (bool direct : {false, true}) {
    platform::FileStatus status;
    std::optional<platform::OutputFile> out =
        platform::OutputFile::Begin(QFile::encodeName(dir.filePath("x.pdf")).toStdString(), status);
    ASSERT_TRUE(out);
    SheetPdfOptions options;
    options.Direct = direct;
    options.Threads = 2;
    // The direct drawing asks before every page, the parallel one before it
    // starts and while its threads draw.
    int asked = 0;
    options.Progress = [&](int) { return ++asked < (direct ? 2 : 1); };
    EXPECT_EQ(DrawSheetPdf({book, setup, kind, pages, rows}, SheetPaper(), 1, 10, *out, options),
              SheetPdfOutcome::Cancelled);
    EXPECT_EQ(asked, direct ? 2 : 1);
    out->Abandon();
  }
  EXPECT_FALSE(QFile::exists(dir.filePath("x.pdf")));
}

}  // namespace
