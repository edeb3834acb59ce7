// The courses a print is for and the sheet written as a PDF from the window,
// with scripted dialogs: the choice offered and its page counts, what is
// written, the findings first, and a grade file never written over. Which
// pages a choice prints is tested in the core suite.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include "app/SheetCoursesDialog.h"
#include "app/MainWindow.h"
#include "support/GradeFiles.h"
#include "support/PdfCheck.h"
#include "support/WindowHarness.h"

using namespace testfiles;
using Kind = ScriptedDialogs::Kind;

class SheetPdfExportTest : public QObject {
  Q_OBJECT

 private slots:
  void writesTheChosenCourses();
  void refusesToWriteOverAGradeFile();
  void findingsComeFirst();
  void printCountsThePagesOfTheChoice();
  void dialogTicksByKeyboardAndCountsPages();
};

namespace {

struct Opened {
  WindowHarness h;
  QString grades;
  Opened() {
    grades = h.Write("grades.txt", FileBytes(ThreeCourses()));
    h.Open(grades);
    h.SelectCourse(2);  // 高等数学
    h.Script->ClearCalls();
  }
};

SheetCoursesChoice Chosen(std::vector<std::string> keys) { return {CourseChoice::Chosen(std::move(keys)), {}}; }

}  // namespace

void SheetPdfExportTest::writesTheChosenCourses() {
  Opened o;
  ScriptedDialogs& s = *o.h.Script;
  const QString out = o.h.Dir.filePath("成绩单.pdf");
  s.SheetCourses.push_back(Chosen({"k0003", "k0002"}));
  s.SaveFiles.push_back(out);
  QVERIFY(o.h.W->commands().exportSheetPdf->isEnabled());
  o.h.W->commands().exportSheetPdf->trigger();

  QCOMPARE(s.Count(Kind::Findings), 1);
  QCOMPARE(s.SheetCoursesOffered.size(), std::size_t{1});
  const SheetCoursesOffer& offer = s.SheetCoursesOffered.front();
  QCOMPARE(offer.Courses.size(), 3);
  QCOMPARE(offer.ShownCourse, 1);
  QVERIFY(offer.WithPages);
  QCOMPARE(s.SheetCoursesPages.front(), std::make_pair(3, 2));  // all courses, the two chosen
  QCOMPARE(s.SavesSuggested, QStringList{o.h.Dir.filePath("grades.pdf")});
  QCOMPARE(s.Messages(), QStringList{QStringLiteral("成绩单已写入 %1，共 2 页。").arg(out)});
  QCOMPARE(PdfPageCount(out), std::optional<int>(2));
  QVERIFY(PdfPageText(out, 1).contains(QStringLiteral("高等数学")));
  QVERIFY(PdfPageText(out, 2).contains(QStringLiteral("体育")));
  QVERIFY(!PdfPageText(out, 1).contains(QStringLiteral("数据库原理")));
}

void SheetPdfExportTest::refusesToWriteOverAGradeFile() {
  Opened o;
  ScriptedDialogs& s = *o.h.Script;
  const std::string before = ReadFile(o.grades);
  s.SaveFiles.push_back(o.grades);
  o.h.W->commands().exportSheetPdf->trigger();
  QCOMPARE(s.Count(Kind::Error), 1);
  QCOMPARE(s.Count(Kind::Information), 0);
  QCOMPARE(ReadFile(o.grades), before);
}

void SheetPdfExportTest::findingsComeFirst() {
  Opened o;
  ScriptedDialogs& s = *o.h.Script;
  s.FindingsAnswers.push_back({FindingsChoice::Back, -1});
  o.h.W->commands().exportSheetPdf->trigger();
  QCOMPARE(s.Count(Kind::Findings), 1);
  QCOMPARE(s.Count(Kind::SheetCourses), 0);
  QCOMPARE(s.Count(Kind::SaveFile), 0);
  QCOMPARE(s.FindingsPurposes.back(), FindingsPurpose::Print);
}

void SheetPdfExportTest::printCountsThePagesOfTheChoice() {
  Opened o;
  ScriptedDialogs& s = *o.h.Script;
  o.h.W->commands().showSheet->trigger();  // the sheet, three pages
  s.ClearCalls();
  const QString out = o.h.Dir.filePath("printed.pdf");
  s.PrintToFile = out;
  s.SheetCourses.push_back(SheetCoursesChoice{CourseChoice::Shown("k0002"), {}});
  s.Prints.push_back(PrintChoice{});
  o.h.W->commands().print->trigger();
  QCOMPARE(s.Count(Kind::SheetCourses), 1);
  QVERIFY(!s.SheetCoursesOffered.back().WithPages);  // the print dialog has the range
  QCOMPARE(s.PrintRanges.back(), std::make_pair(1, 1));
  QCOMPARE(PdfPageCount(out), std::optional<int>(1));
  QVERIFY(PdfPageText(out, 1).contains(QStringLiteral("高等数学")));
}

void SheetPdfExportTest::dialogTicksByKeyboardAndCountsPages() {
  SheetCoursesOffer offer;
  offer.Courses = {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")};
  offer.Keys = {"A", "B", "C"};
  offer.ShownCourse = 1;
  offer.WithPages = true;
  // Course A has 2 pages, B 1, C 4.
  offer.PageCount = [](const CourseChoice& c) {
    return (c.Prints("A") ? 2 : 0) + (c.Prints("B") ? 1 : 0) + (c.Prints("C") ? 4 : 0);
  };
  SheetCoursesDialog dialog(offer, nullptr);
  dialog.show();
  QVERIFY(dialog.AllButton()->isChecked());
  QCOMPARE(dialog.PageCountLabel()->text(), QStringLiteral("共 7 页"));
  dialog.ShownButton()->click();
  QCOMPARE(dialog.PageCountLabel()->text(), QStringLiteral("共 1 页"));

  // Down to the third course, Space ticks it: the choice is the ticked courses.
  QListWidget* list = dialog.CourseList();
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Space);
  QVERIFY(dialog.ChosenButton()->isChecked());
  QCOMPARE(dialog.PageCountLabel()->text(), QStringLiteral("共 5 页"));  // B ticked at the start, and C
  const SheetCoursesChoice choice = dialog.Chosen();
  QCOMPARE(choice.Courses.Which, CourseChoice::Scope::ChosenCourses);
  QCOMPARE(choice.Courses.Keys, (std::vector<std::string>{"B", "C"}));
  QCOMPARE(choice.Pages.Kind, PrintChoice::AllPages);
}

QTEST_MAIN(SheetPdfExportTest)
#include "test_sheet_pdf_export.moc"
