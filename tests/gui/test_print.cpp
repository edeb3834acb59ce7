// Printing on a machine without a printer: the current printer is a PDF
// printer at 600 dpi on A4, and the print command writes the pages of the
// chosen range into the PDF file named in the print dialog.
#include <QPageSize>
#include <QPrinter>
#include <QProgressDialog>
#include <QtTest>

#include "preview/PrintProgress.h"
#include "support/PdfCheck.h"
#include "support/PreviewWindow.h"
#include "support/SheetFiles.h"

class PrintTest : public QObject {
  Q_OBJECT

 private slots:
  void noPrinterMeansPdfAt600OnA4() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(w.Printer != nullptr);
    QCOMPARE(w.Printer->outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(w.Printer->resolution(), 600);
    QCOMPARE(w.Printer->pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(w.Setup.Metrics[DevicePrinter].Dpi, 600);
    // The printable area of A4 at 600 dpi (210 x 297 mm less the paper margins).
    const TDeviceMetrics& pr = w.Setup.Metrics[DevicePrinter];
    QVERIFY(pr.PageWidth > 4000 && pr.PageWidth <= 4961);
    QVERIFY(pr.PageHeight > 6000 && pr.PageHeight <= 7016);
    // Default margins at 600 dpi.
    QCOMPARE(pr.MarginLeft, 197);
    QCOMPARE(pr.MarginTop, 394);
  }

  void ranges_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("shown");  // the page in the preview
    QTest::addColumn<QList<int>>("printed");
    QTest::newRow("pages 3 to 5") << int(PrintChoice::PageRange) << 3 << 5 << 1
                                  << QList<int>{3, 4, 5};
    QTest::newRow("selection is the page shown") << int(PrintChoice::Selection) << 1 << 1 << 7
                                                 << QList<int>{7};
    QTest::newRow("all pages") << int(PrintChoice::AllPages) << 1 << 1 << 2
                               << QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("range past the end stops at the last page")
        << int(PrintChoice::PageRange) << 7 << 20 << 1 << QList<int>{7, 8};
  }
  void ranges() {
    QFETCH(int, kind);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, shown);
    QFETCH(QList<int>, printed);
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(4, 80));
    w.N11Click();
    QCOMPARE(w.SheetPrinter->FPageCount, 8);
    while (w.CurPage < shown) w.SpeedButton2Click();
    const QString pdf = p.Path("out.pdf");
    p.Script->PrintToFile = pdf;
    PrintChoice choice;
    choice.Kind = PrintChoice::Range(kind);
    choice.FromPage = from;
    choice.ToPage = to;
    p.Script->Prints.push_back(choice);
    w.P1Click();
    QCOMPARE(p.Script->PrintRanges, (std::vector<std::pair<int, int>>{{1, 8}}));
    QCOMPARE(p.Script->PrintJobTitles, QStringList{"grades.txt - 学生成绩单"});
    QCOMPARE(PdfPageCount(pdf), std::optional<int>(int(printed.size())));
    for (int i = 0; i < printed.size(); ++i) {
      const QString text = PdfPageText(pdf, i + 1);
      QVERIFY2(text.contains("学生考试(考查)成绩表"), qPrintable(text.left(400)));
      for (const QString& number : NumbersOnUniformPage(printed[i]))
        QVERIFY2(text.contains(number), qPrintable(number + " missing on printed page " +
                                                   QString::number(i + 1)));
      // Nothing of the page before.
      if (printed[i] > 1) QVERIFY(!text.contains(NumbersOnUniformPage(printed[i] - 1).first()));
    }
    QCOMPARE(w.CurPage, shown);  // printing leaves the preview as it was
    QVERIFY(p.Script->Messages().isEmpty());
  }

  void nothingPrinted_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("first page after the last") << false;
    QTest::newRow("dialog cancelled") << true;
  }
  void nothingPrinted() {
    QFETCH(bool, cancel);
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(4, 80));
    w.N11Click();
    const QString pdf = p.Path("out.pdf");
    p.Script->PrintToFile = pdf;
    if (cancel) {
      p.Script->Prints.push_back(std::nullopt);
    } else {
      PrintChoice choice;
      choice.Kind = PrintChoice::PageRange;
      choice.FromPage = 5;
      choice.ToPage = 3;
      p.Script->Prints.push_back(choice);
    }
    w.P1Click();
    QCOMPARE(p.Script->Count(ScriptedDialogs::Kind::Print), 1);
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(p.Script->Messages().isEmpty());
  }

  void unwritableFileIsReported() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(1, 40));
    w.N11Click();
    p.Script->PrintToFile = p.Path("no/such/dir/out.pdf");
    p.Script->Prints.push_back(PrintChoice{});
    w.P1Click();
    QCOMPARE(p.Script->Count(ScriptedDialogs::Kind::Error), 1);
    QVERIFY(p.Script->Texts(ScriptedDialogs::Kind::Error).first().contains("out.pdf"));
  }

  void progressCanBeCancelled() {
    preview::PrintProgress single(nullptr, {4, 4});
    QVERIFY(single.Dialog() == nullptr);  // one page: nothing to show
    QVERIFY(single.Step(4));
    preview::PrintProgress job(nullptr, {3, 9});
    QVERIFY(job.Dialog() != nullptr);
    QCOMPARE(job.Dialog()->maximum(), 7);
    QVERIFY(job.Step(3));
    QVERIFY(job.Step(4));
    QCOMPARE(job.Dialog()->value(), 1);
    job.Dialog()->cancel();
    QVERIFY(!job.Step(5));
  }

  void splitSheetJobTitle() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(1, 40));
    w.G1Click();
    p.Script->Prints.push_back(std::nullopt);
    w.P1Click();
    QCOMPARE(p.Script->PrintJobTitles, QStringList{"grades.txt - 学生成绩单(分班)"});
  }
};

int main(int argc, char** argv) {
  // No print server: this is the machine without a printer.
  qputenv("CUPS_SERVER", "/nonexistent/gradesheet-test/cups.sock");
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  PrintTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "test_print.moc"
