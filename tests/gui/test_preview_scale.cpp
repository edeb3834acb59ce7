// The preview shows the page as it will print: the screen's drawing, scaled
// back to printer pixels, puts the table's edges and every text (the closing
// block's figures among them) where the printer puts them, at every zoom, and
// no text runs into the next one where it does not on paper.
#include <QPainter>
#include <QTest>
#include <algorithm>

#include "app/MainWindow.h"
#include "preview/PageWidget.h"
#include "printing/PreviewRules.h"
#include "printing/qt/PainterCanvas.h"
#include "support/PaintRecorder.h"
#include "support/WindowHarness.h"

class PreviewScaleTest : public QObject {
  Q_OBJECT

 private slots:
  void screenPageIsThePrintedPageScaled_data();
  void screenPageIsThePrintedPageScaled();
};

namespace {

qreal RightmostRule(const std::vector<QLineF>& lines) {
  qreal right = 0;
  for (const QLineF& l : lines)
    if (qFuzzyCompare(l.x1(), l.x2())) right = std::max(right, l.x1());
  return right;
}

}  // namespace

void PreviewScaleTest::screenPageIsThePrintedPageScaled_data() {
  QTest::addColumn<int>("steps");  // zoom steps from 1.0: -1 is 0.8, +1 is 1.25
  QTest::newRow("0.8") << -1;
  QTest::newRow("1.0") << 0;
  QTest::newRow("1.25") << 1;
}

void PreviewScaleTest::screenPageIsThePrintedPageScaled() {
  QFETCH(int, steps);
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(QStringLiteral(GS_SAMPLES "/demo.txt"));
  // A 20 mm left margin, as a teacher sets it in the margin dialog.
  PageMetrics margins = w.sheetPreview().Setup().Metrics;
  margins[DevicePrinter].MarginLeft = preview::MarginMmToPixels(20, margins[DevicePrinter].Dpi);
  h.Script->Margins.push_back(margins);
  w.sheetOutput().setMargins();
  w.showSheet();
  w.sheetPreview().lastPage();  // the last page has the closing block
  for (int i = 0; i < steps; ++i) w.sheetPreview().zoomIn();
  for (int i = 0; i > steps; --i) w.sheetPreview().zoomOut();
  QCOMPARE(w.sheetPreview().Zoom(), steps < 0 ? 0.8 : steps > 0 ? 1.25 : 1.0);

  const TDeviceMetrics& printer = w.sheetPreview().Setup().Metrics[DevicePrinter];
  const TDeviceMetrics& screen = w.sheetPreview().Setup().Metrics[DeviceScreen];
  PaintRecorder onScreen(w.sheetPreview().pageWidget()->size(), screen.Dpi);
  {
    QPainter painter(&onScreen);
    w.sheetPreview().paintPage(painter);
  }
  PaintRecorder onPaper(QSize(printer.PageWidth, printer.PageHeight), printer.Dpi);
  {
    QPainter painter(&onPaper);
    PainterCanvas canvas(painter, printer.Dpi);
    canvas.SetGlyphPlacing(false);  // the same places, with the characters recorded
    w.sheetPreview().SheetPrinter()->DrawPage(canvas, w.sheetPreview().Page(), DevicePrinter, 1.0);
  }
  const qreal scale = ScreenRatio(w.sheetPreview().Setup().Metrics) * w.sheetPreview().Zoom();
  const qreal width = printer.PageWidth;
  const qreal height = printer.PageHeight;

  // The table's right edge, within 1% of the page, and inside the page.
  const qreal paperRight = RightmostRule(onPaper.Lines);
  const qreal screenRight = RightmostRule(onScreen.Lines) / scale;
  QVERIFY(paperRight > 0);
  QVERIFY2(qAbs(screenRight - paperRight) <= 0.01 * width,
           qPrintable(QStringLiteral("screen %1, paper %2").arg(screenRight).arg(paperRight)));
  QVERIFY(RightmostRule(onScreen.Lines) <= w.sheetPreview().pageWidget()->width());

  // Every text in its place: titles, table, the closing block's figures.
  QCOMPARE(onScreen.Texts.size(), onPaper.Texts.size());
  QVERIFY(onPaper.Texts.size() > 20);
  for (std::size_t i = 0; i < onPaper.Texts.size(); ++i) {
    const RecordedText& p = onPaper.Texts[i];
    const RecordedText& s = onScreen.Texts[i];
    QCOMPARE(s.Text, p.Text);
    QVERIFY2(qAbs(s.At.x() / scale - p.At.x()) <= 0.01 * width && qAbs(s.At.y() / scale - p.At.y()) <= 0.01 * height,
             qPrintable(s.Text));
    // A text that ends before the next on its line on paper does so on screen.
    if (i + 1 == onPaper.Texts.size()) continue;
    const RecordedText& pn = onPaper.Texts[i + 1];
    const RecordedText& sn = onScreen.Texts[i + 1];
    if (!qFuzzyCompare(p.At.y(), pn.At.y()) || p.At.x() + p.Width > pn.At.x() || pn.At.x() < p.At.x()) continue;
    QVERIFY2(s.At.x() + s.Width <= sn.At.x() + 0.5, qPrintable(s.Text + QStringLiteral(" | ") + sn.Text));
  }
}

QTEST_MAIN(PreviewScaleTest)
#include "test_preview_scale.moc"
