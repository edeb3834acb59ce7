// Printing through a real print system: the default printer is the CUPS
// queue that scripts/cups-setup.sh makes (cups-pdf), and the PDF file CUPS
// writes is checked page by page. CUPS must be reachable: without it these
// tests fail, they are not skipped.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QtTest>

#include "support/PdfCheck.h"
#include "support/PreviewWindow.h"
#include "support/SheetFiles.h"

namespace {

const char kSetupHint[] =
    "run scripts/cups-setup.sh as root first (./test does): it starts cupsd and makes a "
    "cups-pdf queue the default printer";

// Where cups-pdf writes: the Out directory of /etc/cups/cups-pdf.conf, unless
// GS_CUPS_PDF_DIR names it.
QString CupsPdfDirectory() {
  const QByteArray env = qgetenv("GS_CUPS_PDF_DIR");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
  if (conf.open(QIODevice::ReadOnly)) {
    while (!conf.atEnd()) {
      const QString line = QString::fromUtf8(conf.readLine()).trimmed();
      if (line.startsWith(QStringLiteral("Out ")) || line.startsWith(QStringLiteral("Out\t")))
        return line.mid(4).trimmed();
    }
  }
  return QStringLiteral("/var/spool/cups-pdf/gradesheet");
}

QStringList PdfFiles(const QString& dir) {
  return QDir(dir).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

// True while CUPS still holds a job (queued or being converted).
bool JobsPending() {
  QProcess lpstat;
  lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o")});
  if (!lpstat.waitForFinished(30000)) return true;
  return !lpstat.readAllStandardOutput().trimmed().isEmpty();
}

// Waits for a PDF file that was not in `before`, written to the end: the
// job has left the queue and pdfinfo reads the file. Empty after the timeout.
QString WaitForNewPdf(const QString& dir, const QStringList& before, const QString& token,
                      int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < timeoutMs) {
    if (!JobsPending()) {
      for (const QString& name : PdfFiles(dir)) {
        if (before.contains(name) || !name.contains(token)) continue;
        const QString path = QDir(dir).filePath(name);
        if (PdfPageCount(path)) return path;
      }
    }
    QTest::qWait(250);
  }
  return {};
}

}  // namespace

class PrintCupsTest : public QObject {
  Q_OBJECT

  QString outDir_;

 private slots:
  void initTestCase() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
      QFAIL(qPrintable(QString("CUPS is not reachable or has no default printer: ") +
                       kSetupHint));
    outDir_ = CupsPdfDirectory();
    if (!QDir(outDir_).exists())
      QFAIL(qPrintable("the cups-pdf output directory " + outDir_ + " does not exist: " +
                       kSetupHint));
  }

  void defaultPrinterIsTheCurrentPrinter() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QCOMPARE(w.sheetPreview().Printer()->outputFormat(), QPrinter::NativeFormat);
    QCOMPARE(w.sheetPreview().Printer()->printerName(), QPrinterInfo::defaultPrinter().printerName());
    QCOMPARE(w.sheetPreview().Setup().Metrics[DevicePrinter].Dpi, w.sheetPreview().Printer()->resolution());
    QVERIFY(w.sheetPreview().Setup().Metrics[DevicePrinter].PageWidth > 0);
  }

  void printedThroughCups_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QList<int>>("printed");
    QTest::newRow("pages 3 to 5 of 8") << int(PrintChoice::PageRange) << 3 << 5 << 1
                                       << QList<int>{3, 4, 5};
    QTest::newRow("selection while page 7 is shown") << int(PrintChoice::Selection) << 1 << 1
                                                     << 7 << QList<int>{7};
  }
  void printedThroughCups() {
    QFETCH(int, kind);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, shown);
    QFETCH(QList<int>, printed);
    PreviewWindow p;
    MainWindow& w = p.W();
    // The job title, and so the PDF's name, carries the grade file's name.
    const QString token = QString("gradesheet%1").arg(QCoreApplication::applicationPid());
    QVERIFY(p.Open(4, 80, token + ".txt"));
    w.showSheet();
    QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, 8);
    while (w.sheetPreview().Page() < shown) w.sheetPreview().nextPage();

    const QStringList before = PdfFiles(outDir_);
    PrintChoice choice;
    choice.Kind = PrintChoice::Range(kind);
    choice.FromPage = from;
    choice.ToPage = to;
    p.Script->Prints.push_back(choice);
    w.sheetOutput().printSheet();
    QVERIFY2(p.Script->Messages().isEmpty(), qPrintable(p.Script->Messages().join("; ")));

    const QString pdf = WaitForNewPdf(outDir_, before, token, 90000);
    if (pdf.isEmpty())
      QFAIL(qPrintable("no PDF appeared in " + outDir_ +
                       " within 90 s; see lpstat -W all and /var/log/cups/error_log"));
    QCOMPARE(PdfPageCount(pdf), std::optional<int>(int(printed.size())));
    for (int i = 0; i < printed.size(); ++i) {
      const QString text = PdfPageText(pdf, i + 1);
      QVERIFY2(text.contains("学生考试(考查)成绩表"), qPrintable(text.left(400)));
      for (const QString& number : NumbersOnUniformPage(printed[i]))
        QVERIFY2(text.contains(number), qPrintable(number + " missing on printed page " +
                                                   QString::number(i + 1) + " of " + pdf));
    }
    QFile::remove(pdf);
  }
};

QTEST_MAIN(PrintCupsTest)
#include "test_print_cups.moc"
