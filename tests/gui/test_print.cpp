// Printing on a machine without a printer: the current printer is a PDF
// printer at 600 dpi on A4, and the print command writes the pages of the
// chosen range into the PDF file named in the print dialog.
#include <QPageSize>
#include <QPrinter>
#include <QProgressDialog>
#include <QtTest>

#include <QDir>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/Files.h"
#include "preview/PrintJob.h"
#include "preview/PrintProgress.h"
#include "printing/qt/SheetPdf.h"
#include "support/GradeFiles.h"
#include "support/PdfCheck.h"
#include "support/PreviewWindow.h"
#include "support/SheetFiles.h"

class PrintTest : public QObject {
  Q_OBJECT

 private slots:
  void noPrinterMeansPdfAt600OnA4() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(w.sheetPreview().Printer() != nullptr);
    QCOMPARE(w.sheetPreview().Printer()->outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(w.sheetPreview().Printer()->resolution(), 600);
    QCOMPARE(w.sheetPreview().Printer()->pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(w.sheetPreview().Setup().Metrics[DevicePrinter].Dpi, 600);
    // The printable area of A4 at 600 dpi (210 x 297 mm less the paper margins).
    const TDeviceMetrics& pr = w.sheetPreview().Setup().Metrics[DevicePrinter];
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
    MainWindow& w = p.W();
    QVERIFY(p.Open(4, 80));
    w.showSheet();
    QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, 8);
    while (w.sheetPreview().Page() < shown) w.sheetPreview().nextPage();
    const QString pdf = p.Path("out.pdf");
    p.Script->PrintToFile = pdf;
    PrintChoice choice;
    choice.Kind = PrintChoice::Range(kind);
    choice.FromPage = from;
    choice.ToPage = to;
    p.Script->Prints.push_back(choice);
    w.sheetOutput().printSheet();
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
    QCOMPARE(w.sheetPreview().Page(), shown);  // printing leaves the preview as it was
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
    MainWindow& w = p.W();
    QVERIFY(p.Open(4, 80));
    w.showSheet();
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
    w.sheetOutput().printSheet();
    QCOMPARE(p.Script->Count(ScriptedDialogs::Kind::Print), 1);
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(p.Script->Messages().isEmpty());
  }

  void unwritableFileIsReported_data() {
    QTest::addColumn<QString>("target");  // relative to the test folder, or absolute
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder that does not exist") << "no/such/dir/out.pdf" << "不存在";
    QTest::newRow("a folder, not a file") << "sub" << "文件夹";
    QTest::newRow("under a file, not a folder") << "grades.txt/out.pdf" << "";
    QTest::newRow("a read-only file") << "readonly.pdf" << "只读";
    // A folder nobody may create files in, not even the superuser.
    QTest::newRow("a folder of the system") << "/sys/gradesheet-test.pdf" << "权限";
    QTest::newRow("a read-only folder") << "locked/out.pdf" << "权限";
  }
  void unwritableFileIsReported() {
    QFETCH(QString, target);
    QFETCH(QString, reason);
    if (target.startsWith("locked/") && ::geteuid() == 0)
      QSKIP("the superuser writes into read-only folders (the /sys row covers this as root)");
    if (target.startsWith("/sys/") && !QDir("/sys").exists()) QSKIP("no /sys here");
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(1, 40));
    QVERIFY(QDir(p.Dir.path()).mkdir("sub"));
    QVERIFY(QDir(p.Dir.path()).mkdir("locked"));
    QVERIFY(QFile::setPermissions(p.Path("locked"), QFile::ReadOwner | QFile::ExeOwner));
    const QString readOnly = p.Path("readonly.pdf");
    QVERIFY(testfiles::WriteFile(readOnly, "old"));
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner));
    w.showSheet();
    const QString path = target.startsWith('/') ? target : p.Path(target);
    p.Script->PrintToFile = path;
    p.Script->Prints.push_back(PrintChoice{});
    w.sheetOutput().printSheet();

    const QStringList errors = p.Script->Texts(ScriptedDialogs::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].contains(path), qPrintable(errors[0]));
    QVERIFY2(errors[0].contains(reason), qPrintable(errors[0]));
    QCOMPARE(testfiles::ReadFile(readOnly), std::string("old"));
    QCOMPARE(QDir(p.Path("locked")).entryList(QDir::Files | QDir::Hidden).size(), 0);
    QFile::setPermissions(p.Path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  // The message names the file as every file message does: a byte that
  // would break the line shows as \xNN.
  void unwritableFileIsNamedByItsBytes() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(1, 40));
    w.showSheet();
    p.Script->PrintToFile = p.Path(QStringLiteral("new\nline/out.pdf"));
    p.Script->Prints.push_back(PrintChoice{});
    w.sheetOutput().printSheet();
    const QStringList errors = p.Script->Texts(ScriptedDialogs::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors[0], QStringLiteral("无法写入PDF文件：") + p.Path(QStringLiteral("new\\x0Aline/out.pdf")) +
                            QStringLiteral("\n文件或文件夹不存在"));
  }

  // The disk fills in the middle of the job (here: a file-size limit): the
  // job fails with the reason, and the PDF that was there stays whole.
  void failureInTheMiddleOfTheJob() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(4, 80));
    w.showSheet();
    const QString pdf = p.Path("out.pdf");
    QVERIFY(testfiles::WriteFile(pdf, "the PDF of yesterday"));
    p.Script->PrintToFile = pdf;
    p.Script->Prints.push_back(PrintChoice{});
    rlimit before{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &before) == 0);
    rlimit small = before;
    small.rlim_cur = 4096;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    w.sheetOutput().printSheet();
    ::setrlimit(RLIMIT_FSIZE, &before);

    const QStringList errors = p.Script->Texts(ScriptedDialogs::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].contains(pdf), qPrintable(errors[0]));
    QVERIFY2(errors[0].contains("文件太大"), qPrintable(errors[0]));
    QCOMPARE(testfiles::ReadFile(pdf), std::string("the PDF of yesterday"));
    // No half-written file is left beside it.
    QCOMPARE(QDir(p.Dir.path()).entryList({"*.pdf*", ".*pdf*"}, QDir::Files | QDir::Hidden),
             QStringList{"out.pdf"});

    // With room again, the same job replaces it.
    p.Script->ClearCalls();
    p.Script->Prints.push_back(PrintChoice{});
    w.sheetOutput().printSheet();
    QVERIFY(p.Script->Messages().isEmpty());
    QCOMPARE(PdfPageCount(pdf), std::optional<int>(8));
  }

  // The job itself: a cancelled one ends quietly and leaves the file as it
  // was; one that cannot start a page is a failure.
  void cancelledJobLeavesTheFile() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("out.pdf");
    QVERIFY(testfiles::WriteFile(pdf, "old"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(pdf);
    preview::PrintJob job(printer);
    QVERIFY(job.Begin());
    job.Painter().drawText(100, 100, "page 1");
    QVERIFY(job.NewPage());
    job.Painter().drawText(100, 100, "page 2");
    job.Cancel();
    QVERIFY(!job.NewPage());
    QVERIFY(job.Finish());
    QVERIFY(job.Message().isEmpty());
    QCOMPARE(testfiles::ReadFile(pdf), std::string("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"});
  }

  // A file job drawn in one go: cancelled, the old file stays and no
  // temporary is left; written, it replaces the old one.
  void fileJobInOneGo() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("out.pdf");
    QVERIFY(testfiles::WriteFile(pdf, "old"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(pdf);
    printer.setResolution(600);
    {
      preview::PrintJob job(printer);
      QVERIFY(job.WritesFile());
      QVERIFY(job.WriteFile([](platform::OutputFile& out, const PdfPaper& paper) {
        if (paper.Resolution != 600) return SheetPdfOutcome::Failed;
        out.Write("%PDF-half");
        return SheetPdfOutcome::Cancelled;
      }));
      QVERIFY(job.Message().isEmpty());
    }
    QCOMPARE(testfiles::ReadFile(pdf), std::string("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"});
    preview::PrintJob job(printer);
    QVERIFY(job.WriteFile([](platform::OutputFile& out, const PdfPaper&) {
      out.Write("%PDF-whole");
      return SheetPdfOutcome::Written;
    }));
    QCOMPARE(testfiles::ReadFile(pdf), std::string("%PDF-whole"));
  }

  void finishedJobWritesEveryPage() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("out.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(pdf);
    printer.setResolution(600);
    printer.setDocName("成绩单");
    preview::PrintJob job(printer);
    QVERIFY(job.Begin());
    // The page the sheet was laid out for: the printer's printable area.
    QCOMPARE(job.Painter().device()->width(), printer.width());
    QCOMPARE(job.Painter().device()->height(), printer.height());
    for (int page = 1; page <= 3; ++page) {
      job.Painter().drawText(600, 600, QString("page %1").arg(page));
      if (page < 3) QVERIFY(job.NewPage());
    }
    QVERIFY(job.Finish());
    QCOMPARE(PdfPageCount(pdf), std::optional<int>(3));
    QVERIFY(PdfPageText(pdf, 3).contains("page 3"));
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
    MainWindow& w = p.W();
    QVERIFY(p.Open(1, 40));
    w.showSheetByClass();
    p.Script->Prints.push_back(std::nullopt);
    w.sheetOutput().printSheet();
    QCOMPARE(p.Script->PrintJobTitles, QStringList{"grades.txt - 学生成绩单(分班)"});
  }
};

int main(int argc, char** argv) {
  // No print server: this is the machine without a printer.
  qputenv("CUPS_SERVER", "/nonexistent/gradesheet-test/cups.sock");
  qputenv("QT_QPA_PLATFORM", "offscreen");
  platform::IgnoreFileSizeSignal();  // as the program does: a file-size limit fails a write
  QApplication app(argc, argv);
  PrintTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "test_print.moc"
