// The main window at start, and its file commands: open, save, the question
// before another file is opened, and closing with unsaved grades.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QHeaderView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "app/MainWindow.h"
#include "preview/PageWidget.h"
#include "printing/qt/QtText.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"
#include "text/Gbk.h"

using namespace testfiles;
using Kind = ScriptedDialogs::Kind;

namespace {
QStringList MenuTexts(QMenu* menu) {
  QStringList out;
  for (QAction* a : menu->actions())
    if (a->isVisible()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}
}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startState();
  void startMenus();
  void startToolBar();
  void appDirIsCutTo100Bytes();
  void openShowsFirstCourse();
  void openFailuresChangeNothing_data();
  void openFailuresChangeNothing();
  void openFileWithOnlyMagicLine();
  void openSameFileTwiceAsksNothing();
  void questionBeforeOpening_data();
  void questionBeforeOpening();
  void failedSaveBeforeOpeningKeepsTheFile();
  void saveWritesTheFileByteForByte();
  void failedSaveKeepsModifiedAndSave();
  void closeQuestion_data();
  void closeQuestion();
  void closeWithoutChangesAsksNothing();
};

void MainWindowTest::startState() {
  WindowHarness h;
  MainWindow& w = *h.W;
  QCOMPARE(w.windowTitle(), QStringLiteral("教师整理学生成绩__Velmora (VLM) Tarvin版"));
  QCOMPARE(w.font().pixelSize(), 13);
  QCOMPARE(w.views()->currentWidget(), static_cast<QWidget*>(&w.editingView()));
  QVERIFY(!w.commands().previewToolBar->isVisible());
  QVERIFY(!w.statusLine()->isVisible());
  QCOMPARE(w.editingView().fileLabel()->text(), QStringLiteral("成绩文件："));
  QCOMPARE(w.editingView().shareLabel()->text(), QStringLiteral("平时成绩占百分比:"));
  QCOMPARE(h.CourseRows(), 1);
  QCOMPARE(h.CourseText(0), QStringLiteral(" 课程列表"));
  QCOMPARE(w.courseList()->columnWidth(0), 308);
  QCOMPARE(h.LastRow(), 1);
  QCOMPARE(w.studentGrid()->model()->columnCount(), 7);
  const QStringList headings = {"", " 学 号", " 姓 名", " 班 级", "平时成绩", "考试成绩", " 总成绩"};
  const int widths[7] = {32, 80, 64, 64, 64, 64, 64};
  for (int c = 0; c < 7; ++c) {
    QCOMPARE(h.Cell(0, c), headings[c]);
    QVERIFY(w.studentGrid()->columnWidth(c) >= widths[c]);
    QCOMPARE(h.Cell(1, c), QString());
  }
  QCOMPARE(w.studentGrid()->rowHeight(0), 20);
  QCOMPARE(w.studentGrid()->horizontalHeader()->height(), 20);  // the heading, as high as a row
  QVERIFY(!w.gradeEditor()->isVisible());
  QCOMPARE(w.gradeEditor()->count(), 18);
  const QStringList words = {"优", "良", "中", "及格", "不及格", "合格", "不合格", "通过", "不通过",
                             "A", "B", "C", "D", "F", "缺考", "缓考", "旷考", "作弊"};
  for (int i = 0; i < 18; ++i) QCOMPARE(w.gradeEditor()->itemText(i), words[i]);
  QCOMPARE(w.gradeEditor()->maxVisibleItems(), 24);
  QCOMPARE(w.shareEdit()->text(), QString());
  QCOMPARE(w.sheetPreview().State().SheetIndex, 0);
  QCOMPARE(w.sheetPreview().Page(), 0);
  QCOMPARE(w.sheetPreview().Kind(), SheetKind::WholeCourse);
  QCOMPARE(w.sheetPreview().Zoom(), 1.0);
  QVERIFY(w.document().FileName().empty());
  QVERIFY(!w.Modified());
  QCOMPARE(w.statusPanel(0)->width(), 160);
  QCOMPARE(w.statusPanel(1)->width(), 120);
  QCOMPARE(w.statusPanel(2)->width(), 120);
  QVERIFY(w.sheetPreview().pageWidget() != nullptr);
  QCOMPARE(w.sheetPreview().pageArea()->widget(), w.sheetPreview().pageWidget()->parentWidget());
  QCOMPARE(w.appDir(), (QDir(h.Dir.path()).absolutePath() + "/").toStdString());
  // Selecting a grade cell with no file open shows nothing.
  h.Select(1, 4);
  QVERIFY(!w.gradeEditor()->isVisible());
}

void MainWindowTest::startMenus() {
  WindowHarness h;
  MainWindow& w = *h.W;
  const QList<QAction*> bar = w.menuBar()->actions();
  QCOMPARE(bar.size(), 7);
  QCOMPARE(bar[0], w.commands().fileMenu);
  QCOMPARE(bar[1], w.commands().editMenu);
  QCOMPARE(bar[2], w.commands().windowMenu);
  QCOMPARE(bar[3], w.commands().previewMenu);
  QCOMPARE(bar[4], w.commands().print);
  QCOMPARE(bar[5], w.commands().printerSetup);
  QCOMPARE(bar[6]->text(), QStringLiteral("帮助(&H)"));
  QCOMPARE(w.commands().fileMenu->text(), QStringLiteral("&F 文件"));
  QCOMPARE(w.commands().windowMenu->text(), QStringLiteral("&W 窗口"));
  QCOMPARE(w.commands().previewMenu->text(), QStringLiteral("&V 预览"));
  QCOMPARE(w.commands().print->text(), QStringLiteral("&P 打印"));
  QCOMPARE(w.commands().printerSetup->text(), QStringLiteral("&S 打印机设置"));
  QVERIFY(w.commands().print->menu() == nullptr);
  QVERIFY(w.commands().printerSetup->menu() == nullptr);
  QCOMPARE(MenuTexts(w.commands().fileMenu->menu()),
           QStringList({"&O.  打开...", "-", "&S.  保存", "另存为(&A)...", "以前的版本(&V)...", "-", "导入成绩(&I)...", "导出(&E)...",
                        "导出成绩单 PDF(&D)...", "-", "&X.  退出"}));
  QCOMPARE(w.commands().open->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  QCOMPARE(w.commands().save->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
  QCOMPARE(MenuTexts(w.commands().editMenu->menu()), QStringList({"撤销(&U)", "重做(&R)", "-", "复制(&C)", "粘贴(&P)", "-",
                                                 "查找学生(&F)...", "-", "按当前比例重新计算(&T)",
                                                 "下一处需核对的成绩(&N)", "上一处需核对的成绩(&B)"}));
  QCOMPARE(w.commands().undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
  QCOMPARE(w.commands().redo->shortcuts(),
           QList<QKeySequence>({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
  QCOMPARE(MenuTexts(w.commands().windowMenu->menu()),
           QStringList({"&Z.  整理成绩", "-", "&B.  成绩单", "&G.  分班成绩单", "-", "成绩分析(&A)"}));
  QCOMPARE(MenuTexts(w.commands().previewMenu->menu()),
           QStringList({"&L.  上页", "&N.  下页", "-", "&F.  第一页", "&E.  最后一页", "-",
                        "&C.  选页...", "-", "&G.  放大", "&S.  缩小", "-", "表内容字体(&T)...",
                        "表标题字体(&H)...", "设置页边界(&B)..."}));
  QCOMPARE(MenuTexts(w.commands().pageSetupMenu),
           QStringList({"&F.  表内容字体...", "&L.  表标题字体...", "-", "&B.  设置页边界..."}));
  // Start states.
  QVERIFY(w.commands().open->isEnabled());
  QVERIFY(!w.commands().save->isEnabled());
  QVERIFY(!w.commands().importScores->isEnabled());  // no course to import into or export
  QVERIFY(!w.commands().exportGrades->isEnabled());
  QVERIFY(!w.commands().exportSheetPdf->isEnabled());
  QVERIFY(!w.commands().versions->isEnabled());  // no file, no versions
  QVERIFY(w.commands().exit->isEnabled());
  QVERIFY(w.commands().editMenu->isEnabled());
  QVERIFY(!w.commands().undo->isEnabled());  // nothing to undo or redo yet
  QVERIFY(!w.commands().redo->isEnabled());
  QVERIFY(!w.commands().showEditing->isEnabled());
  QVERIFY(w.commands().showSheet->isEnabled());
  QVERIFY(w.commands().showSheetByClass->isEnabled());
  QVERIFY(!w.commands().previewMenu->isEnabled());
  QVERIFY(!w.commands().print->isVisible());
  QVERIFY(w.commands().printerSetup->isVisible());
  QVERIFY(w.commands().printerSetup->isEnabled());
}

void MainWindowTest::startToolBar() {
  WindowHarness h;
  MainWindow& w = *h.W;
  // Sixteen controls in order: eleven buttons, a splitter, the printer set-up
  // button, a splitter, the print button, the PDF export.
  QStringList names;
  QStringList tips;
  for (QAction* a : w.commands().previewToolBar->actions()) {
    QWidget* widget = w.commands().previewToolBar->widgetForAction(a);
    QVERIFY(widget != nullptr);
    names << widget->objectName();
    tips << widget->toolTip();
  }
  QCOMPARE(names, QStringList({"previousPageButton", "nextPageButton", "choosePageButton",
                               "zoomInButton", "zoomOutButton", "scrollToTopButton",
                               "scrollToBottomButton", "scrollToLeftButton", "scrollToRightButton",
                               "scrollToTopLeftButton", "scrollToBottomRightButton", "Splitter1",
                               "printerSetupButton", "Splitter2", "printButton",
                               "exportSheetPdfButton"}));
  QCOMPARE(tips, QStringList({"上一页", "下一页", "选择页码", "放大", "缩小", "页顶", "页底",
                              "页左边", "页右边", "页左上角", "页右下角", "", "打印机设置", "",
                              "打印", "导出成绩单 PDF"}));
  const Commands& c = w.commands();
  for (QAction* command : {c.previousPage, c.nextPage, c.choosePage, c.zoomIn, c.zoomOut, c.scrollToTop, c.scrollToBottom,
                           c.scrollToLeft, c.scrollToRight, c.scrollToTopLeft, c.scrollToBottomRight, c.printerSetup, c.print}) {
    QCOMPARE(c.ButtonOf(command)->size(), QSize(22, 22));
    QVERIFY(!c.ButtonOf(command)->icon().isNull());
  }
  QVERIFY(!c.ButtonOf(c.print)->isEnabled());
  QCOMPARE(w.commands().previewToolBar->contextMenuPolicy(), Qt::CustomContextMenu);
}

void MainWindowTest::appDirIsCutTo100Bytes() {
  QTemporaryDir base;
  QString deep = base.path();
  while (deep.size() < 140) deep += QStringLiteral("/abcdefghij");
  QVERIFY(QDir().mkpath(deep));
  auto script = std::make_unique<ScriptedDialogs>();
  MainWindow w(std::move(script), deep);
  QCOMPARE(w.appDir().size(), std::size_t{100});
  QCOMPARE(QString::fromStdString(w.appDir()), (deep + "/").left(100));
}

void MainWindowTest::openShowsFirstCourse() {
  WindowHarness h;
  MainWindow& w = *h.W;
  const QString path = h.Write("grades.txt", FileBytes(ThreeCourses()));
  h.Open(path);
  QCOMPARE(h.Script->Messages(), QStringList());
  QCOMPARE(w.document().FileName(), path.toStdString());
  QCOMPARE(w.editingView().fileLabel()->text(), "成绩文件: " + path);
  QCOMPARE(h.CourseRows(), 3);
  QCOMPARE(h.CourseRow(), 1);
  QCOMPARE(h.CourseText(1),
           QStringLiteral("数据库原理 张老师 计科2201"));
  QCOMPARE(h.CourseText(3),
           QStringLiteral("体育 孙老师 "));
  QCOMPARE(w.shareEdit()->text(), QStringLiteral("30"));
  QCOMPARE(h.LastRow(), 3);
  QCOMPARE(h.Cell(1, 0), QStringLiteral("   1"));
  QCOMPARE(h.Cell(3, 0), QStringLiteral("   3"));
  QCOMPARE(h.Cell(1, 1), QStringLiteral("2022000001"));
  QCOMPARE(h.Cell(1, 2), QStringLiteral("王小明  "));
  QCOMPARE(h.Cell(1, 3), QStringLiteral("计科2201"));
  QCOMPARE(h.Cell(1, 4), QStringLiteral("80    "));
  QCOMPARE(h.Cell(2, 4), QStringLiteral("优    "));
  QCOMPARE(h.Cell(1, 6), QStringLiteral("87    "));
  QCOMPARE(w.editingView().rows().size(), std::size_t{3});
  QCOMPARE(w.editingView().rows()[1].Cells[2], Pad(Gbk("李华"), 8));
  QVERIFY(!w.commands().save->isEnabled());
  QVERIFY(!w.Modified());
  QCOMPARE(w.sheetPreview().State().SheetIndex, 1);  // the sheet printer exists and is laid out
}

void MainWindowTest::openFailuresChangeNothing_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("bytes");  // empty name: no such file
  QTest::addColumn<QString>("message");
  const std::string magic = GradeTexts::MagicLine();
  QTest::newRow("missing") << "nowhere.txt" << QByteArray() << "不存在!";
  QTest::newRow("trailing blank")
      << "blank.txt" << QByteArray::fromStdString(magic + " \r\nk0009tkX\r\n")
      << "不是Velmora生成的文件，打开失败!";
  QTest::newRow("empty file") << "empty.txt" << QByteArray("") << "不是Velmora生成的文件，打开失败!";
  QTest::newRow("other text") << "other.txt" << QByteArray("hello\r\n")
                              << "不是Velmora生成的文件，打开失败!";
}

void MainWindowTest::openFailuresChangeNothing() {
  QFETCH(QString, name);
  QFETCH(QByteArray, bytes);
  QFETCH(QString, message);
  WindowHarness h;
  MainWindow& w = *h.W;
  const QString good = h.Write("grades.txt", FileBytes(ThreeCourses()));
  h.Open(good);
  h.SelectCourse(2);
  h.Select(1, 4);
  QTest::keyClicks(w.gradeEditor(), "9");  // an unsaved change that must survive
  QVERIFY(w.Modified());
  const Lines head = w.document().Book().HeadLines;
  const Lines grades = w.document().Book().GradeLines;
  const QString caption = w.editingView().fileLabel()->text();
  const QString course = h.CourseText(2);
  h.Script->ClearCalls();

  QString bad = h.Dir.filePath(name);
  if (QTest::currentDataTag() != QByteArray("missing")) bad = h.Write(name, bytes.toStdString());
  h.Script->YesNoCancelAnswers.push_back(Answer::No);  // do not save before opening
  h.Open(bad);

  QCOMPARE(h.Script->Texts(Kind::Information), QStringList({bad + message}));
  QCOMPARE(w.document().Book().HeadLines, head);
  QCOMPARE(w.document().Book().GradeLines, grades);
  QCOMPARE(w.editingView().fileLabel()->text(), caption);
  QCOMPARE(w.document().FileName(), good.toStdString());
  QCOMPARE(h.CourseText(2), course);
  QCOMPARE(h.CourseRow(), 2);
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
}

void MainWindowTest::openFileWithOnlyMagicLine() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Open(h.Write("magic.txt", FileBytes({})));
  QCOMPARE(h.Script->Messages(), QStringList());
  QVERIFY(w.document().Book().HeadLines.empty());
  QVERIFY(w.document().Book().GradeLines.empty());
  QVERIFY(w.document().Book().CourseKeys.empty());
  QCOMPARE(h.CourseRows(), 1);
  QCOMPARE(h.CourseText(1), QString());
  QCOMPARE(h.LastRow(), 1);
  for (int c = 0; c < 7; ++c) QCOMPARE(h.Cell(1, c), QString());
  QCOMPARE(w.shareEdit()->text(), QString());
  h.Select(1, 5);
  QVERIFY(!w.gradeEditor()->isVisible());
  QTest::keyClicks(w.shareEdit(), "50");  // no course: nothing is stored
  QVERIFY(w.document().Book().HeadLines.empty());
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
}

void MainWindowTest::openSameFileTwiceAsksNothing() {
  WindowHarness h;
  const QString path = h.Write("grades.txt", FileBytes(ThreeCourses()));
  h.Open(path);
  h.SelectCourse(3);
  h.Open(path);
  QCOMPARE(h.Script->Calls.size(), std::size_t{2});
  QCOMPARE(h.Script->Count(Kind::OpenNamedFile), 2);
  QCOMPARE(h.CourseRow(), 1);  // back on the first course
  QCOMPARE(h.W->shareEdit()->text(), QStringLiteral("30"));
}

void MainWindowTest::questionBeforeOpening_data() {
  QTest::addColumn<bool>("yes");
  QTest::addColumn<bool>("cancelDialog");
  QTest::newRow("yes, then open") << true << false;
  QTest::newRow("yes, then cancel the dialog") << true << true;
  QTest::newRow("no, then open") << false << false;
  QTest::newRow("cancel: nothing changes") << false << true;
}

void MainWindowTest::questionBeforeOpening() {
  QFETCH(bool, yes);
  QFETCH(bool, cancelDialog);
  WindowHarness h;
  MainWindow& w = *h.W;
  const std::vector<std::string> lines = ThreeCourses();
  const QString first = h.Write("first.txt", FileBytes(lines));
  std::vector<std::string> other = {Head("k0100", "tk", "物理"), Head("k0100", "t9", "20")};
  const QString second = h.Write("second.txt", FileBytes(other));
  h.Open(first);
  h.Select(1, 5);
  QTest::keyClicks(w.gradeEditor(), "1");
  QVERIFY(w.Modified());
  h.Script->ClearCalls();

  // Without 是 or 否 the question is cancelled, as Escape does.
  const bool cancel = !yes && cancelDialog;
  if (!cancel) h.Script->YesNoCancelAnswers.push_back(yes ? Answer::Yes : Answer::No);
  if (cancelDialog)
    h.Script->OpenFiles.push_back(std::nullopt);
  else
    h.Script->OpenFiles.push_back(second);
  w.openFile();

  QStringList expected = {"当前的成绩有所变动，存储吗?"};
  if (yes) expected << "存储完毕！";
  QCOMPARE(h.Script->Messages(), expected);
  QCOMPARE(h.Script->Count(Kind::AskYesNoCancel), 1);
  QCOMPARE(h.Script->Count(Kind::OpenNamedFile), cancel ? 0 : 1);
  if (cancel) {  // the edit stays, unsaved, in the file that stays open
    QCOMPARE(w.document().FileName(), first.toStdString());
    QVERIFY(w.Modified());
    QVERIFY(w.commands().save->isEnabled());
    QCOMPARE(h.Cell(1, 5), QStringLiteral("1"));
    QCOMPARE(ReadFile(first), FileBytes(lines));
    return;
  }
  std::vector<std::string> saved = lines;
  saved[4] = Record("k0001", "2022000001", "王小明", "计科2201", "80", "1", " 25");
  QCOMPARE(GbkToQString(ReadFile(first)), GbkToQString(FileBytes(yes ? saved : lines)));
  QCOMPARE(ReadFile(first), FileBytes(yes ? saved : lines));
  if (cancelDialog) {
    QCOMPARE(w.document().FileName(), first.toStdString());
    QVERIFY(!w.Modified());
    QCOMPARE(h.Cell(1, 5), QStringLiteral("1"));
  } else {
    QCOMPARE(w.document().FileName(), second.toStdString());
    QCOMPARE(w.shareEdit()->text(), QStringLiteral("20"));
    QVERIFY(!w.Modified());
    QVERIFY(!w.commands().save->isEnabled());
  }
}

void MainWindowTest::failedSaveBeforeOpeningKeepsTheFile() {
  WindowHarness h;
  MainWindow& w = *h.W;
  QTemporaryDir gone;
  const QString first = gone.filePath("first.txt");
  QVERIFY(WriteFile(first, FileBytes(ThreeCourses())));
  h.Open(first);
  h.Select(2, 5);
  QTest::keyClicks(w.gradeEditor(), "77");
  QVERIFY(gone.remove());  // the folder is gone: the save must fail
  h.Script->ClearCalls();
  h.Script->YesNoCancelAnswers.push_back(Answer::Yes);
  h.Script->OpenFiles.push_back(h.Write("other.txt", FileBytes({})));
  w.openFile();
  QCOMPARE(h.Script->Count(Kind::Error), 1);
  QCOMPARE(h.Script->Count(Kind::OpenNamedFile), 0);  // not asked: the grades would be lost
  QCOMPARE(w.document().FileName(), first.toStdString());
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  QCOMPARE(h.Cell(2, 5), QStringLiteral("77"));
}

void MainWindowTest::saveWritesTheFileByteForByte() {
  WindowHarness h;
  MainWindow& w = *h.W;
  std::vector<std::string> lines = ThreeCourses();
  const QString path = h.Write("grades.txt", FileBytes(lines));
  h.Open(path);
  h.SelectCourse(2);
  h.Select(2, 4);
  QTest::keyClicks(w.gradeEditor(), "88");
  QVERIFY(w.commands().save->isEnabled());
  w.commands().save->trigger();
  QCOMPARE(h.Script->Messages(), QStringList({"存储完毕！"}));
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
  // 40% of 88 and 60% of an empty exam (0) is 35.2.
  lines[11] = Record("k0002", "2022000004", "钱五", "计科2201", "88", "", " 35");
  QCOMPARE(ReadFile(path), FileBytes(lines));

  // Saved again without an edit: the same bytes.
  w.save();
  QCOMPARE(ReadFile(path), FileBytes(lines));
}

void MainWindowTest::failedSaveKeepsModifiedAndSave() {
  WindowHarness h;
  MainWindow& w = *h.W;
  QTemporaryDir gone;
  const QString path = gone.filePath("grades.txt");
  QVERIFY(WriteFile(path, FileBytes(ThreeCourses())));
  h.Open(path);
  h.Select(1, 4);
  QTest::keyClicks(w.gradeEditor(), "66");
  QVERIFY(gone.remove());
  h.Script->ClearCalls();
  w.commands().save->trigger();
  const QStringList errors = h.Script->Texts(Kind::Error);
  QCOMPARE(errors.size(), 1);
  QVERIFY2(errors[0].contains(path), qPrintable(errors[0]));
  QCOMPARE(h.Script->Count(Kind::Information), 0);  // never "存储完毕！"
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  QCOMPARE(w.document().FileName(), path.toStdString());
}

void MainWindowTest::closeQuestion_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("closes");
  QTest::addColumn<bool>("saved");
  QTest::newRow("yes") << int(Answer::Yes) << true << true;
  QTest::newRow("no") << int(Answer::No) << true << false;
  QTest::newRow("cancel") << int(Answer::Cancel) << false << false;
}

void MainWindowTest::closeQuestion() {
  QFETCH(int, answer);
  QFETCH(bool, closes);
  QFETCH(bool, saved);
  WindowHarness h;
  MainWindow& w = *h.W;
  const std::vector<std::string> lines = ThreeCourses();
  const QString path = h.Write("grades.txt", FileBytes(lines));
  h.Open(path);
  h.Select(1, 4);
  QTest::keyClicks(w.gradeEditor(), "50");
  h.Script->ClearCalls();
  h.Script->YesNoCancelAnswers.push_back(Answer(answer));
  QCOMPARE(w.close(), closes);

  QCOMPARE(h.Script->Texts(Kind::AskYesNoCancel), QStringList({"当前的成绩有所变动，存储吗?"}));
  QCOMPARE(w.isVisible(), !closes);
  std::vector<std::string> edited = lines;
  edited[4] = Record("k0001", "2022000001", "王小明", "计科2201", "50", "90", " 78");
  QCOMPARE(ReadFile(path), FileBytes(saved ? edited : lines));
  if (closes) {
    // Released with the window.
    QVERIFY(w.document().Book().HeadLines.empty());
    QVERIFY(w.document().Book().GradeLines.empty());
    QVERIFY(w.document().Book().CourseKeys.empty());
    QVERIFY(w.document().Book().ClassGroups.empty());
    QVERIFY(w.sheetPreview().PageList().empty());
    QVERIFY(w.sheetPreview().RowList().empty());
    QCOMPARE(w.sheetPreview().State().SheetIndex, 0);
    QVERIFY(!w.sheetPreview().SheetPrinter());
  } else {
    QVERIFY(w.Modified());
    QVERIFY(w.commands().save->isEnabled());
    QCOMPARE(w.document().Book().HeadLines.size(), std::size_t{9});
    QCOMPARE(w.document().Book().GradeLines[0], edited[4]);
    QCOMPARE(w.sheetPreview().State().SheetIndex, 1);
  }
}

void MainWindowTest::closeWithoutChangesAsksNothing() {
  WindowHarness h;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Script->ClearCalls();
  QVERIFY(h.W->close());
  QVERIFY(h.Script->Calls.empty());
  QVERIFY(h.W->document().Book().GradeLines.empty());
}

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
