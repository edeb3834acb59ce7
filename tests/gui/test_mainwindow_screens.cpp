// The editing view as a teacher sees it, with the demo file open: every grid
// text fits its column in the real CJK font, and pictures of the window (plain
// and with the grade editor open) are saved for a person to look at.
// Pictures go to $GS_SCREENSHOT_DIR when set (scripts/screenshot.sh sets it).
#include <QComboBox>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStyle>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include "app/FindingsDialog.h"
#include "app/Glyphs.h"
#include "app/CheckBar.h"
#include "app/MainWindow.h"
#include "printing/qt/Fonts.h"
#include "support/WindowHarness.h"

class MainWindowScreensTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void startLoadsNoImagePlugin();
  void gridTextsFitTheirColumns();
  void labelsFitThePanel();
  void headingStaysInSight();
  void screenshots();

 private:
  void OpenDemo(WindowHarness& h);
  QString outDir_;
};

void MainWindowScreensTest::initTestCase() {
  outDir_ = qEnvironmentVariable("GS_SCREENSHOT_DIR");
  InstallGlyphStyle();  // as the program starts
}

// The window is built and shown without an image file read (the first loads
// every image-format plug-in); the bars' extension arrows are drawn glyphs.
void MainWindowScreensTest::startLoadsNoImagePlugin() {
  {
    WindowHarness h;
    h.W->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.W.get()));
  }
  QFile maps(QStringLiteral("/proc/self/maps"));
  QVERIFY(maps.open(QIODevice::ReadOnly));
  QVERIFY2(!maps.readAll().contains("/imageformats/"), "an image-format plug-in was loaded");
  for (QStyle::StandardPixmap which :
       {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
    const QImage arrow = QApplication::style()->standardIcon(which).pixmap(16).toImage();
    int ink = 0;
    for (int y = 0; y < arrow.height(); ++y)
      for (int x = 0; x < arrow.width(); ++x) ink += qAlpha(arrow.pixel(x, y)) > 128;
    QVERIFY2(ink > 10, "an extension arrow without ink");
  }
}

void MainWindowScreensTest::OpenDemo(WindowHarness& h) {
  h.W->resize(1024, 700);
  h.Open(QStringLiteral(GS_SAMPLES "/demo.txt"));
  QVERIFY(h.Script->Messages().isEmpty());
  QVERIFY(!h.W->document().Book().CourseKeys.empty());
}

void MainWindowScreensTest::gridTextsFitTheirColumns() {
  WindowHarness h;
  OpenDemo(h);
  MainWindow& w = *h.W;
  // The window font is the Song face the program maps "宋体" to.
  QCOMPARE(QFontInfo(w.studentGrid()->font()).family(), QString::fromLatin1(SongFaceName()));
  for (int course = 1; course <= static_cast<int>(w.document().Book().CourseKeys.size()); ++course) {
    h.SelectCourse(course);
    const QFontMetrics fm(w.studentGrid()->font());
    for (int r = 0; r <= h.LastRow(); ++r) {
      for (int c = 0; c < 7; ++c) {
        const QString text = h.Cell(r, c);
        const int need = fm.horizontalAdvance(text) + 4;
        QVERIFY2(need <= w.studentGrid()->columnWidth(c),
                 qPrintable(QStringLiteral("course %1 row %2 column %3: \"%4\" needs %5 px, has %6")
                                .arg(course).arg(r).arg(c).arg(text).arg(need)
                                .arg(w.studentGrid()->columnWidth(c))));
      }
    }
  }
}

void MainWindowScreensTest::labelsFitThePanel() {
  WindowHarness h;
  MainWindow& w = *h.W;
  // shareLabel ends before shareEdit starts, and the editor shows a whole word.
  QVERIFY(w.editingView().shareLabel()->geometry().right() < w.shareEdit()->geometry().left());
  const QFontMetrics fm(w.gradeEditor()->font());
  QVERIFY(fm.horizontalAdvance(QStringLiteral("不通过")) < w.gradeEditor()->lineEdit()->width());
  QVERIFY(w.courseList()->geometry().bottom() < w.editingView().shareLabel()->geometry().top());
}

void MainWindowScreensTest::headingStaysInSight() {
  WindowHarness h;
  OpenDemo(h);
  MainWindow& w = *h.W;
  w.resize(900, 400);
  QCoreApplication::processEvents();
  QVERIFY(h.LastRow() > 29);  // the demo's first course scrolls
  const QHeaderView* heading = w.studentGrid()->horizontalHeader();
  QVERIFY(heading->isVisible());
  // Typing down the examination column to the last student and back up.
  h.Select(1, 5);
  const int last = h.LastRow();
  for (int r = 1; r < last; ++r) QTest::keyClick(w.gradeEditor(), Qt::Key_Down);
  QCOMPARE(w.gradeCells().Row(), last);
  QVERIFY(w.studentGrid()->verticalScrollBar()->value() > 0);
  QCOMPARE(h.Cell(0, 1), QStringLiteral(" 学 号"));
  QCOMPARE(heading->height(), w.studentGrid()->rowHeight(0));
  QCOMPARE(heading->geometry().bottom() + 1, w.studentGrid()->viewport()->geometry().top());
  for (int r = last; r > 1; --r) {
    QTest::keyClick(w.gradeEditor(), Qt::Key_Up);
    const QRect cell = h.CellRect(w.gradeCells().Row(), 5);
    QVERIFY2(cell.top() >= 0, qPrintable(QString::number(w.gradeCells().Row())));
    QVERIFY(w.gradeEditor()->isVisible());
  }
  QCOMPARE(w.gradeCells().Row(), 1);
}

void MainWindowScreensTest::screenshots() {
  WindowHarness h;
  if (!outDir_.isEmpty()) {
    QVERIFY(QDir().mkpath(outDir_));
    h.W->resize(1024, 700);
    QCoreApplication::processEvents();
    QVERIFY(h.W->grab().toImage().save(outDir_ + "/mainwindow-start.png"));
  }
  OpenDemo(h);
  MainWindow& w = *h.W;
  QCoreApplication::processEvents();
  const QImage plain = w.grab().toImage();
  QVERIFY(!plain.isNull());
  QCOMPARE(plain.size(), w.size() * plain.devicePixelRatio());

  h.Select(3, 5);
  QVERIFY(w.gradeEditor()->isVisible());
  QCoreApplication::processEvents();
  const QImage editing = w.grab().toImage();
  // The editor changes what is on screen over its cell.
  const QRect cell = h.CellRect(3, 5);
  const QPoint at = w.studentGrid()->viewport()->mapTo(&w, cell.center());
  QVERIFY(w.gradeEditor()->geometry().contains(w.gradeEditor()->parentWidget()->mapFrom(&w, at)));
  QVERIFY(plain != editing);

  if (!outDir_.isEmpty()) {
    QVERIFY(QDir().mkpath(outDir_));
    QVERIFY(plain.save(outDir_ + "/mainwindow.png"));
    QVERIFY(editing.save(outDir_ + "/mainwindow-editor.png"));
    // The editor and its neighbours, three times as large.
    const QRect around = w.gradeEditor()->geometry().translated(
        w.gradeEditor()->parentWidget()->mapTo(&w, QPoint(0, 0))).adjusted(-90, -25, 90, 25);
    QVERIFY(editing.copy(around).scaled(around.size() * 3).save(outDir_ + "/mainwindow-editor-zoom.png"));
    w.gradeEditor()->showPopup();
    QCoreApplication::processEvents();
    w.gradeEditor()->hidePopup();
    w.studentGrid()->scrollToBottom();
    QCoreApplication::processEvents();
    QVERIFY(w.grab().toImage().save(outDir_ + "/mainwindow-scrolled.png"));
    h.SelectCourse(2);
    QCoreApplication::processEvents();
    QVERIFY(w.grab().toImage().save(outDir_ + "/mainwindow-course2.png"));
    // The tool bar's glyphs, large enough to judge.
    w.showSheet();
    QCoreApplication::processEvents();
    QVERIFY(w.grab().toImage().save(outDir_ + "/mainwindow-preview.png"));
    const QImage bar = w.commands().previewToolBar->grab().toImage();
    QVERIFY(bar.copy(0, 0, 360, bar.height()).scaled(360 * 3, bar.height() * 3)
                .save(outDir_ + "/toolbar-zoom.png"));
    // The marks: a share that no total of the course agrees with.
    w.showEditing();
    h.SelectCourse(1);
    w.shareEdit()->selectAll();
    QTest::keyClicks(w.shareEdit(), QStringLiteral("40"));
    QCoreApplication::processEvents();
    QVERIFY(w.checkBar()->isVisible());
    QVERIFY(w.grab().toImage().save(outDir_ + "/mainwindow-marks.png"));
    FindingsDialog findings(FindingsPurpose::Save,
                            {{"高等数学(一)", "2023040101", "余佳", "平时成绩", "8O", "无法识别的成绩"},
                             {"高等数学(一)", "2023040102", "孟姣芳", "总成绩", "71", "总成绩与当前比例不符，应为 76"}});
    findings.show();
    QVERIFY(QTest::qWaitForWindowExposed(&findings));
    QVERIFY(findings.grab().save(outDir_ + "/findings.png"));
  }
}

QTEST_MAIN(MainWindowScreensTest)
#include "test_mainwindow_screens.moc"
