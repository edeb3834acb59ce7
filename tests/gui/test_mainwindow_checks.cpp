// The check in the window: the marks in the grid follow every edit, share
// change and undo; the bar over the grid counts the totals that disagree with
// the share and recomputes them as one step; a save or a print first lists
// the file's findings. The findings themselves and their texts are tested in
// the core suite.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "app/FindingsDialog.h"
#include "app/CheckBar.h"
#include "app/MainWindow.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"

using namespace testfiles;

class MainWindowChecksTest : public QObject {
  Q_OBJECT

 private slots:
  void marksAfterEdits_data();
  void marksAfterEdits();
  void shareChangeMarksEveryTotal();
  void recomputeIsOneStep();
  void barNamesTypedTotals();
  void findingsBeforeSavingAndPrinting_data();
  void findingsBeforeSavingAndPrinting();
  void noFindingsNoList();
  void listDialogAnswers();
};

namespace {

// Course k0001 at share 30: ten students whose totals were computed at 30,
// then one whose number repeats the first's. Course k0002: all in order.
std::vector<std::string> TenAtThirty() {
  std::vector<std::string> lines = {Head("k0001", "tk", "数据库原理"), Head("k0001", "tj", "张老师"),
                                    Head("k0001", "t9", "30")};
  for (int i = 0; i < 10; ++i) {
    lines.push_back(Record("k0001", "20220000" + std::to_string(10 + i), "学生" + std::to_string(i), "计科2201",
                           std::to_string(80 + i), std::to_string(60 + i), std::to_string(66 + i)));
  }
  lines.push_back(Record("k0001", "2022000010", "重号", "计科2201", "", "", ""));
  lines.push_back(Head("k0002", "tk", "高等数学"));
  lines.push_back(Head("k0002", "t9", "50"));
  lines.push_back(Record("k0002", "2022000010", "学生0", "计科2201", "80", "90", " 85"));
  return lines;
}

std::vector<std::string> Clean() {
  return {Head("k0001", "tk", "体育"), Head("k0001", "t9", "30"),
          Record("k0001", "2022000001", "王小明", "计科2201", "80", "90", " 87"),
          Record("k0001", "2022000002", "李华", "计科2201", "", "", "")};
}

QColor Face(const WindowHarness& h, int row, int col) { return h.Face(row, col); }
QString Tip(const WindowHarness& h, int row, int col) { return h.Tip(row, col); }
bool Marked(const WindowHarness& h, int row, int col) { return !Tip(h, row, col).isEmpty(); }

// Types as a keyboard does, and words as an input method delivers them.
void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, c.toLatin1());
      continue;
    }
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

void TypeShare(MainWindow& w, const QString& text) {
  w.shareEdit()->setFocus();
  w.shareEdit()->selectAll();
  QTest::keyClicks(w.shareEdit(), text);
}

}  // namespace

void MainWindowChecksTest::marksAfterEdits_data() {
  QTest::addColumn<int>("col");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("markedCol");
  QTest::addColumn<QString>("tip");
  // "8O" with the letter O: the total takes its 8; "120" is a number, out of range.
  QTest::newRow("8O") << 4 << QStringLiteral("8O") << 4 << QStringLiteral("无法识别的成绩，总成绩按 8 计算");
  QTest::newRow("pasted column") << 4 << QStringLiteral("70 71") << 4
                                 << QStringLiteral("无法识别的成绩，总成绩按 70 计算");
  QTest::newRow("120") << 4 << QStringLiteral("120") << 4 << QStringLiteral("超出0–100");
  QTest::newRow("缺考") << 5 << QStringLiteral("缺考") << 6 << QStringLiteral("考试成绩'缺考'按0计入总成绩");
  QTest::newRow("typed total") << 6 << QStringLiteral("90") << 6 << QStringLiteral("总成绩与当前比例不符，应为 66");
}

void MainWindowChecksTest::marksAfterEdits() {
  QFETCH(int, col);
  QFETCH(QString, typed);
  QFETCH(int, markedCol);
  QFETCH(QString, tip);
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(TenAtThirty())));
  QVERIFY(!Marked(h, 1, markedCol));
  h.Select(1, col);
  w.gradeEditor()->lineEdit()->selectAll();
  Type(w.gradeEditor(), typed);
  QCOMPARE(Tip(h, 1, markedCol), tip);
  // The editor over the cell wears its mark.
  QCOMPARE(w.gradeEditor()->toolTip(), col == markedCol ? tip : QString());
  const QColor marked = Face(h, 1, markedCol);
  QVERIFY(marked != QColor(Qt::white));
  // The other cells of the row and the next row stay as they were.
  for (int c = 4; c <= 6; ++c) {
    if (c != markedCol) QVERIFY2(!Marked(h, 1, c), qPrintable(Tip(h, 1, c)));
    QVERIFY(!Marked(h, 2, c));
  }
  // Taking it back takes the mark away.
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_Z, Qt::ControlModifier);
  QVERIFY(!Marked(h, 1, markedCol));
  QCOMPARE(Face(h, 1, markedCol), QColor(Qt::white));
}

void MainWindowChecksTest::shareChangeMarksEveryTotal() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(TenAtThirty())));
  // The repeated number is marked on its number cell, from the start.
  QCOMPARE(Tip(h, 11, 1), QStringLiteral("学号在本课程中重复，与第 1 行相同"));
  QVERIFY(!Marked(h, 1, 1));
  QVERIFY(w.checkBar()->isHidden());

  TypeShare(w, QStringLiteral("40"));
  for (int r = 1; r <= 10; ++r)
    QCOMPARE(Tip(h, r, 6), QStringLiteral("总成绩与当前比例不符，应为 %1").arg(68 + r - 1));
  QVERIFY(w.checkBar()->isVisible());
  QCOMPARE(w.checkBar()->label()->text(), QStringLiteral("本课程有 10 个总成绩与当前比例(40%)不符"));
  // The file's rule stays: the share edit changed no total.
  QCOMPARE(h.Cell(1, 6), QStringLiteral("66    "));

  // Another course has its own share and its own count; coming back counts again.
  h.SelectCourse(2);
  QVERIFY(w.checkBar()->isHidden());
  h.SelectCourse(1);
  QCOMPARE(w.checkBar()->label()->text(), QStringLiteral("本课程有 10 个总成绩与当前比例(40%)不符"));

  // Undoing the share edit takes the marks and the bar away.
  w.undo();
  QCOMPARE(w.shareEdit()->text(), QStringLiteral("30"));
  QVERIFY(!Marked(h, 1, 6));
  QVERIFY(w.checkBar()->isHidden());
}

void MainWindowChecksTest::recomputeIsOneStep() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(TenAtThirty())));
  const Lines before = w.document().Book().GradeLines;
  TypeShare(w, QStringLiteral("40"));
  QTest::mouseClick(w.checkBar()->recomputeButton(), Qt::LeftButton);
  for (int r = 1; r <= 10; ++r) {
    QCOMPARE(h.Cell(r, 6), QStringLiteral(" %1   ").arg(68 + r - 1));
    QVERIFY(!Marked(h, r, 6));
  }
  QVERIFY(w.checkBar()->isHidden());
  QCOMPARE(w.document().Book().GradeLines[0], Record("k0001", "2022000010", "学生0", "计科2201", "80", "60", " 68"));
  // Only the totals that disagreed: the row of no grades and the other course stay.
  QCOMPARE(w.document().Book().GradeLines[10], before[10]);
  QCOMPARE(w.document().Book().GradeLines[11], before[11]);
  QVERIFY(w.commands().save->isEnabled());

  // One undo takes back the whole recompute, and the bar comes back.
  w.undo();
  for (std::size_t i = 0; i < 10; ++i) QCOMPARE(w.document().Book().GradeLines[i], before[i]);
  QCOMPARE(h.Cell(3, 6), QStringLiteral("68    "));
  QVERIFY(w.checkBar()->isVisible());
  QCOMPARE(w.checkBar()->label()->text(), QStringLiteral("本课程有 10 个总成绩与当前比例(40%)不符"));
  w.redo();
  QCOMPARE(h.Cell(3, 6), QStringLiteral(" 70   "));
  QVERIFY(w.checkBar()->isHidden());
}

void MainWindowChecksTest::barNamesTypedTotals() {
  WindowHarness h;
  MainWindow& w = *h.W;
  std::vector<std::string> lines = TenAtThirty();
  // A total no share makes of 81 and 61: typed by hand.
  lines[4] = Record("k0001", "2022000011", "学生1", "计科2201", "81", "61", " 95");
  h.Open(h.Write("grades.txt", FileBytes(lines)));
  QCOMPARE(w.checkBar()->label()->text(),
           QStringLiteral("本课程有 1 个总成绩与当前比例(30%)不符，其中 1 个可能是手工填写的总成绩，重新计算会覆盖它们"));
  QVERIFY(w.checkBar()->isVisible());
  TypeShare(w, QStringLiteral("40"));
  QCOMPARE(w.checkBar()->label()->text(),
           QStringLiteral("本课程有 10 个总成绩与当前比例(40%)不符，其中 1 个可能是手工填写的总成绩，重新计算会覆盖它们"));
}

void MainWindowChecksTest::findingsBeforeSavingAndPrinting_data() {
  QTest::addColumn<int>("answer");  // FindingsChoice::Kind
  QTest::addColumn<int>("command");  // 0 save, 1 save as, 2 open another, 3 close, 4 print
  for (int command = 0; command < 5; ++command) {
    const char* names[] = {"save", "save as", "open", "close", "print"};
    QTest::addRow("%s, go on", names[command]) << int(FindingsChoice::GoOn) << command;
    QTest::addRow("%s, back", names[command]) << int(FindingsChoice::Back) << command;
    QTest::addRow("%s, go to", names[command]) << int(FindingsChoice::GoTo) << command;
  }
}

void MainWindowChecksTest::findingsBeforeSavingAndPrinting() {
  QFETCH(int, answer);
  QFETCH(int, command);
  WindowHarness h;
  MainWindow& w = *h.W;
  const QString path = h.Write("grades.txt", FileBytes(TenAtThirty()));
  const QString other = h.Write("other.txt", FileBytes(Clean()));
  const QString copy = h.Dir.filePath("copy.txt");
  h.Open(path);
  h.SelectCourse(2);
  h.Select(1, 5);
  QTest::keyClicks(w.gradeEditor(), "8O");  // the file's one finding besides the repeated number
  const std::string edited = w.document().Book().Serialize();
  h.Script->ClearCalls();
  // The second finding of the list is the examination "8O" of course k0002.
  h.Script->FindingsAnswers.push_back({static_cast<FindingsChoice::Kind>(answer), 1});
  switch (command) {
    case 0: w.save(); break;
    case 1: h.Script->SaveFiles.push_back(copy); w.saveAs(); break;
    case 2:
      h.Script->YesNoCancelAnswers.push_back(Answer::Yes);
      h.Script->OpenFiles.push_back(other);
      w.openFile();
      break;
    case 3: h.Script->YesNoCancelAnswers.push_back(Answer::Yes); w.close(); break;
    case 4: w.showSheet(); w.sheetOutput().printSheet(); break;  // the print dialog is cancelled
  }
  QCOMPARE(h.Script->Count(ScriptedDialogs::Kind::Findings), 1);
  QCOMPARE(h.Script->FindingsPurposes.front(), command == 4 ? FindingsPurpose::Print : FindingsPurpose::Save);
  QCOMPARE(h.Script->Count(ScriptedDialogs::Kind::Print), command == 4 && answer == int(FindingsChoice::GoOn));
  const std::vector<FindingRow>& rows = h.Script->FindingsShown.front();
  QCOMPARE(rows.size(), std::size_t(2));
  QCOMPARE(rows[0], (FindingRow{"数据库原理", "2022000010", "重号", "学号", "2022000010", "学号在本课程中重复，与第 1 行相同"}));
  QCOMPARE(rows[1], (FindingRow{"高等数学", "2022000010", "学生0", "考试成绩", "8O", "无法识别的成绩，总成绩按 8 计算"}));

  const QString written = command == 1 ? copy : path;
  const bool saved = answer == int(FindingsChoice::GoOn) && command != 4;
  QCOMPARE(ReadFile(written), saved ? edited : (command == 1 ? std::string() : FileBytes(TenAtThirty())));
  if (!saved) {
    // Nothing went on: the file stays open and changed, the window too.
    QVERIFY(w.isVisible());
    QVERIFY(w.Modified());
    QCOMPARE(w.document().Book().Serialize(), edited);
    QCOMPARE(h.Script->Count(ScriptedDialogs::Kind::OpenNamedFile), 0);
    QCOMPARE(h.Script->Count(ScriptedDialogs::Kind::SaveFile), 0);
  }
  if (answer == int(FindingsChoice::GoTo)) {
    QVERIFY(w.editingView().isVisible());  // from the preview too
    QCOMPARE(h.CourseRow(), 2);
    QCOMPARE(w.gradeCells().Row(), 1);
    QCOMPARE(w.gradeCells().Column(), 5);
    QVERIFY(w.gradeEditor()->isVisible());
    QCOMPARE(w.gradeEditor()->currentText(), QStringLiteral("8O"));
  }
}

void MainWindowChecksTest::noFindingsNoList() {
  WindowHarness h;
  MainWindow& w = *h.W;
  const QString path = h.Write("grades.txt", FileBytes(Clean()));
  h.Open(path);
  h.Select(1, 5);
  w.gradeEditor()->lineEdit()->selectAll();
  QTest::keyClicks(w.gradeEditor(), "95");
  QVERIFY(w.checkBar()->isHidden());
  w.save();
  w.showSheet();
  w.sheetOutput().printSheet();
  QCOMPARE(h.Script->Count(ScriptedDialogs::Kind::Findings), 0);
  QCOMPARE(h.Script->Count(ScriptedDialogs::Kind::Print), 1);
  QVERIFY(!w.Modified());
}

void MainWindowChecksTest::listDialogAnswers() {
  // Thousands of findings: a view over the rows, which opens at once.
  std::vector<FindingRow> rows(5000, FindingRow{"课程", "2022000001", "王小明", "平时成绩", "8O", "无法识别的成绩"});
  rows[4321][1] = "2022004321";
  rows[3][5] = "总成绩与平时成绩、考试成绩按当前比例算出的不符，按0计入总成绩的空成绩";
  FindingsDialog dialog(FindingsPurpose::Print, rows);
  QCOMPARE(dialog.Table()->model()->index(4321, 1).data().toString(), QStringLiteral("2022004321"));
  QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("GoOnButton"))->text(), QStringLiteral("仍然打印(&P)"));
  QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("GoToButton"))->text(), QStringLiteral("转到(&G)"));
  QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("BackButton"))->text(), QStringLiteral("返回修改(&R)"));
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  // The reason column is wide enough for its longest text.
  QHeaderView* header = dialog.Table()->horizontalHeader();
  QVERIFY(header->sectionSize(5) >= dialog.Table()->fontMetrics().horizontalAdvance(QString::fromStdString(rows[3][5])));
  QCOMPARE(dialog.Table()->model()->index(3, 5).data(Qt::ToolTipRole).toString(), QString::fromStdString(rows[3][5]));
  // Enter on a row goes to it.
  dialog.Table()->setFocus();
  dialog.Table()->setCurrentIndex(dialog.Table()->model()->index(17, 2));
  QTest::keyClick(dialog.Table(), Qt::Key_Return);
  QCOMPARE(dialog.Choice().What, FindingsChoice::GoTo);
  QCOMPARE(dialog.Choice().Row, 17);
  QVERIFY(!dialog.isVisible());

  FindingsDialog clicked(FindingsPurpose::Print, rows);
  clicked.show();
  clicked.Table()->setCurrentIndex(clicked.Table()->model()->index(40, 0));
  emit clicked.Table()->doubleClicked(clicked.Table()->currentIndex());
  QCOMPARE(clicked.Choice().What, FindingsChoice::GoTo);
  QCOMPARE(clicked.Choice().Row, 40);

  FindingsDialog back(FindingsPurpose::Save, rows);
  QCOMPARE(back.findChild<QPushButton*>(QStringLiteral("GoOnButton"))->text(), QStringLiteral("仍然存储(&S)"));
  // Tab leaves the table: the rows are no tab stops.
  QVERIFY(!back.Table()->tabKeyNavigation());
  back.show();
  QTest::keyClick(back.Table(), Qt::Key_Escape);
  QCOMPARE(back.Choice().What, FindingsChoice::Back);
  QVERIFY(!back.isVisible());
}

QTEST_MAIN(MainWindowChecksTest)
#include "test_mainwindow_checks.moc"
