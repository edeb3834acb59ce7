// The widget-free rules of the preview: zoom limits and steps, status texts,
// the enabling table, and the margin dialog's millimetre reading.
#include <QtTest>
#include <cmath>

#include "text/Gbk.h"
#include "preview/PreviewRules.h"

using namespace preview;

namespace {
// 0.8 or 1.25 applied n times to 1.0, the way the window zooms.
double Steps(double factor, int n) {
  double z = 1.0;
  for (int i = 0; i < n; ++i) z = z * factor;
  return z;
}
QString Utf8(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }
}  // namespace

class PreviewRulesTest : public QObject {
  Q_OBJECT

 private slots:
  void zoomLimits_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("outSteps");
    QTest::addColumn<int>("inSteps");
    QTest::newRow("10 pt") << 10 << 6 << 4;
    QTest::newRow("16 pt") << 16 << 8 << 2;
    QTest::newRow("24 pt") << 24 << 10 << 0;
    QTest::newRow("3 pt") << 3 << 0 << 10;
    QTest::newRow("2 pt") << 2 << 0 << 12;
    QTest::newRow("30 pt") << 30 << 11 << 0;
    QTest::newRow("-10 pt (size read as its absolute value)") << -10 << 6 << 4;
    QTest::newRow("0 pt (damaged settings: the 10 pt limits)") << 0 << 6 << 4;
  }
  void zoomLimits() {
    QFETCH(int, points);
    QFETCH(int, outSteps);
    QFETCH(int, inSteps);
    const ZoomLimits limits = ComputeZoomLimits(points);
    // Exact equality: stepping from 1.0 must land on the limits themselves.
    QCOMPARE(limits.Min, Steps(ZoomOutFactor, outSteps));
    QCOMPARE(limits.Max, Steps(ZoomInFactor, inSteps));
  }

  void zoomLimitValues() {
    QCOMPARE(ComputeZoomLimits(10).Max, 2.44140625);
    QCOMPARE(ComputeZoomLimits(16).Max, 1.5625);
    QVERIFY(std::fabs(ComputeZoomLimits(10).Min - 0.262144) < 1e-12);
    QVERIFY(std::fabs(ComputeZoomLimits(16).Min - 0.16777216) < 1e-12);
    QCOMPARE(ComputeZoomLimits(24).Max, 1.0);
    QCOMPARE(ComputeZoomLimits(3).Min, 1.0);
  }

  void zoomInToTheLimitAndBack() {
    const ZoomLimits limits = ComputeZoomLimits(10);
    double z = 1.0;
    int steps = 0;
    while (ZoomedIn(z, limits.Max) != z) {
      z = ZoomedIn(z, limits.Max);
      ++steps;
    }
    QCOMPARE(steps, 4);
    QCOMPARE(z, limits.Max);
    QCOMPARE(ZoomedOut(z, limits.Min), 1.953125);
    z = 1.0;
    steps = 0;
    while (ZoomedOut(z, limits.Min) != z) {
      z = ZoomedOut(z, limits.Min);
      ++steps;
    }
    QCOMPARE(steps, 6);
    QCOMPARE(z, limits.Min);
  }

  void enablingTable_data() {
    QTest::addColumn<int>("sheet");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("page");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QString>("expected");  // prev next choose in out firstlast scroll print
    const double lo = Steps(0.8, 6), hi = Steps(1.25, 4);
    QTest::newRow("no sheet") << 0 << 5 << 2 << 1.0 << "00000000";
    QTest::newRow("no pages") << 1 << 0 << 0 << 1.0 << "00011111";
    QTest::newRow("one page") << 1 << 1 << 1 << 1.0 << "00011111";
    QTest::newRow("first of 3") << 1 << 3 << 1 << 1.0 << "01111111";
    QTest::newRow("middle of 3") << 1 << 3 << 2 << 1.0 << "11111111";
    QTest::newRow("last of 3") << 1 << 3 << 3 << 1.0 << "10111111";
    QTest::newRow("largest zoom") << 1 << 3 << 2 << hi << "11101111";
    QTest::newRow("smallest zoom") << 1 << 3 << 2 << lo << "11110111";
  }
  void enablingTable() {
    QFETCH(int, sheet);
    QFETCH(int, pages);
    QFETCH(int, page);
    QFETCH(double, zoom);
    QFETCH(QString, expected);
    PreviewState s{sheet, pages, page, zoom, Steps(0.8, 6), Steps(1.25, 4)};
    const CommandStates c = PreviewCommands(s);
    const bool got[] = {c.PreviousPage, c.NextPage, c.ChoosePage, c.ZoomIn,
                        c.ZoomOut,      c.FirstLast, c.Scroll,    c.Print};
    QString text;
    for (bool b : got) text += b ? '1' : '0';
    QCOMPARE(text, expected);
  }

  void statusTexts_data() {
    QTest::addColumn<int>("sheet");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("no sheet") << 0 << 3 << 1 << QStringList{"", "", ""};
    QTest::newRow("no pages") << 1 << 0 << 0
                              << QStringList{" 学生成绩单", " 共 0 页", " 第 0 页"};
    QTest::newRow("page 9 of 12") << 1 << 12 << 9
                                  << QStringList{" 学生成绩单", " 共 12 页", " 第 9 页"};
  }
  void statusTexts() {
    QFETCH(int, sheet);
    QFETCH(int, pages);
    QFETCH(int, page);
    QFETCH(QStringList, expected);
    const auto texts = PreviewStatusTexts(PreviewState{sheet, pages, page, 1.0, 0.5, 2.0});
    QCOMPARE((QStringList{Utf8(texts[0]), Utf8(texts[1]), Utf8(texts[2])}), expected);
  }

  void marginText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mm");
    QTest::addColumn<int>("pixelsAt600");
    QTest::newRow("20") << "20" << 20 << 472;
    QTest::newRow("10") << "10" << 10 << 236;
    QTest::newRow("12.5 reads 12") << "12.5" << 12 << 283;
    QTest::newRow("-5 keeps its sign") << "-5" << -5 << -118;
    QTest::newRow("-5mm drops the sign") << "-5mm" << 5 << 118;
    QTest::newRow("+7") << "+7" << 7 << 165;
    QTest::newRow("blanks trimmed") << "  8  " << 8 << 189;
    QTest::newRow("letters") << "abc" << 0 << 0;
    QTest::newRow("empty") << "" << 0 << 0;
    QTest::newRow("sign only") << "-" << 0 << 0;
    QTest::newRow("inner blank stops") << "1 2" << 1 << 24;
    QTest::newRow("huge saturates") << "99999999999999999999" << 2147483647 << 2147483647;
    QTest::newRow("huge negative") << "-99999999999999999999" << -2147483647
                                   << std::numeric_limits<int>::min();
  }
  void marginText() {
    QFETCH(QString, text);
    QFETCH(int, mm);
    QFETCH(int, pixelsAt600);
    const std::string bytes = text.toStdString();
    QCOMPARE(ReadMarginText(bytes), mm);
    QCOMPARE(MarginTextToPixels(bytes, 600), pixelsAt600);
  }

  void marginShownInMm_data() {
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("mm");
    QTest::newRow("left 197 at 600") << 197 << 600 << 8;
    QTest::newRow("top 394 at 600") << 394 << 600 << 17;
    QTest::newRow("zero") << 0 << 600 << 0;
    QTest::newRow("negative") << -118 << 600 << -5;
    QTest::newRow("at 300") << 118 << 300 << 10;
    QTest::newRow("no resolution") << 197 << 0 << 0;
  }
  void marginShownInMm() {
    QFETCH(int, pixels);
    QFETCH(int, dpi);
    QFETCH(int, mm);
    QCOMPARE(MarginPixelsToMm(pixels, dpi), mm);
  }
};

QTEST_GUILESS_MAIN(PreviewRulesTest)
#include "test_preview_rules.moc"
