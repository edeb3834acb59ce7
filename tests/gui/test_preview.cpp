// The preview of the main window: views, zoom, page surface, status bar and
// command states, navigation, the page dialogs through the seam, and the
// refresh sequences of the font and margin commands.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "grading/Numbers.h"
#include "preview/TDrawGrid.h"
#include "printing/PrintSettings.h"
#include "support/PdfCheck.h"
#include "support/PreviewWindow.h"

namespace {

double Steps(double factor, int n) {
  double z = 1.0;
  for (int i = 0; i < n; ++i) z = z * factor;
  return z;
}

// The enabled state of the preview commands, as a string of 0 and 1 in the
// order: previous, next, choose, zoom in, zoom out, first, last, scroll x6, print.
QString Commands(Tdataout& w) {
  QString s;
  auto bit = [&](bool on) { s += on ? '1' : '0'; };
  auto both = [&](QToolButton* b, QAction* a) {
    QCOMPARE(b->isEnabled(), a->isEnabled());  // button and menu item agree
    bit(a->isEnabled());
  };
  both(w.SpeedButton[1], w.L2);
  both(w.SpeedButton[2], w.N10);
  both(w.SpeedButton[3], w.C2);
  both(w.SpeedButton[4], w.G2);
  both(w.SpeedButton[5], w.S2);
  bit(w.F3->isEnabled());
  bit(w.E2->isEnabled());
  s += ' ';
  for (int i = 6; i <= 11; ++i) bit(w.SpeedButton[i]->isEnabled());
  s += ' ';
  both(w.SpeedButton[16], w.P1);
  return s;
}

}  // namespace

class PreviewTest : public QObject {
  Q_OBJECT

 private slots:
  // The printer is asked of the print system after the window's first paint,
  // which does not show it; a command that needs the page asks first.
  void previewIsSetUpAfterTheFirstPaint() {
    ScriptedDialogs* script = nullptr;
    auto make = [&script] {
      auto dialogs = std::make_unique<ScriptedDialogs>();
      script = dialogs.get();
      return std::make_unique<Tdataout>(std::move(dialogs), QDir::tempPath());
    };
    std::unique_ptr<Tdataout> shown = make();
    QVERIFY(!shown->PreviewSetUp());
    QVERIFY(!shown->Printer);
    QCOMPARE(Commands(*shown), QString("0000000 000000 0"));
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    QTRY_VERIFY(shown->PreviewSetUp());
    QVERIFY(shown->Printer != nullptr);
    QVERIFY(shown->Setup.Metrics[DevicePrinter].PageWidth > 0);

    std::unique_ptr<Tdataout> unseen = make();
    script->Fonts.push_back(std::nullopt);  // the font dialog is cancelled
    unseen->F2Click();
    QVERIFY(unseen->PreviewSetUp());
    QVERIFY(unseen->Setup.Metrics[DevicePrinter].PageWidth > 0);
    std::unique_ptr<Tdataout> previewed = make();
    previewed->N11Click();
    QVERIFY(previewed->PreviewSetUp());
    QCOMPARE(previewed->DrawGrid1->size(),
             QSize(previewed->Setup.Metrics[DeviceScreen].PageWidth, previewed->Setup.Metrics[DeviceScreen].PageHeight));
  }

  void startUpHasNoSheet() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QCOMPARE(w.SheetIndex, 0);
    QCOMPARE(w.CurPage, 0);
    QCOMPARE(w.Zoom, 1.0);
    QCOMPARE(p.Status(), (QStringList{"", "", ""}));
    QCOMPARE(Commands(w), QString("0000000 000000 0"));
    QVERIFY(w.S1->isEnabled());
    QVERIFY(w.SpeedButton[15]->isEnabled());
  }

  void viewTable_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("preview");  // ScrollBox1 in front, bars, N7, P1 shown, Z1
    QTest::addColumn<bool>("n11");
    QTest::addColumn<bool>("g1");
    QTest::addColumn<int>("mode");
    QTest::newRow("N11") << "N11" << true << false << true << 0;
    QTest::newRow("G1") << "G1" << true << true << false << 1;
    QTest::newRow("G1 then Z1") << "Z1" << false << true << true << 1;
  }
  void viewTable() {
    QFETCH(QString, command);
    QFETCH(bool, preview);
    QFETCH(bool, n11);
    QFETCH(bool, g1);
    QFETCH(int, mode);
    PreviewWindow p;
    Tdataout& w = p.W();
    w.show();
    if (command == "N11") w.N11Click();
    if (command == "G1") w.G1Click();
    if (command == "Z1") {
      w.G1Click();
      w.Z1Click();
    }
    QCOMPARE(w.Views->currentWidget(),
             preview ? static_cast<QWidget*>(w.ScrollBox1) : static_cast<QWidget*>(w.Panel1));
    QCOMPARE(w.ToolBar1->isVisible(), preview);
    QCOMPARE(w.StatusBar1->isVisible(), preview);
    QCOMPARE(w.N7->isEnabled(), preview);
    QCOMPARE(w.P1->isVisible(), preview);
    QCOMPARE(w.Z1->isEnabled(), preview);
    QCOMPARE(w.N11->isEnabled(), n11);
    QCOMPARE(w.G1->isEnabled(), g1);
    QCOMPARE(int(w.SheetMode), mode);
    // The sheet printer exists from the first sheet command on, also after Z1.
    QCOMPARE(w.SheetIndex, 1);
    QVERIFY(w.SheetPrinter != nullptr);
  }

  void sheetBeforeAnyFile() {
    PreviewWindow p;
    Tdataout& w = p.W();
    w.N11Click();
    QCOMPARE(w.CurPage, 0);
    QCOMPARE(w.SheetPrinter->FPageCount, 0);
    QCOMPARE(p.Status(), (QStringList{" 学生成绩单", " 共 0 页", " 第 0 页"}));
    QCOMPARE(Commands(w), QString("0001111 111111 1"));
    // First, last and print are enabled but do nothing without pages.
    w.F3Click();
    w.E2Click();
    w.P1Click();
    QCOMPARE(w.CurPage, 0);
    QCOMPARE(p.Script->Count(ScriptedDialogs::Kind::Print), 0);
  }

  void openingLaysTheSheetOut() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(3, 80));
    // The editing view stays in front, but the sheet printer exists and is laid out.
    QCOMPARE(w.Views->currentWidget(), static_cast<QWidget*>(w.Panel1));
    QCOMPARE(w.SheetIndex, 1);
    QCOMPARE(w.SheetPrinter->FPageCount, 6);
    QCOMPARE(w.CurPage, 1);
  }

  void switchingSheetsLaysOutAgain() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(2, 41));  // two classes per course: 21 + 20 students
    w.N11Click();
    QCOMPARE(w.SheetPrinter->FPageCount, 4);
    w.E2Click();
    QCOMPARE(w.CurPage, 4);
    w.G1Click();
    QCOMPARE(w.SheetPrinter->FPageCount, 4);  // one page per course and class
    QCOMPARE(w.CurPage, 1);
    QCOMPARE(w.SheetMode, std::uint8_t{1});
  }

  void zoomLimits_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("zoomMin");
    QTest::addColumn<double>("zoomMax");
    QTest::newRow("10 pt") << 10 << Steps(0.8, 6) << 2.44140625;
    QTest::newRow("16 pt") << 16 << Steps(0.8, 8) << 1.5625;
    QTest::newRow("24 pt") << 24 << Steps(0.8, 10) << 1.0;
    QTest::newRow("3 pt") << 3 << 1.0 << Steps(1.25, 10);
  }
  void zoomLimits() {
    QFETCH(int, points);
    QFETCH(double, zoomMin);
    QFETCH(double, zoomMax);
    PreviewWindow p(points);
    Tdataout& w = p.W();
    QCOMPARE(w.Setup.BodyFont.Size, points);
    QCOMPARE(w.ZoomMin, zoomMin);
    QCOMPARE(w.ZoomMax, zoomMax);
    w.N11Click();
    QCOMPARE(w.G2->isEnabled(), zoomMax > 1.0);
    QCOMPARE(w.S2->isEnabled(), zoomMin < 1.0);
  }

  void zoomToTheLimitAndBack() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(1, 10));
    w.N11Click();
    for (int i = 0; i < 4; ++i) w.SpeedButton4Click();
    QCOMPARE(w.Zoom, 2.44140625);
    QVERIFY(!w.G2->isEnabled());
    w.SpeedButton4Click();
    QCOMPARE(w.Zoom, 2.44140625);
    w.SpeedButton5Click();
    QCOMPARE(w.Zoom, 1.953125);
    QVERIFY(w.G2->isEnabled());
    for (int i = 0; i < 10; ++i) w.SpeedButton5Click();
    QCOMPARE(w.Zoom, w.ZoomMin);
    QVERIFY(!w.S2->isEnabled());
    QVERIFY(w.G2->isEnabled());
  }

  void drawBorderSizes_data() {
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QSize>("size");
    QTest::newRow("1.0") << 1.0 << QSize(768, 1056);
    QTest::newRow("1.25") << 1.25 << QSize(960, 1320);
    QTest::newRow("0.8") << 0.8 << QSize(614, 845);  // 614.4 and 844.8
  }
  void drawBorderSizes() {
    QFETCH(double, zoom);
    QFETCH(QSize, size);
    PreviewWindow p;
    Tdataout& w = p.W();
    // A 600 dpi printer page of 4800 x 6600 pixels on a 96 dpi screen.
    w.Setup.Metrics[DeviceScreen].PageWidth = 768;
    w.Setup.Metrics[DeviceScreen].PageHeight = 1056;
    w.Zoom = zoom;
    w.SetDrawBorder();
    QCOMPARE(w.DrawGrid1->size(), size);
    QCOMPARE(w.DrawGrid1->pos(), QPoint(20, 20));
    QCOMPARE(w.ScrollBox1->widget()->size(), size + QSize(40, 40));
  }

  void pageSurfaceFollowsTheMetrics() {
    PreviewWindow p;
    Tdataout& w = p.W();
    w.N11Click();
    const TDeviceMetrics& s = w.Setup.Metrics[DeviceScreen];
    const TDeviceMetrics& pr = w.Setup.Metrics[DevicePrinter];
    QVERIFY(pr.PageWidth > 0 && pr.PageHeight > pr.PageWidth);  // portrait paper
    const double ratio = double(s.Dpi) / pr.Dpi;
    QCOMPARE(s.PageWidth, Round(pr.PageWidth * ratio));
    QCOMPARE(w.DrawGrid1->size(), QSize(s.PageWidth, s.PageHeight));
    w.SpeedButton4Click();
    QCOMPARE(w.DrawGrid1->size(), QSize(Round(s.PageWidth * 1.25), Round(s.PageHeight * 1.25)));
  }

  void statusAndCommands_data() {
    QTest::addColumn<int>("students");  // one course
    QTest::addColumn<int>("turns");     // next-page commands
    QTest::addColumn<QStringList>("status");
    QTest::addColumn<QString>("commands");
    QTest::newRow("one page") << 30 << 0
                              << QStringList{" 学生成绩单", " 共 1 页", " 第 1 页"}
                              << "0001111 111111 1";
    QTest::newRow("first of three") << 120 << 0
                                    << QStringList{" 学生成绩单", " 共 3 页", " 第 1 页"}
                                    << "0111111 111111 1";
    QTest::newRow("second of three") << 120 << 1
                                     << QStringList{" 学生成绩单", " 共 3 页", " 第 2 页"}
                                     << "1111111 111111 1";
    QTest::newRow("last of three") << 120 << 5
                                   << QStringList{" 学生成绩单", " 共 3 页", " 第 3 页"}
                                   << "1011111 111111 1";
  }
  void statusAndCommands() {
    QFETCH(int, students);
    QFETCH(int, turns);
    QFETCH(QStringList, status);
    QFETCH(QString, commands);
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(1, students));
    w.N11Click();
    for (int i = 0; i < turns; ++i) w.SpeedButton2Click();
    QCOMPARE(p.Status(), status);
    QCOMPARE(Commands(w), commands);
  }

  void navigation() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(2, 80));  // 4 pages
    w.N11Click();
    w.SpeedButton1Click();  // on page 1: nothing
    QCOMPARE(w.CurPage, 1);
    w.SpeedButton2Click();
    QCOMPARE(w.CurPage, 2);
    w.E2Click();
    QCOMPARE(w.CurPage, 4);
    w.SpeedButton2Click();  // on the last page: nothing
    QCOMPARE(w.CurPage, 4);
    w.SpeedButton1Click();
    QCOMPARE(w.CurPage, 3);
    w.F3Click();
    QCOMPARE(w.CurPage, 1);
    QCOMPARE(p.Status()[2], QString(" 第 1 页"));
  }

  void choosePage_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("page");
    QTest::newRow("9 and OK") << true << 9;
    QTest::newRow("Cancel") << false << 5;
  }
  void choosePage() {
    QFETCH(bool, ok);
    QFETCH(int, page);
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(3, 160));  // 12 pages
    w.N11Click();
    QCOMPARE(w.SheetPrinter->FPageCount, 12);
    for (int i = 0; i < 4; ++i) w.SpeedButton2Click();
    QCOMPARE(w.CurPage, 5);
    p.Script->Pages.push_back(ok ? std::optional<int>(9) : std::nullopt);
    w.C2Click();
    QCOMPARE(p.Script->PagesOffered, (std::vector<std::pair<int, int>>{{12, 5}}));
    QCOMPARE(w.CurPage, page);
    QCOMPARE(p.Status()[2], QString(" 第 %1 页").arg(page));
  }

  void choosePageNeedsTwoPages() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(1, 40));
    w.N11Click();
    w.C2Click();
    QCOMPARE(p.Script->Count(ScriptedDialogs::Kind::ChoosePage), 0);
  }

  void scrollButtons() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(1, 40));
    w.resize(800, 600);
    w.show();
    w.N11Click();
    while (w.Zoom < w.ZoomMax) w.SpeedButton4Click();
    QApplication::processEvents();
    QScrollBar* v = w.ScrollBox1->verticalScrollBar();
    QScrollBar* h = w.ScrollBox1->horizontalScrollBar();
    QVERIFY(v->maximum() > 0);
    QVERIFY(h->maximum() > 0);
    w.SpeedButton7Click();
    QCOMPARE(v->value(), v->maximum());
    QCOMPARE(h->value(), 0);
    w.SpeedButton9Click();
    QCOMPARE(h->value(), h->maximum());
    w.SpeedButton6Click();
    QCOMPARE(v->value(), 0);
    QCOMPARE(h->value(), h->maximum());
    w.SpeedButton8Click();
    QCOMPARE(h->value(), 0);
    w.SpeedButton11Click();
    QCOMPARE(QPoint(h->value(), v->value()), QPoint(h->maximum(), v->maximum()));
    // Zooming keeps the scroll positions where they can stay.
    const int before = v->value();
    w.SpeedButton5Click();
    QApplication::processEvents();
    QCOMPARE(v->value(), std::min(before, v->maximum()));
    w.SpeedButton10Click();
    QCOMPARE(QPoint(h->value(), v->value()), QPoint(0, 0));
    // A page that fits leaves the bars alone.
    while (w.Zoom > w.ZoomMin) w.SpeedButton5Click();
    QApplication::processEvents();
    w.SpeedButton11Click();
    QCOMPARE(QPoint(h->value(), v->value()), QPoint(0, 0));
  }

  void marginDialogRefresh() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(3, 80));
    w.N11Click();
    w.E2Click();
    PageMetrics changed = w.Setup.Metrics;
    const int dpi = changed[DevicePrinter].Dpi;
    changed[DevicePrinter].MarginLeft = Round(20 * dpi / 25.4);
    changed[DevicePrinter].MarginTop = Round(30 * dpi / 25.4);
    p.Script->Margins.push_back(changed);
    w.B3Click();
    const TDeviceMetrics& s = w.Setup.Metrics[DeviceScreen];
    const double ratio = double(s.Dpi) / dpi;
    QCOMPARE(s.MarginLeft, Round(changed[DevicePrinter].MarginLeft * ratio));
    QCOMPARE(s.MarginTop, Round(changed[DevicePrinter].MarginTop * ratio));
    QCOMPARE(w.CurPage, 6);  // a new margin layout keeps the page
    // Saved for the next start.
    PrintSetup reread;
    reread.Metrics[DevicePrinter].Dpi = dpi;
    LoadPrintSettings(w.AppDir, reread);
    QCOMPARE(reread.Metrics[DevicePrinter].MarginLeft, changed[DevicePrinter].MarginLeft);
    QCOMPARE(reread.Metrics[DevicePrinter].MarginTop, changed[DevicePrinter].MarginTop);
  }

  void absurdMarginsStillPaintAndPrint() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(1, 50));
    w.N11Click();
    for (int margin : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), -5000}) {
      PageMetrics m = w.Setup.Metrics;
      m[DevicePrinter].MarginLeft = margin;
      m[DevicePrinter].MarginRight = margin;
      m[DevicePrinter].MarginTop = margin;
      m[DevicePrinter].MarginBottom = margin;
      p.Script->Margins.push_back(m);
      w.B3Click();
      const QImage page = w.DrawGrid1->grab().toImage();
      QCOMPARE(page.size(), w.DrawGrid1->size());
      QCOMPARE(w.SheetPrinter->FPageCount, 2);
    }
    p.Script->PrintToFile = p.Path("absurd.pdf");
    p.Script->Prints.push_back(PrintChoice{});
    w.P1Click();
    QCOMPARE(PdfPageCount(p.Path("absurd.pdf")), std::optional<int>(2));
  }

  void marginDialogCancel() {
    PreviewWindow p;
    Tdataout& w = p.W();
    w.N11Click();
    const PageMetrics before = w.Setup.Metrics;
    p.Script->Margins.push_back(std::nullopt);
    w.B3Click();
    QVERIFY(w.Setup.Metrics == before);
    QVERIFY(!QFile::exists(p.Path("qprtpara.dat")));
  }

  void bodyFontLaysOutAgainOnTheSamePage() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(2, 82));  // 6 pages whole, 8 split by class (41 + 41)
    w.N11Click();
    w.SpeedButton2Click();
    const int lineHeight = w.Setup.Metrics[DeviceScreen].LineHeight;
    // MakePages reads the mode at every call: a new layout shows as a new page count.
    w.SheetMode = 1;
    FontSpec bigger = w.Setup.BodyFont;
    bigger.Size = 14;
    p.Script->Fonts.push_back(bigger);
    w.F2Click();
    QCOMPARE(w.Setup.BodyFont.Size, 14);
    QVERIFY(w.Setup.Metrics[DeviceScreen].LineHeight > lineHeight);
    QCOMPARE(w.SheetPrinter->FPageCount, 8);
    QCOMPARE(w.CurPage, 2);
    QCOMPARE(p.Status()[1], QString(" 共 8 页"));
    QVERIFY(QFile::exists(p.Path("qprtpara.dat")));
  }

  void titleFontDoesNotLayOut() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(2, 82));
    w.N11Click();
    w.SpeedButton2Click();
    const PageMetrics metrics = w.Setup.Metrics;
    w.SheetMode = 1;
    FontSpec title = w.Setup.TitleFont;
    title.Size = 20;
    p.Script->Fonts.push_back(title);
    w.L1Click();
    QCOMPARE(w.Setup.TitleFont.Size, 20);
    QCOMPARE(w.SheetPrinter->FPageCount, 6);  // no new pagination
    QVERIFY(w.Setup.Metrics == metrics);       // no new measuring
    QCOMPARE(w.CurPage, 2);
    PrintSetup reread;
    reread.Metrics[DevicePrinter].Dpi = metrics[DevicePrinter].Dpi;
    LoadPrintSettings(w.AppDir, reread);
    QCOMPARE(reread.TitleFont.Size, 20);
  }

  void fontDialogCancelChangesNothing() {
    PreviewWindow p;
    Tdataout& w = p.W();
    w.N11Click();
    const FontSpec body = w.Setup.BodyFont;
    w.F2Click();  // nothing scripted: cancelled
    w.L1Click();
    QVERIFY(w.Setup.BodyFont == body);
    QCOMPARE(p.Script->FontsOffered.size(), std::size_t{2});
    QVERIFY(p.Script->FontsOffered[0] == body);
    QVERIFY(!QFile::exists(p.Path("qprtpara.dat")));
  }

  void unsavableSettingsAreReported() {
    PreviewWindow p;
    Tdataout& w = p.W();
    w.N11Click();
    w.AppDir = p.Path("no/such/folder/").toStdString();
    FontSpec title = w.Setup.TitleFont;
    title.Size = 18;
    p.Script->Fonts.push_back(title);
    w.L1Click();
    QCOMPARE(w.Setup.TitleFont.Size, 18);  // in effect for this run
    QCOMPARE(p.Script->Count(ScriptedDialogs::Kind::Error), 1);
    QVERIFY2(p.Script->Texts(ScriptedDialogs::Kind::Error).first().contains("qprtpara.dat"),
             qPrintable(p.Script->Texts(ScriptedDialogs::Kind::Error).first()));
  }

  void printerSetupRefreshes() {
    PreviewWindow p;
    Tdataout& w = p.W();
    QVERIFY(p.Open(2, 80));
    w.N11Click();
    w.SpeedButton2Click();
    const QSize before = w.DrawGrid1->size();
    // The platform's dialog would make another paper current; do it here.
    w.Printer->setPageOrientation(QPageLayout::Landscape);
    p.Script->PrinterSetups.push_back(true);
    w.S1Click();
    QVERIFY(w.DrawGrid1->width() > before.width());
    QVERIFY(w.DrawGrid1->height() < before.height());
    QCOMPARE(w.CurPage, 2);
    QVERIFY(!QFile::exists(p.Path("qprtpara.dat")));  // nothing saved
  }

  void printerOfAnotherResolution() {
    PreviewWindow p;
    Tdataout& w = p.W();
    w.N11Click();
    w.Printer->setResolution(600);
    w.Setup.Metrics[DevicePrinter].Dpi = 600;
    w.Setup.Metrics[DevicePrinter].MarginLeft = 197;
    w.Setup.Metrics[DevicePrinter].MarginTop = 394;
    w.S1Click();  // cancelled: nothing changes
    QCOMPARE(w.Setup.Metrics[DevicePrinter].Dpi, 600);
    // The dialog chose a printer of 300 dpi: margins keep their size on paper.
    w.Printer->setResolution(300);
    p.Script->PrinterSetups.push_back(true);
    w.S1Click();
    const TDeviceMetrics& pr = w.Setup.Metrics[DevicePrinter];
    QCOMPARE(pr.Dpi, 300);
    QCOMPARE(pr.MarginLeft, 98);  // 98.5, ties to even
    QCOMPARE(pr.MarginTop, 197);
    QCOMPARE(pr.PageWidth, w.Printer->pageRect(QPrinter::DevicePixel).toRect().width());
  }
};

QTEST_MAIN(PreviewTest)
#include "test_preview.moc"
