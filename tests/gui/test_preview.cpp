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
#include "preview/PageWidget.h"
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
QString PreviewCommands(MainWindow& w) {
  QString s;
  const Commands& c = w.commands();
  auto bit = [&](bool on) { s += on ? '1' : '0'; };
  auto both = [&](QAction* a) {
    QCOMPARE(c.ButtonOf(a)->isEnabled(), a->isEnabled());  // button and menu item agree
    bit(a->isEnabled());
  };
  for (QAction* a : {c.previousPage, c.nextPage, c.choosePage, c.zoomIn, c.zoomOut}) both(a);
  bit(c.firstPage->isEnabled());
  bit(c.lastPage->isEnabled());
  s += ' ';
  for (QAction* a : {c.scrollToTop, c.scrollToBottom, c.scrollToLeft, c.scrollToRight, c.scrollToTopLeft,
                     c.scrollToBottomRight})
    bit(c.ButtonOf(a)->isEnabled());
  s += ' ';
  both(c.print);
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
      return std::make_unique<MainWindow>(std::move(dialogs), QDir::tempPath());
    };
    std::unique_ptr<MainWindow> shown = make();
    QVERIFY(!shown->PreviewSetUp());
    QVERIFY(!shown->sheetPreview().Printer());
    QCOMPARE(PreviewCommands(*shown), QString("0000000 000000 0"));
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    QTRY_VERIFY(shown->PreviewSetUp());
    QVERIFY(shown->sheetPreview().Printer() != nullptr);
    QVERIFY(shown->sheetPreview().Setup().Metrics[DevicePrinter].PageWidth > 0);

    std::unique_ptr<MainWindow> unseen = make();
    script->Fonts.push_back(std::nullopt);  // the font dialog is cancelled
    unseen->sheetOutput().chooseBodyFont();
    QVERIFY(unseen->PreviewSetUp());
    QVERIFY(unseen->sheetPreview().Setup().Metrics[DevicePrinter].PageWidth > 0);
    std::unique_ptr<MainWindow> previewed = make();
    previewed->showSheet();
    QVERIFY(previewed->PreviewSetUp());
    QCOMPARE(previewed->sheetPreview().pageWidget()->size(),
             QSize(previewed->sheetPreview().Setup().Metrics[DeviceScreen].PageWidth, previewed->sheetPreview().Setup().Metrics[DeviceScreen].PageHeight));
  }

  void startUpHasNoSheet() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QCOMPARE(w.sheetPreview().State().SheetIndex, 0);
    QCOMPARE(w.sheetPreview().Page(), 0);
    QCOMPARE(w.sheetPreview().Zoom(), 1.0);
    QCOMPARE(p.Status(), (QStringList{"", "", ""}));
    QCOMPARE(PreviewCommands(w), QString("0000000 000000 0"));
    QVERIFY(w.commands().printerSetup->isEnabled());
    QVERIFY(w.commands().ButtonOf(w.commands().printerSetup)->isEnabled());
  }

  void viewTable_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("preview");  // pageArea in front, bars, previewMenu, print shown, showEditing
    QTest::addColumn<bool>("n11");
    QTest::addColumn<bool>("g1");
    QTest::addColumn<int>("mode");
    QTest::newRow("showSheet") << "showSheet" << true << false << true << 0;
    QTest::newRow("showSheetByClass") << "showSheetByClass" << true << true << false << 1;
    QTest::newRow("showSheetByClass then showEditing") << "showEditing" << false << true << true << 1;
  }
  void viewTable() {
    QFETCH(QString, command);
    QFETCH(bool, preview);
    QFETCH(bool, n11);
    QFETCH(bool, g1);
    QFETCH(int, mode);
    PreviewWindow p;
    MainWindow& w = p.W();
    w.show();
    if (command == "showSheet") w.showSheet();
    if (command == "showSheetByClass") w.showSheetByClass();
    if (command == "showEditing") {
      w.showSheetByClass();
      w.showEditing();
    }
    QCOMPARE(w.views()->currentWidget(),
             preview ? static_cast<QWidget*>(w.sheetPreview().pageArea()) : static_cast<QWidget*>(&w.editingView()));
    QCOMPARE(w.commands().previewToolBar->isVisible(), preview);
    QCOMPARE(w.statusLine()->isVisible(), preview);
    QCOMPARE(w.commands().previewMenu->isEnabled(), preview);
    QCOMPARE(w.commands().print->isVisible(), preview);
    QCOMPARE(w.commands().showEditing->isEnabled(), preview);
    QCOMPARE(w.commands().showSheet->isEnabled(), n11);
    QCOMPARE(w.commands().showSheetByClass->isEnabled(), g1);
    QCOMPARE(int(w.sheetPreview().Kind()), mode);
    // The sheet printer exists from the first sheet command on, also after showEditingAction.
    QCOMPARE(w.sheetPreview().State().SheetIndex, 1);
    QVERIFY(w.sheetPreview().SheetPrinter() != nullptr);
  }

  void sheetBeforeAnyFile() {
    PreviewWindow p;
    MainWindow& w = p.W();
    w.showSheet();
    QCOMPARE(w.sheetPreview().Page(), 0);
    QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, 0);
    QCOMPARE(p.Status(), (QStringList{" 学生成绩单", " 共 0 页", " 第 0 页"}));
    QCOMPARE(PreviewCommands(w), QString("0001111 111111 1"));
    // First, last and print are enabled but do nothing without pages.
    w.sheetPreview().firstPage();
    w.sheetPreview().lastPage();
    w.sheetOutput().printSheet();
    QCOMPARE(w.sheetPreview().Page(), 0);
    QCOMPARE(p.Script->Count(ScriptedDialogs::Kind::Print), 0);
  }

  void openingLaysTheSheetOut() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(3, 80));
    // The editing view stays in front, but the sheet printer exists and is laid out.
    QCOMPARE(w.views()->currentWidget(), static_cast<QWidget*>(&w.editingView()));
    QCOMPARE(w.sheetPreview().State().SheetIndex, 1);
    QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, 6);
    QCOMPARE(w.sheetPreview().Page(), 1);
  }

  void switchingSheetsLaysOutAgain() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(2, 41));  // two classes per course: 21 + 20 students
    w.showSheet();
    QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, 4);
    w.sheetPreview().lastPage();
    QCOMPARE(w.sheetPreview().Page(), 4);
    w.showSheetByClass();
    QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, 4);  // one page per course and class
    QCOMPARE(w.sheetPreview().Page(), 1);
    QCOMPARE(w.sheetPreview().Kind(), SheetKind::ByClass);
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
    MainWindow& w = p.W();
    QCOMPARE(w.sheetPreview().Setup().BodyFont.Size, points);
    QCOMPARE(w.sheetPreview().ZoomMin(), zoomMin);
    QCOMPARE(w.sheetPreview().ZoomMax(), zoomMax);
    w.showSheet();
    QCOMPARE(w.commands().zoomIn->isEnabled(), zoomMax > 1.0);
    QCOMPARE(w.commands().zoomOut->isEnabled(), zoomMin < 1.0);
  }

  void zoomToTheLimitAndBack() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(1, 10));
    w.showSheet();
    for (int i = 0; i < 4; ++i) w.sheetPreview().zoomIn();
    QCOMPARE(w.sheetPreview().Zoom(), 2.44140625);
    QVERIFY(!w.commands().zoomIn->isEnabled());
    w.sheetPreview().zoomIn();
    QCOMPARE(w.sheetPreview().Zoom(), 2.44140625);
    w.sheetPreview().zoomOut();
    QCOMPARE(w.sheetPreview().Zoom(), 1.953125);
    QVERIFY(w.commands().zoomIn->isEnabled());
    for (int i = 0; i < 10; ++i) w.sheetPreview().zoomOut();
    QCOMPARE(w.sheetPreview().Zoom(), w.sheetPreview().ZoomMin());
    QVERIFY(!w.commands().zoomOut->isEnabled());
    QVERIFY(w.commands().zoomIn->isEnabled());
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
    MainWindow& w = p.W();
    // A 600 dpi printer page of 4800 x 6600 pixels on a 96 dpi screen.
    w.sheetPreview().Setup().Metrics[DeviceScreen].PageWidth = 768;
    w.sheetPreview().Setup().Metrics[DeviceScreen].PageHeight = 1056;
    w.sheetPreview().SetZoom(zoom);
    QCOMPARE(w.sheetPreview().pageWidget()->size(), size);
    QCOMPARE(w.sheetPreview().pageWidget()->pos(), QPoint(20, 20));
    QCOMPARE(w.sheetPreview().pageArea()->widget()->size(), size + QSize(40, 40));
  }

  void pageSurfaceFollowsTheMetrics() {
    PreviewWindow p;
    MainWindow& w = p.W();
    w.showSheet();
    const TDeviceMetrics& s = w.sheetPreview().Setup().Metrics[DeviceScreen];
    const TDeviceMetrics& pr = w.sheetPreview().Setup().Metrics[DevicePrinter];
    QVERIFY(pr.PageWidth > 0 && pr.PageHeight > pr.PageWidth);  // portrait paper
    const double ratio = double(s.Dpi) / pr.Dpi;
    QCOMPARE(s.PageWidth, Round(pr.PageWidth * ratio));
    QCOMPARE(w.sheetPreview().pageWidget()->size(), QSize(s.PageWidth, s.PageHeight));
    w.sheetPreview().zoomIn();
    QCOMPARE(w.sheetPreview().pageWidget()->size(), QSize(Round(s.PageWidth * 1.25), Round(s.PageHeight * 1.25)));
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
    MainWindow& w = p.W();
    QVERIFY(p.Open(1, students));
    w.showSheet();
    for (int i = 0; i < turns; ++i) w.sheetPreview().nextPage();
    QCOMPARE(p.Status(), status);
    QCOMPARE(PreviewCommands(w), commands);
  }

  void navigation() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(2, 80));  // 4 pages
    w.showSheet();
    w.sheetPreview().previousPage();  // on page 1: nothing
    QCOMPARE(w.sheetPreview().Page(), 1);
    w.sheetPreview().nextPage();
    QCOMPARE(w.sheetPreview().Page(), 2);
    w.sheetPreview().lastPage();
    QCOMPARE(w.sheetPreview().Page(), 4);
    w.sheetPreview().nextPage();  // on the last page: nothing
    QCOMPARE(w.sheetPreview().Page(), 4);
    w.sheetPreview().previousPage();
    QCOMPARE(w.sheetPreview().Page(), 3);
    w.sheetPreview().firstPage();
    QCOMPARE(w.sheetPreview().Page(), 1);
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
    MainWindow& w = p.W();
    QVERIFY(p.Open(3, 160));  // 12 pages
    w.showSheet();
    QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, 12);
    for (int i = 0; i < 4; ++i) w.sheetPreview().nextPage();
    QCOMPARE(w.sheetPreview().Page(), 5);
    p.Script->Pages.push_back(ok ? std::optional<int>(9) : std::nullopt);
    w.choosePage();
    QCOMPARE(p.Script->PagesOffered, (std::vector<std::pair<int, int>>{{12, 5}}));
    QCOMPARE(w.sheetPreview().Page(), page);
    QCOMPARE(p.Status()[2], QString(" 第 %1 页").arg(page));
  }

  void choosePageNeedsTwoPages() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(1, 40));
    w.showSheet();
    w.choosePage();
    QCOMPARE(p.Script->Count(ScriptedDialogs::Kind::ChoosePage), 0);
  }

  void scrollButtons() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(1, 40));
    w.resize(800, 600);
    w.show();
    w.showSheet();
    while (w.sheetPreview().Zoom() < w.sheetPreview().ZoomMax()) w.sheetPreview().zoomIn();
    QApplication::processEvents();
    QScrollBar* v = w.sheetPreview().pageArea()->verticalScrollBar();
    QScrollBar* h = w.sheetPreview().pageArea()->horizontalScrollBar();
    QVERIFY(v->maximum() > 0);
    QVERIFY(h->maximum() > 0);
    w.sheetPreview().scrollToBottom();
    QCOMPARE(v->value(), v->maximum());
    QCOMPARE(h->value(), 0);
    w.sheetPreview().scrollToRight();
    QCOMPARE(h->value(), h->maximum());
    w.sheetPreview().scrollToTop();
    QCOMPARE(v->value(), 0);
    QCOMPARE(h->value(), h->maximum());
    w.sheetPreview().scrollToLeft();
    QCOMPARE(h->value(), 0);
    w.sheetPreview().scrollToBottomRight();
    QCOMPARE(QPoint(h->value(), v->value()), QPoint(h->maximum(), v->maximum()));
    // Zooming keeps the scroll positions where they can stay.
    const int before = v->value();
    w.sheetPreview().zoomOut();
    QApplication::processEvents();
    QCOMPARE(v->value(), std::min(before, v->maximum()));
    w.sheetPreview().scrollToTopLeft();
    QCOMPARE(QPoint(h->value(), v->value()), QPoint(0, 0));
    // A page that fits leaves the bars alone.
    while (w.sheetPreview().Zoom() > w.sheetPreview().ZoomMin()) w.sheetPreview().zoomOut();
    QApplication::processEvents();
    w.sheetPreview().scrollToBottomRight();
    QCOMPARE(QPoint(h->value(), v->value()), QPoint(0, 0));
  }

  void marginDialogRefresh() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(3, 80));
    w.showSheet();
    w.sheetPreview().lastPage();
    PageMetrics changed = w.sheetPreview().Setup().Metrics;
    const int dpi = changed[DevicePrinter].Dpi;
    changed[DevicePrinter].MarginLeft = Round(20 * dpi / 25.4);
    changed[DevicePrinter].MarginTop = Round(30 * dpi / 25.4);
    p.Script->Margins.push_back(changed);
    w.sheetOutput().setMargins();
    const TDeviceMetrics& s = w.sheetPreview().Setup().Metrics[DeviceScreen];
    const double ratio = double(s.Dpi) / dpi;
    QCOMPARE(s.MarginLeft, Round(changed[DevicePrinter].MarginLeft * ratio));
    QCOMPARE(s.MarginTop, Round(changed[DevicePrinter].MarginTop * ratio));
    QCOMPARE(w.sheetPreview().Page(), 6);  // a new margin layout keeps the page
    // Saved for the next start.
    PrintSetup reread;
    reread.Metrics[DevicePrinter].Dpi = dpi;
    LoadPrintSettings(w.appDir(), reread);
    QCOMPARE(reread.Metrics[DevicePrinter].MarginLeft, changed[DevicePrinter].MarginLeft);
    QCOMPARE(reread.Metrics[DevicePrinter].MarginTop, changed[DevicePrinter].MarginTop);
  }

  void absurdMarginsStillPaintAndPrint() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(1, 50));
    w.showSheet();
    for (int margin : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), -5000}) {
      PageMetrics m = w.sheetPreview().Setup().Metrics;
      m[DevicePrinter].MarginLeft = margin;
      m[DevicePrinter].MarginRight = margin;
      m[DevicePrinter].MarginTop = margin;
      m[DevicePrinter].MarginBottom = margin;
      p.Script->Margins.push_back(m);
      w.sheetOutput().setMargins();
      const QImage page = w.sheetPreview().pageWidget()->grab().toImage();
      QCOMPARE(page.size(), w.sheetPreview().pageWidget()->size());
      QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, 2);
    }
    p.Script->PrintToFile = p.Path("absurd.pdf");
    p.Script->Prints.push_back(PrintChoice{});
    w.sheetOutput().printSheet();
    QCOMPARE(PdfPageCount(p.Path("absurd.pdf")), std::optional<int>(2));
  }

  void marginDialogCancel() {
    PreviewWindow p;
    MainWindow& w = p.W();
    w.showSheet();
    const PageMetrics before = w.sheetPreview().Setup().Metrics;
    p.Script->Margins.push_back(std::nullopt);
    w.sheetOutput().setMargins();
    QVERIFY(w.sheetPreview().Setup().Metrics == before);
    QVERIFY(!QFile::exists(p.Path("qprtpara.dat")));
  }

  void bodyFontLaysOutAgainOnTheSamePage() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(2, 82));  // 6 pages whole, 8 split by class (41 + 41)
    w.showSheet();
    w.sheetPreview().nextPage();
    const int lineHeight = w.sheetPreview().Setup().Metrics[DeviceScreen].LineHeight;
    // MakePages reads the mode at every call: a new layout shows as a new page count.
    w.sheetPreview().SetKind(SheetKind::ByClass);
    FontSpec bigger = w.sheetPreview().Setup().BodyFont;
    bigger.Size = 14;
    p.Script->Fonts.push_back(bigger);
    w.sheetOutput().chooseBodyFont();
    QCOMPARE(w.sheetPreview().Setup().BodyFont.Size, 14);
    QVERIFY(w.sheetPreview().Setup().Metrics[DeviceScreen].LineHeight > lineHeight);
    QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, 8);
    QCOMPARE(w.sheetPreview().Page(), 2);
    QCOMPARE(p.Status()[1], QString(" 共 8 页"));
    QVERIFY(QFile::exists(p.Path("qprtpara.dat")));
  }

  void titleFontDoesNotLayOut() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(2, 82));
    w.showSheet();
    w.sheetPreview().nextPage();
    const PageMetrics metrics = w.sheetPreview().Setup().Metrics;
    w.sheetPreview().SetKind(SheetKind::ByClass);
    FontSpec title = w.sheetPreview().Setup().TitleFont;
    title.Size = 20;
    p.Script->Fonts.push_back(title);
    w.sheetOutput().chooseTitleFont();
    QCOMPARE(w.sheetPreview().Setup().TitleFont.Size, 20);
    QCOMPARE(w.sheetPreview().SheetPrinter()->FPageCount, 6);  // no new pagination
    QVERIFY(w.sheetPreview().Setup().Metrics == metrics);       // no new measuring
    QCOMPARE(w.sheetPreview().Page(), 2);
    PrintSetup reread;
    reread.Metrics[DevicePrinter].Dpi = metrics[DevicePrinter].Dpi;
    LoadPrintSettings(w.appDir(), reread);
    QCOMPARE(reread.TitleFont.Size, 20);
  }

  void fontDialogCancelChangesNothing() {
    PreviewWindow p;
    MainWindow& w = p.W();
    w.showSheet();
    const FontSpec body = w.sheetPreview().Setup().BodyFont;
    w.sheetOutput().chooseBodyFont();  // nothing scripted: cancelled
    w.sheetOutput().chooseTitleFont();
    QVERIFY(w.sheetPreview().Setup().BodyFont == body);
    QCOMPARE(p.Script->FontsOffered.size(), std::size_t{2});
    QVERIFY(p.Script->FontsOffered[0] == body);
    QVERIFY(!QFile::exists(p.Path("qprtpara.dat")));
  }

  void unsavableSettingsAreReported() {
    PreviewWindow p;
    MainWindow& w = p.W();
    w.showSheet();
    w.sheetOutput().KeepSettingsIn(p.Path("no/such/folder/").toStdString(), w.userDir());
    FontSpec title = w.sheetPreview().Setup().TitleFont;
    title.Size = 18;
    p.Script->Fonts.push_back(title);
    w.sheetOutput().chooseTitleFont();
    QCOMPARE(w.sheetPreview().Setup().TitleFont.Size, 18);  // in effect for this run
    QCOMPARE(p.Script->Count(ScriptedDialogs::Kind::Error), 1);
    QVERIFY2(p.Script->Texts(ScriptedDialogs::Kind::Error).first().contains("qprtpara.dat"),
             qPrintable(p.Script->Texts(ScriptedDialogs::Kind::Error).first()));
  }

  void printerSetupRefreshes() {
    PreviewWindow p;
    MainWindow& w = p.W();
    QVERIFY(p.Open(2, 80));
    w.showSheet();
    w.sheetPreview().nextPage();
    const QSize before = w.sheetPreview().pageWidget()->size();
    // The platform's dialog would make another paper current; do it here.
    w.sheetPreview().Printer()->setPageOrientation(QPageLayout::Landscape);
    p.Script->PrinterSetups.push_back(true);
    w.sheetOutput().setUpPrinter();
    QVERIFY(w.sheetPreview().pageWidget()->width() > before.width());
    QVERIFY(w.sheetPreview().pageWidget()->height() < before.height());
    QCOMPARE(w.sheetPreview().Page(), 2);
    QVERIFY(!QFile::exists(p.Path("qprtpara.dat")));  // nothing saved
  }

  void printerOfAnotherResolution() {
    PreviewWindow p;
    MainWindow& w = p.W();
    w.showSheet();
    w.sheetPreview().Printer()->setResolution(600);
    w.sheetPreview().Setup().Metrics[DevicePrinter].Dpi = 600;
    w.sheetPreview().Setup().Metrics[DevicePrinter].MarginLeft = 197;
    w.sheetPreview().Setup().Metrics[DevicePrinter].MarginTop = 394;
    w.sheetOutput().setUpPrinter();  // cancelled: nothing changes
    QCOMPARE(w.sheetPreview().Setup().Metrics[DevicePrinter].Dpi, 600);
    // The dialog chose a printer of 300 dpi: margins keep their size on paper.
    w.sheetPreview().Printer()->setResolution(300);
    p.Script->PrinterSetups.push_back(true);
    w.sheetOutput().setUpPrinter();
    const TDeviceMetrics& pr = w.sheetPreview().Setup().Metrics[DevicePrinter];
    QCOMPARE(pr.Dpi, 300);
    QCOMPARE(pr.MarginLeft, 98);  // 98.5, ties to even
    QCOMPARE(pr.MarginTop, 197);
    QCOMPARE(pr.PageWidth, w.sheetPreview().Printer()->pageRect(QPrinter::DevicePixel).toRect().width());
  }
};

QTEST_MAIN(PreviewTest)
#include "test_preview.moc"
