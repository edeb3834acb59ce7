// The preview and printing of a sheet with more pages than 16 bits can
// number: 70,000 courses without students, one page each. The last page
// shows and prints the last course, not one 65,536 pages before it.
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QtTest>

#include "support/PdfCheck.h"
#include "support/PreviewWindow.h"

namespace {

constexpr int kCourses = 70000;

// The preview surface at the window's current page.
QImage Surface(MainWindow& w) {
  const TDeviceMetrics& s = w.sheetPreview().Setup().Metrics[DeviceScreen];
  QImage image(s.PageWidth + 1, s.PageHeight + 1, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  w.sheetPreview().paintPage(painter);
  return image;
}

}  // namespace

class PreviewPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void lastPageBeyondSixteenBits() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(kCourses, 0));
    w.showSheet();
    QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, kCourses);

    w.sheetPreview().lastPage();
    QCOMPARE(w.sheetPreview().Page(), kCourses);
    const QImage last = Surface(w);
    // A page number cut to 16 bits would show this page instead.
    w.sheetPreview().GoToPage(kCourses - 65536);
    const QImage wrapped = Surface(w);
    w.sheetPreview().GoToPage(kCourses - 1);
    const QImage beforeLast = Surface(w);
    QVERIFY(last != wrapped);
    QVERIFY(last != beforeLast);

    // The selection prints the page shown: the last course's heading.
    w.sheetPreview().lastPage();
    const QString pdf = p.Path("last.pdf");
    p.Script->PrintToFile = pdf;
    PrintChoice choice;
    choice.Kind = PrintChoice::Selection;
    p.Script->Prints.push_back(choice);
    w.sheetOutput().printSheet();
    QCOMPARE(PdfPageCount(pdf), std::optional<int>(1));
    const QString text = PdfPageText(pdf, 1);
    QVERIFY2(text.contains(QStringLiteral("课程%1").arg(kCourses)), qPrintable(text.left(600)));
  }
};

QTEST_MAIN(PreviewPagesTest)
#include "test_preview_pages.moc"
