// The editing view: course switching, the grade editor over the student grid,
// the write-through, the share field, keyboard moves and the warning colour.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "printing/qt/QtText.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

using namespace testfiles;

class MainWindowEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void courseSwitchLeavesLinesAlone();
  void editorOnlyOverGradeCells_data();
  void editorOnlyOverGradeCells();
  void editorSitsOverItsCell();
  void typingWritesThroughEveryKey();
  void pickingAWordWritesThrough();
  void longTextIsNotTaken();
  void editingTheTotalKeepsTheOtherGrades();
  void rowWithoutRecordChangesOnlyTheGrid();
  void rangeSelectionTypesIntoOneCell();
  void shareEditReplacesT9();
  void shareEditCreatesT9InsideTheRun();
  void textGbkCannotHoldIsRefused();
  void keyboardMoves_data();
  void keyboardMoves();
  void movesWriteNothing();
  void leavingHidesTheEditor();
  void scrollingTakesTheEditorAlong();
  void warningColourFollowsTheText();
};

namespace {
// What a grade cell shows for the GBK field bytes of a record.
QString Shown(const std::string& utf8, std::size_t width = 6) {
  return GbkToQString(Pad(Gbk(utf8), width));
}
// Types text the way an input method delivers it: one key event with text.
void TypeText(QWidget* widget, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}
bool Warned(const WindowHarness& h, int row, int col) {
  return h.Face(row, col) != QColor(Qt::white);
}
}  // namespace

void MainWindowEditorTest::courseSwitchLeavesLinesAlone() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  const Lines head = w.document().Book().HeadLines;
  const Lines grades = w.document().Book().GradeLines;
  h.SelectCourse(2);
  QCOMPARE(w.shareEdit()->text(), QStringLiteral("40"));
  QCOMPARE(h.LastRow(), 2);
  QCOMPARE(h.Cell(2, 1), QStringLiteral("2022000004"));
  QCOMPARE(h.Cell(1, 4), Shown("70"));
  h.SelectCourse(3);
  QCOMPARE(w.shareEdit()->text(), QString());
  QCOMPARE(h.LastRow(), 1);
  QCOMPARE(h.Cell(1, 4), Shown("合格"));
  h.SelectCourse(1);
  QCOMPARE(w.shareEdit()->text(), QStringLiteral("30"));
  QCOMPARE(w.document().Book().HeadLines, head);
  QCOMPARE(w.document().Book().GradeLines, grades);
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
}

void MainWindowEditorTest::editorOnlyOverGradeCells_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<int>("col");
  QTest::addColumn<bool>("shown");
  QTest::addColumn<QString>("text");
  QTest::newRow("row number") << 1 << 0 << false << QString();
  QTest::newRow("student number") << 2 << 1 << false << QString();
  QTest::newRow("name") << 1 << 2 << false << QString();
  QTest::newRow("class") << 3 << 3 << false << QString();
  QTest::newRow("heading of a grade") << 0 << 4 << false << QString();
  QTest::newRow("coursework") << 1 << 4 << true << "80";
  QTest::newRow("examination") << 1 << 5 << true << "90";
  QTest::newRow("total") << 3 << 6 << true << "缺考";
  QTest::newRow("empty grade") << 2 << 5 << true << "";
}

void MainWindowEditorTest::editorOnlyOverGradeCells() {
  QFETCH(int, row);
  QFETCH(int, col);
  QFETCH(bool, shown);
  QFETCH(QString, text);
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  w.selectGradeCell(row, col);
  QCOMPARE(w.gradeEditor()->isVisible(), shown);
  if (shown) {
    QCOMPARE(w.gradeEditor()->currentText(), text);  // blanks trimmed
    QVERIFY(w.gradeEditor()->hasFocus());
    QCOMPARE(w.gradeEditor()->lineEdit()->selectedText(), text);
  }
  // Showing the text is not an edit.
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
}

void MainWindowEditorTest::editorSitsOverItsCell() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  // A real click on the cell of row 2, column 5.
  const QRect cell = h.CellRect(2, 5);
  QTest::mouseClick(w.studentGrid()->viewport(), Qt::LeftButton, {}, cell.center());
  QVERIFY(w.gradeEditor()->isVisible());
  QCOMPARE(w.gradeCells().Row(), 2);
  QCOMPARE(w.gradeCells().Column(), 5);
  const QPoint cellInPanel = w.studentGrid()->viewport()->mapTo(&w.editingView(), cell.topLeft());
  QCOMPARE(w.gradeEditor()->mapTo(&w.editingView(), QPoint(0, 0)), cellInPanel);
  QCOMPARE(w.gradeEditor()->parentWidget(), w.studentGrid()->viewport());  // the grid's own editor
  QVERIFY(w.gradeEditor()->width() >= 66);
  QCOMPARE(w.gradeEditor()->height(), 21);
  // Another grade cell moves it; the first cell keeps its text.
  h.Select(3, 4);
  const QRect next = h.CellRect(3, 4);
  QCOMPARE(w.gradeEditor()->mapTo(&w.editingView(), QPoint(0, 0)),
           w.studentGrid()->viewport()->mapTo(&w.editingView(), next.topLeft()));
  QCOMPARE(w.gradeEditor()->currentText(), QStringLiteral("855"));
  QCOMPARE(h.Cell(2, 5), Shown(""));
}

void MainWindowEditorTest::typingWritesThroughEveryKey() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Select(1, 5);  // examination of 王小明: 90, coursework 80, share 30
  QTest::keyClick(w.gradeEditor(), Qt::Key_8);
  QCOMPARE(h.Cell(1, 5), QStringLiteral("8"));
  QCOMPARE(h.Cell(1, 6), QStringLiteral(" 30"));  // 24 + 5.6
  QCOMPARE(w.document().Book().GradeLines[0],
           Record("k0001", "2022000001", "王小明", "计科2201", "80", "8", " 30"));
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  QTest::keyClick(w.gradeEditor(), Qt::Key_5);
  QCOMPARE(h.Cell(1, 5), QStringLiteral("85"));
  QCOMPARE(h.Cell(1, 6), QStringLiteral(" 84"));  // 24 + 59.5 = 83.5, to even
  QCOMPARE(w.document().Book().GradeLines[0],
           Record("k0001", "2022000001", "王小明", "计科2201", "80", "85", " 84"));
  QCOMPARE(w.editingView().rows()[0].Cells[5], std::string("85"));
  // Other records untouched.
  QCOMPARE(w.document().Book().GradeLines[1],
           Record("k0001", "2022000002", "李华", "计科2201", "优", "", "", "XYZ123"));
}

void MainWindowEditorTest::pickingAWordWritesThrough() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Select(1, 4);
  w.gradeEditor()->setCurrentIndex(0);  // "优" from the list
  QCOMPARE(h.Cell(1, 4), QStringLiteral("优"));
  QCOMPARE(h.Cell(1, 6), QStringLiteral(" 63"));  // 优 reads as 0: 70% of 90
  QCOMPARE(w.document().Book().GradeLines[0],
           Record("k0001", "2022000001", "王小明", "计科2201", "优", "90", " 63"));
  // The record keeps positions 52-57 of the old one.
  h.Select(2, 5);
  w.gradeEditor()->setCurrentIndex(14);  // 缺考
  QCOMPARE(w.document().Book().GradeLines[1],
           Record("k0001", "2022000002", "李华", "计科2201", "优", "缺考", "  0", "XYZ123"));
}

// A text put into the editor at once (a paste into it) that is longer than
// the grade's 6 bytes is not taken: the editor, the cell and the record keep
// what they held, so the grid never shows what the file would not.
void MainWindowEditorTest::longTextIsNotTaken() {
  WindowHarness h;
  MainWindow& w = *h.W;
  const std::vector<std::string> lines = ThreeCourses();
  h.Open(h.Write("grades.txt", FileBytes(lines)));
  h.Select(1, 5);
  w.gradeEditor()->lineEdit()->setText(QStringLiteral("不及格者"));
  QCOMPARE(w.gradeEditor()->currentText(), QStringLiteral("90"));
  QCOMPARE(h.Cell(1, 5), QStringLiteral("90    "));
  QCOMPARE(w.document().Book().GradeLines[0], lines[4]);
  QVERIFY(!w.Modified());
  QCOMPARE(w.gradeEditor()->toolTip(), WindowTexts::GradeTooLong());
}

void MainWindowEditorTest::editingTheTotalKeepsTheOtherGrades() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Select(1, 6);
  QTest::keyClicks(w.gradeEditor(), "99");
  QCOMPARE(h.Cell(1, 4), Shown("80"));
  QCOMPARE(h.Cell(1, 5), Shown("90"));
  QCOMPARE(h.Cell(1, 6), QStringLiteral("99"));
  QCOMPARE(w.document().Book().GradeLines[0],
           Record("k0001", "2022000001", "王小明", "计科2201", "80", "90", "99"));
}

void MainWindowEditorTest::rowWithoutRecordChangesOnlyTheGrid() {
  WindowHarness h;
  MainWindow& w = *h.W;
  std::vector<std::string> lines = ThreeCourses();
  lines.push_back(Head("k0004", "tk", "空课程"));
  h.Open(h.Write("grades.txt", FileBytes(lines)));
  h.SelectCourse(4);
  QCOMPARE(h.LastRow(), 1);
  const Lines grades = w.document().Book().GradeLines;
  h.Select(1, 4);
  QVERIFY(w.gradeEditor()->isVisible());
  QTest::keyClicks(w.gradeEditor(), "60");
  QCOMPARE(h.Cell(1, 4), QStringLiteral("60"));
  QCOMPARE(w.document().Book().GradeLines, grades);
  QVERIFY(w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
}

void MainWindowEditorTest::rangeSelectionTypesIntoOneCell() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  const Lines grades = w.document().Book().GradeLines;
  QWidget* port = w.studentGrid()->viewport();
  auto centre = [&](int r, int c) {
    return h.CellRect(r, c).center();
  };
  auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent e(type, at, port->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(port, &e);
  };
  // Drag from row 1, coursework, to row 3, examination.
  send(QEvent::MouseButtonPress, centre(1, 4), Qt::LeftButton);
  send(QEvent::MouseMove, centre(2, 5), Qt::LeftButton);
  send(QEvent::MouseMove, centre(3, 5), Qt::LeftButton);
  send(QEvent::MouseButtonRelease, centre(3, 5), Qt::NoButton);
  QVERIFY(w.studentGrid()->selectionModel()->selectedIndexes().size() > 1);
  // The drag selected without the editor, the first cell current; a key
  // typed on the grid calls the editor there as its first keystroke.
  QTRY_COMPARE(w.studentGrid()->currentRow(), 1);
  QVERIFY(!w.gradeEditor()->isVisible());
  QTest::keyClick(w.studentGrid(), Qt::Key_4);
  QVERIFY(w.gradeEditor()->isVisible());
  const int row = w.gradeCells().Row();
  const int col = w.gradeCells().Column();
  QCOMPARE(QPoint(col, row), QPoint(4, 1));
  QTest::keyClicks(w.gradeEditor(), "2");
  QCOMPARE(h.Cell(row, col), QStringLiteral("42"));
  int changedCells = 0;
  for (int r = 1; r <= 3; ++r)
    for (int c = 4; c <= 5; ++c)
      if (h.Cell(r, c) == QStringLiteral("42")) ++changedCells;
  QCOMPARE(changedCells, 1);
  int changedRecords = 0;
  for (std::size_t i = 0; i < grades.size(); ++i)
    if (w.document().Book().GradeLines[i] != grades[i]) ++changedRecords;
  QCOMPARE(changedRecords, 1);
}

void MainWindowEditorTest::shareEditReplacesT9() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.SelectCourse(2);
  const std::string before = h.W->document().Book().GradeLines[3];
  w.shareEdit()->selectAll();
  QTest::keyClicks(w.shareEdit(), "30");
  QCOMPARE(w.document().Book().HeadLines[6], std::string("k0002t930"));
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  QCOMPARE(w.document().Book().GradeLines[3], before);  // totals keep their values
  QCOMPARE(h.Cell(1, 6), Shown("64"));
  // The next edit of a grade of a row uses the new share: 30% of 70 + 70% of 50.
  h.Select(1, 5);
  QTest::keyClicks(w.gradeEditor(), "50");
  QCOMPARE(h.Cell(1, 6), QStringLiteral(" 56"));
  // Showing another course and back shows what was stored.
  h.SelectCourse(1);
  QCOMPARE(w.shareEdit()->text(), QStringLiteral("30"));
  h.SelectCourse(2);
  QCOMPARE(w.shareEdit()->text(), QStringLiteral("30"));
}

void MainWindowEditorTest::shareEditCreatesT9InsideTheRun() {
  WindowHarness h;
  MainWindow& w = *h.W;
  std::vector<std::string> lines = ThreeCourses();
  lines.push_back(Head("k0009", "tk", "最后一门"));
  const QString path = h.Write("grades.txt", FileBytes(lines));
  h.Open(path);
  h.SelectCourse(3);  // "体育": no "t9" line
  QCOMPARE(w.shareEdit()->text(), QString());
  QTest::keyClicks(w.shareEdit(), " 25");
  const Lines& head = w.document().Book().HeadLines;
  const auto it = std::find(head.begin(), head.end(), std::string("k0003t925"));
  QVERIFY(it != head.end());
  // Within the run of k0003: every line before it back to the run's start and
  // the next line either k0003 or the following course.
  const auto index = static_cast<std::size_t>(it - head.begin());
  QCOMPARE(head[index - 1].substr(0, 5), std::string("k0003"));
  QVERIFY(index + 1 == head.size() || head[index + 1].substr(0, 5) == "k0003" ||
          head[index + 1].substr(0, 5) == "k0009");
  QVERIFY(w.commands().save->isEnabled());
  w.save();
  const std::string saved = ReadFile(path);
  const std::string run = Head("k0003", "tj", "孙老师") + "\r\n";
  QVERIFY(saved.find(run + "k0003t925\r\n" + Record("k0003", "2022000005", "周六", "体育01",
                                                    "合格", "", "")) != std::string::npos);
}

void MainWindowEditorTest::textGbkCannotHoldIsRefused() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Select(1, 5);
  QTest::keyClicks(w.gradeEditor(), "7");
  QVERIFY(w.editingView().InputNotice().isEmpty());
  TypeText(w.gradeEditor(), QStringLiteral("한"));
  QCOMPARE(w.gradeEditor()->currentText(), QStringLiteral("7"));
  QCOMPARE(h.Cell(1, 5), QStringLiteral("7"));
  QCOMPARE(w.document().Book().GradeLines[0].substr(39, 6), std::string("7     "));
  QVERIFY(!w.editingView().InputNotice().isEmpty());
  QCOMPARE(w.gradeEditor()->toolTip(), w.editingView().InputNotice());
  // Typing goes on from where it was.
  QTest::keyClicks(w.gradeEditor(), "5");
  QCOMPARE(h.Cell(1, 5), QStringLiteral("75"));

  // The share field follows the same rule.
  QVERIFY(w.shareEdit()->toolTip().isEmpty());
  w.shareEdit()->selectAll();
  QTest::keyClicks(w.shareEdit(), "3");
  TypeText(w.shareEdit(), QStringLiteral("😀"));
  QCOMPARE(w.shareEdit()->text(), QStringLiteral("3"));
  QCOMPARE(w.document().Book().HeadLines[3], std::string("k0001t93"));
  QVERIFY(!w.shareEdit()->toolTip().isEmpty());
  QCOMPARE(w.shareEdit()->toolTip(), w.editingView().InputNotice());
}

void MainWindowEditorTest::keyboardMoves_data() {
  QTest::addColumn<int>("startRow");
  QTest::addColumn<int>("startCol");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<int>("row");
  QTest::addColumn<int>("col");
  QTest::newRow("enter") << 1 << 5 << int(Qt::Key_Return) << 0 << 2 << 5;
  QTest::newRow("keypad enter") << 2 << 4 << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 3 << 4;
  QTest::newRow("down") << 1 << 4 << int(Qt::Key_Down) << 0 << 2 << 4;
  QTest::newRow("down at the last row") << 3 << 4 << int(Qt::Key_Down) << 0 << 3 << 4;
  QTest::newRow("up") << 3 << 6 << int(Qt::Key_Up) << 0 << 2 << 6;
  QTest::newRow("up at the first row") << 1 << 6 << int(Qt::Key_Up) << 0 << 1 << 6;
  QTest::newRow("tab") << 1 << 4 << int(Qt::Key_Tab) << 0 << 1 << 5;
  QTest::newRow("tab at the total") << 1 << 6 << int(Qt::Key_Tab) << 0 << 2 << 4;
  QTest::newRow("tab at the last cell") << 3 << 6 << int(Qt::Key_Tab) << 0 << 3 << 6;
  QTest::newRow("shift tab") << 2 << 5 << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << 2 << 4;
  QTest::newRow("shift tab at coursework")
      << 2 << 4 << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << 1 << 6;
}

void MainWindowEditorTest::keyboardMoves() {
  QFETCH(int, startRow);
  QFETCH(int, startCol);
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(int, row);
  QFETCH(int, col);
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Select(startRow, startCol);
  QVERIFY(w.gradeEditor()->isVisible());
  QTest::keyClick(w.gradeEditor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QVERIFY(w.gradeEditor()->isVisible());
  QCOMPARE(w.gradeCells().Row(), row);
  QCOMPARE(w.gradeCells().Column(), col);
  QCOMPARE(w.studentGrid()->currentRow(), row);
  QCOMPARE(w.studentGrid()->currentColumn(), col);
  std::string trimmed = w.editingView().rows()[static_cast<std::size_t>(row - 1)].Cells[static_cast<std::size_t>(col)];
  TrimBlanks(trimmed);
  const QString text = GbkToQString(trimmed);
  QCOMPARE(w.gradeEditor()->currentText(), text);
  QCOMPARE(w.gradeEditor()->lineEdit()->selectedText(), text);  // typing replaces it
}

void MainWindowEditorTest::movesWriteNothing() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  const Lines grades = w.document().Book().GradeLines;
  h.Select(1, 4);
  for (int i = 0; i < 4; ++i) QTest::keyClick(w.gradeEditor(), Qt::Key_Tab);
  QTest::keyClick(w.gradeEditor(), Qt::Key_Down);
  QTest::keyClick(w.gradeEditor(), Qt::Key_Up);
  QTest::keyClick(w.gradeEditor(), Qt::Key_Return);
  QCOMPARE(w.document().Book().GradeLines, grades);
  QVERIFY(!w.Modified());
  // Typing a column without the mouse.
  h.Select(1, 5);
  QTest::keyClicks(w.gradeEditor(), "61");
  QTest::keyClick(w.gradeEditor(), Qt::Key_Return);
  QTest::keyClicks(w.gradeEditor(), "72");
  QTest::keyClick(w.gradeEditor(), Qt::Key_Return);
  QTest::keyClicks(w.gradeEditor(), "83");
  QCOMPARE(h.Cell(1, 5), QStringLiteral("61"));
  QCOMPARE(h.Cell(2, 5), QStringLiteral("72"));
  QCOMPARE(h.Cell(3, 5), QStringLiteral("83"));
  QCOMPARE(w.document().Book().GradeLines[2].substr(39, 6), std::string("83    "));
}

void MainWindowEditorTest::leavingHidesTheEditor() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  QVERIFY(QTest::qWaitForWindowActive(&w));
  h.Select(1, 4);
  QVERIFY(w.gradeEditor()->isVisible());
  QTRY_VERIFY(w.gradeEditor()->hasFocus());
  w.shareEdit()->setFocus(Qt::MouseFocusReason);
  QTRY_VERIFY(!w.gradeEditor()->isVisible());
  QCOMPARE(h.Cell(1, 4), Shown("80"));
  // Escape leaves too, back to the grid.
  h.Select(2, 4);
  QVERIFY(w.gradeEditor()->isVisible());
  QTest::keyClick(w.gradeEditor(), Qt::Key_Escape);
  QVERIFY(!w.gradeEditor()->isVisible());
  // A click on the same cell brings it back.
  const QRect cell = h.CellRect(2, 4);
  QTest::mouseClick(w.studentGrid()->viewport(), Qt::LeftButton, {}, cell.center());
  QVERIFY(w.gradeEditor()->isVisible());
  QCOMPARE(w.gradeCells().Row(), 2);
  // Showing a course hides it.
  h.SelectCourse(2);
  QVERIFY(!w.gradeEditor()->isVisible());
}

// The grid keeps the editor over its cell as it scrolls; a cell scrolled out
// of sight takes the editor with it, and the current cell stays.
void MainWindowEditorTest::scrollingTakesTheEditorAlong() {
  WindowHarness h;
  MainWindow& w = *h.W;
  w.resize(900, 400);
  h.Open(QStringLiteral(GS_SAMPLES "/demo.txt"));
  QVERIFY(h.LastRow() > 29);
  h.Select(3, 5);
  QScrollBar* bar = w.studentGrid()->verticalScrollBar();
  bar->setValue(1);
  QVERIFY(w.gradeEditor()->isVisible());
  QCOMPARE(w.gradeEditor()->pos(), h.CellRect(3, 5).topLeft());
  bar->setValue(5);
  QVERIFY(!w.gradeEditor()->isVisible());
  QCOMPARE(w.studentGrid()->currentRow(), 3);
  QCOMPARE(w.studentGrid()->currentColumn(), 5);
  // A grid grown shorter than the cell's place likewise.
  h.Select(12, 5);
  QVERIFY(w.gradeEditor()->isVisible());
  const int below = h.CellRect(12, 5).top() - w.studentGrid()->viewport()->height() - 5;
  w.resize(w.width(), w.height() + below);
  QCoreApplication::processEvents();
  QVERIFY(!w.studentGrid()->viewport()->rect().intersects(h.CellRect(12, 5)));
  QVERIFY(!w.gradeEditor()->isVisible());
}

void MainWindowEditorTest::warningColourFollowsTheText() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  // As loaded: 855 and "o" stand out, 缺考 and the words do not.
  QVERIFY(Warned(h, 3, 4));
  QVERIFY(Warned(h, 3, 5));
  QVERIFY(!Warned(h, 3, 6));
  QVERIFY(!Warned(h, 1, 4));
  QVERIFY(!Warned(h, 2, 4));
  QVERIFY(!Warned(h, 2, 5));
  // Typing a typo marks the cell at once; correcting it clears the mark.
  h.Select(1, 5);
  QTest::keyClicks(w.gradeEditor(), "o");
  QVERIFY(Warned(h, 1, 5));
  QCOMPARE(h.Cell(1, 5), QStringLiteral("o"));  // never refused
  QTest::keyClick(w.gradeEditor(), Qt::Key_Backspace);
  QTest::keyClicks(w.gradeEditor(), "90");
  QVERIFY(!Warned(h, 1, 5));
  // The computed total of a row is never marked.
  QVERIFY(!Warned(h, 1, 6));
}

QTEST_MAIN(MainWindowEditorTest)
#include "test_mainwindow_editor.moc"
