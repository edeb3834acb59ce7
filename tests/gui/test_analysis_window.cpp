// The window 课程成绩分析: opened from 窗口 at the course shown, its page and
// zoom commands, printing to a PDF file and the PDF export. What the page
// draws is tested on the recording canvas in the core suite.
#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include "app/AnalysisWindow.h"
#include "app/MainWindow.h"
#include "support/GradeFiles.h"
#include "support/PdfCheck.h"
#include "support/WindowHarness.h"

using namespace testfiles;
using Kind = ScriptedDialogs::Kind;

namespace {

std::vector<CourseAnalysis> Courses() {
  GradeBook book;
  book.ReadBytes(FileBytes(ThreeCourses()));
  book.BuildCourseList();
  return AnalyseCourses(book);
}

struct Window {
  explicit Window(const QString& name = QStringLiteral("grades.txt")) : gradeFile(h.Write(name, FileBytes(ThreeCourses()))) {}
  WindowHarness h{false};
  QPrinter printer{QPrinter::HighResolution};
  QString gradeFile;
  AnalysisWindow w{nullptr, Courses(), 1, FontSpec{1, 10, "\xCB\xCE\xCC\xE5", 0}, printer, *h.Script,
                   gradeFile.toStdString()};
};

}  // namespace

class AnalysisWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void opensAtTheCourseShown() {
    WindowHarness h;
    QVERIFY(!h.W->commands().analysis->isEnabled());
    h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
    QVERIFY(h.W->commands().analysis->isEnabled());
    QCOMPARE(h.W->commands().analysis->text(), QStringLiteral("成绩分析(&A)"));
    h.SelectCourse(2);
    int page = -1, pages = 0;
    QString status;
    QTimer::singleShot(0, [&] {
      auto* window = dynamic_cast<AnalysisWindow*>(QApplication::activeModalWidget());
      if (window == nullptr) return;
      page = window->CurrentPage();
      pages = window->PageCount();
      status = window->StatusText();
      window->close();
    });
    h.W->commands().analysis->trigger();
    QCOMPARE(page, 1);
    QCOMPARE(pages, 3);
    QVERIFY2(status.startsWith(QStringLiteral("第 2 页，共 3 页    k0002 高等数学")), qPrintable(status));
  }

  void pagesAndZoom() {
    Window t;
    AnalysisWindow& w = t.w;
    QCOMPARE(w.CurrentPage(), 1);
    w.nextPage->trigger();
    QCOMPARE(w.CurrentPage(), 2);
    QVERIFY(!w.nextPage->isEnabled());
    QVERIFY(!w.lastPage->isEnabled());
    w.nextPage->trigger();  // past the end: stays
    QCOMPARE(w.CurrentPage(), 2);
    w.firstPage->trigger();
    QCOMPARE(w.CurrentPage(), 0);
    QVERIFY(!w.previousPage->isEnabled());

    // A4 at the screen's resolution, scaled by each zoom step.
    const int dpi = w.PageView()->logicalDpiY();
    QCOMPARE(w.PageView()->height(), qRound(297.0 * dpi / 25.4));
    w.zoomIn->trigger();
    QCOMPARE(w.Zoom(), 1.25);
    QCOMPARE(w.PageView()->width(), qRound(210.0 * dpi / 25.4 * 1.25));
    while (w.zoomOut->isEnabled()) w.zoomOut->trigger();
    QVERIFY(w.Zoom() < 0.5);
    QVERIFY(w.StatusText().endsWith(QStringLiteral("%1%").arg(qRound(w.Zoom() * 100))));
  }

  void printsChosenPagesToAFile() {
    Window t;
    const QString pdf = t.h.Dir.filePath("printed.pdf");
    t.h.Script->PrintToFile = pdf;
    t.h.Script->Prints.push_back(PrintChoice{PrintChoice::PageRange, 2, 3});
    t.w.printPages->trigger();
    QCOMPARE(t.h.Script->PrintRanges.at(0), std::make_pair(1, 3));
    QCOMPARE(t.h.Script->PrintJobTitles.at(0), QStringLiteral("课程成绩分析"));
    QCOMPARE(PdfPageCount(pdf), std::optional<int>(2));
    QVERIFY(PdfPageText(pdf, 1).contains(QStringLiteral("高等数学")));
    QVERIFY(PdfPageText(pdf, 2).contains(QStringLiteral("体育")));
    QCOMPARE(t.h.Script->Count(Kind::Error), 0);
  }

  void exportsEveryPageButNeverOverTheGradeFile() {
    Window t;
    const QString pdf = t.h.Dir.filePath("analysis");  // typed without its ending
    t.h.Script->SaveFiles.push_back(pdf);
    t.w.exportPdf->trigger();
    QCOMPARE(PdfPageCount(pdf + ".pdf"), std::optional<int>(3));
    QVERIFY(PdfPageText(pdf + ".pdf", 1).contains(QStringLiteral("数据库原理")));
    QVERIFY(t.h.Script->SavesSuggested.at(0).endsWith(QStringLiteral("grades-成绩分析.pdf")));

    // A grade file named like a PDF is still no place for the pages.
    Window named(QStringLiteral("grades.pdf"));
    const std::string before = ReadFile(named.gradeFile);
    named.h.Script->SaveFiles.push_back(named.gradeFile);
    named.w.exportPdf->trigger();
    QCOMPARE(named.h.Script->Count(Kind::Error), 1);
    QCOMPARE(ReadFile(named.gradeFile), before);
  }
};

QTEST_MAIN(AnalysisWindowTest)
#include "test_analysis_window.moc"
