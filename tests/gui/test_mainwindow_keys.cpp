// The everyday ways through the editing view: the keyboard from the course
// list into the grid and back, paste and copy of grade cells (the block's
// layout rules are tested in the core suite), and finding a student.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include "app/FindBar.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "printing/qt/QtText.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"

using namespace testfiles;

class MainWindowKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void keyboardIntoTheGrid_data();
  void keyboardIntoTheGrid();
  void escapeAndTypingOnTheGrid();
  void wordListRows();
  void pasteBlocks_data();
  void pasteBlocks();
  void pasteIsOneStep();
  void pasteOfASingleValueStaysTheEditors();
  void copy();
  void findAcrossCourses();
};

namespace {

const std::string kK1 = "k0001";
std::string Wang(const std::string& cw, const std::string& ex, const std::string& total) {
  return Record(kK1, "2022000001", "王小明", "计科2201", cw, ex, total);
}
std::string Li(const std::string& cw, const std::string& ex, const std::string& total) {
  return Record(kK1, "2022000002", "李华", "计科2201", cw, ex, total, "XYZ123");
}
std::string Zhao(const std::string& cw, const std::string& ex, const std::string& total) {
  return Record(kK1, "2022000003", "赵四", "计科2202", cw, ex, total);
}

void OpenThree(WindowHarness& h) {
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  QVERIFY(QTest::qWaitForWindowActive(h.W.get()));
}

void Paste(WindowHarness& h, const QString& text) {
  QApplication::clipboard()->setText(text);
  QWidget* where = h.W->gradeEditor()->isVisible() ? static_cast<QWidget*>(h.W->gradeEditor()->lineEdit())
                                               : static_cast<QWidget*>(h.W->studentGrid());
  QTest::keyClick(where, Qt::Key_V, Qt::ControlModifier);
}

}  // namespace

void MainWindowKeysTest::keyboardIntoTheGrid_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("course");  // Down presses in the course list first
  QTest::addColumn<QString>("record");
  // 0.3 x 65 + 0.7 x 90 = 82.5: to the even 82.
  QTest::newRow("enter") << int(Qt::Key_Return) << 0
                         << QString::fromStdString(Wang("65", "90", " 82"));
  QTest::newRow("tab") << int(Qt::Key_Tab) << 0 << QString::fromStdString(Wang("65", "90", " 82"));
  QTest::newRow("right, second course")
      << int(Qt::Key_Right) << 1
      << QString::fromStdString(Record("k0002", "2022000001", "王小明", "计科2201", "65", "60", " 62"));
}

void MainWindowKeysTest::keyboardIntoTheGrid() {
  QFETCH(int, key);
  QFETCH(int, course);
  QFETCH(QString, record);
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  // After the open the course list has the keyboard, the first course chosen.
  QTRY_VERIFY(w.courseList()->hasFocus());
  QCOMPARE(h.CourseRow(), 1);
  for (int i = 0; i < course; ++i) QTest::keyClick(w.courseList(), Qt::Key_Down);
  QCOMPARE(h.CourseRow(), 1 + course);
  QTest::keyClick(w.courseList(), Qt::Key(key));
  QVERIFY(w.gradeEditor()->isVisible());
  QTRY_VERIFY(w.gradeEditor()->lineEdit()->hasFocus());
  QCOMPARE(w.gradeCells().Row(), 1);
  QCOMPARE(w.gradeCells().Column(), 4);
  // The old grade is selected: typing replaces it.
  QVERIFY(w.gradeEditor()->lineEdit()->hasSelectedText());
  QTest::keyClicks(w.gradeEditor()->lineEdit(), QStringLiteral("65"));
  const std::size_t line = course == 0 ? 0 : 3;
  QCOMPARE(QString::fromStdString(w.document().Book().GradeLines[line]), record);
}

void MainWindowKeysTest::escapeAndTypingOnTheGrid() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  QTest::keyClick(w.courseList(), Qt::Key_Return);
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_Tab);  // to the examination
  QCOMPARE(w.gradeCells().Column(), 5);
  // Escape leaves the grid for the course list.
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_Escape);
  QVERIFY(!w.gradeEditor()->isVisible());
  QTRY_VERIFY(w.courseList()->hasFocus());
  // On the grid itself (a click that left the editor away), a typed key
  // brings the editor with that key as its first.
  w.studentGrid()->setFocus();
  QTRY_VERIFY(w.studentGrid()->hasFocus());
  w.gradeEditor()->hide();
  QTest::keyClick(w.studentGrid(), Qt::Key_7);
  QVERIFY(w.gradeEditor()->isVisible());
  QCOMPARE(w.gradeEditor()->currentText(), QStringLiteral("7"));
  QCOMPARE(w.document().Book().GradeLines[0], Wang("80", "7", " 29"));
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_Escape);
  w.studentGrid()->setFocus();
  QTest::keyClick(w.studentGrid(), Qt::Key_Escape);
  QTRY_VERIFY(w.courseList()->hasFocus());
  // Shift+Tab reaches the share field; Tab from there goes into the grid.
  QTest::keyClick(w.courseList(), Qt::Key_Backtab, Qt::ShiftModifier);
  QTRY_VERIFY(w.shareEdit()->hasFocus());
  QTest::keyClick(w.shareEdit(), Qt::Key_Tab);
  QVERIFY(w.gradeEditor()->isVisible());
  QCOMPARE(w.gradeCells().Row(), 1);
  QCOMPARE(w.gradeCells().Column(), 4);
}

void MainWindowKeysTest::wordListRows() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  QTest::keyClick(w.courseList(), Qt::Key_Return);
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_Down, Qt::AltModifier);
  QTRY_VERIFY(w.gradeEditor()->view()->isVisible());
  QVERIFY(w.gradeEditor()->isVisible());
  // Rows a pointer hits easily, all 18 words without scrolling.
  const int row = w.gradeEditor()->view()->visualRect(w.gradeEditor()->model()->index(0, 0)).height();
  QVERIFY2(row >= 20 && row <= 26, qPrintable(QString::number(row)));
  QCOMPARE(w.gradeEditor()->view()->verticalScrollBar()->isVisible(), false);
  // A word picked with the keys is written through like a typed one.
  w.gradeEditor()->view()->setCurrentIndex(w.gradeEditor()->model()->index(1, 0));
  QTest::keyClick(w.gradeEditor()->view(), Qt::Key_Return);
  QTRY_VERIFY(!w.gradeEditor()->view()->isVisible());
  QVERIFY(w.gradeEditor()->isVisible());
  QCOMPARE(w.gradeEditor()->currentText(), QStringLiteral("良"));
  QCOMPARE(w.document().Book().GradeLines[0], Wang("良", "90", " 63"));
}

void MainWindowKeysTest::pasteBlocks_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<int>("col");
  QTest::addColumn<QString>("clipboard");
  QTest::addColumn<QStringList>("records");  // the three of the first course afterwards
  QTest::addColumn<QString>("message");      // empty: none
  const auto records = [](std::initializer_list<std::string> r) {
    QStringList out;
    for (const std::string& s : r) out << QString::fromStdString(s);
    return out;
  };
  QTest::newRow("3x2 from a spreadsheet, CR LF")
      << 1 << 4 << QStringLiteral("70\t80\r\n60\t 50 \r\n90\t100\r\n")
      << records({Wang("70", "80", " 77"), Li("60", "50", " 53"), Zhao("90", "100", " 97")})
      << QString();
  QTest::newRow("more rows than students")
      << 2 << 5 << QStringLiteral("61\n62\n63\n64\n")
      << records({Wang("80", "90", "87"), Li("优", "61", " 43"), Zhao("855", "62", "300")})
      << WindowTexts::PasteRowsLeftOut(2);
  QTest::newRow("wider than the grade columns, a pasted total stays")
      << 1 << 5 << QStringLiteral("85\t99\tx\ty")
      << records({Wang("80", "85", "99"), Li("优", "", ""), Zhao("855", "o", "缺考")})
      << WindowTexts::PasteColumnsCut(2);
  QTest::newRow("text the file cannot hold: nothing")
      << 1 << 4 << QStringLiteral("70\t80\n60\t\U0001F600\n")
      << records({Wang("80", "90", "87"), Li("优", "", ""), Zhao("855", "o", "缺考")})
      << WindowTexts::PasteNotGbk();
}

void MainWindowKeysTest::pasteBlocks() {
  QFETCH(int, row);
  QFETCH(int, col);
  QFETCH(QString, clipboard);
  QFETCH(QStringList, records);
  QFETCH(QString, message);
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  const std::vector<std::string> before = w.document().Book().GradeLines;
  h.Select(row, col);
  QVERIFY(w.gradeEditor()->isVisible());
  Paste(h, clipboard);
  for (int i = 0; i < 3; ++i)
    QCOMPARE(QString::fromStdString(w.document().Book().GradeLines[static_cast<std::size_t>(i)]), records[i]);
  // The other courses are not touched.
  for (std::size_t i = 3; i < before.size(); ++i) QCOMPARE(w.document().Book().GradeLines[i], before[i]);
  QCOMPARE(h.Script->Messages(), message.isEmpty() ? QStringList() : QStringList{message});
  const bool changed = w.document().Book().GradeLines != before;
  QCOMPARE(w.commands().save->isEnabled(), changed);
  QCOMPARE(w.commands().undo->isEnabled(), changed);
  // The grid shows what the records hold.
  QCOMPARE(h.Cell(row, col).trimmed(),
           GbkToQString(w.document().Book().GradeLines[static_cast<std::size_t>(row - 1)].substr(col == 4 ? 33 : 39, 6)).trimmed());
}

void MainWindowKeysTest::pasteIsOneStep() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  const std::vector<std::string> before = w.document().Book().GradeLines;
  h.Select(1, 4);
  QTest::keyClicks(w.gradeEditor()->lineEdit(), QStringLiteral("5"));  // an edit in progress
  const std::vector<std::string> typed = w.document().Book().GradeLines;
  Paste(h, QStringLiteral("70\t80\n60\t50\n"));
  const std::vector<std::string> pasted = w.document().Book().GradeLines;
  QCOMPARE(pasted[1], Li("60", "50", " 53"));
  QTest::keyClick(w.studentGrid(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(w.document().Book().GradeLines, typed);  // the paste alone
  w.commands().undo->trigger();
  QCOMPARE(w.document().Book().GradeLines, before);  // then the typing
  w.commands().redo->trigger();
  w.commands().redo->trigger();
  QCOMPARE(w.document().Book().GradeLines, pasted);
}

void MainWindowKeysTest::pasteOfASingleValueStaysTheEditors() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  h.Select(1, 5);
  Paste(h, QStringLiteral("77"));
  // The editor's own paste over its selected text, written through as typed.
  QCOMPARE(w.gradeEditor()->currentText(), QStringLiteral("77"));
  QCOMPARE(w.document().Book().GradeLines[0], Wang("80", "77", " 78"));
  QVERIFY(h.Script->Messages().isEmpty());
  // A single spreadsheet cell comes with a line end: the window's paste.
  h.Select(2, 5);
  Paste(h, QStringLiteral("66\r\n"));
  QCOMPARE(w.document().Book().GradeLines[1], Li("优", "66", " 46"));
}

void MainWindowKeysTest::copy() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  h.Select(1, 4);
  h.SelectRange({1, 4, 3, 5});
  QApplication::clipboard()->clear();
  w.gradeEditor()->lineEdit()->deselect();
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("80\t90\n优\t\n855\to"));
  // With text selected in the editor, Ctrl+C is the editor's copy of it.
  w.gradeEditor()->lineEdit()->setSelection(0, 1);
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("8"));
  // Delete on the grid empties the selected grades, one step to undo.
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_Escape);
  const std::vector<std::string> full = w.document().Book().GradeLines;
  h.Select(1, 5);  // a block dragged from 王小明's examination: the editor in its first cell
  h.SelectRange({1, 5, 3, 6});
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_Delete);
  QCOMPARE(w.document().Book().GradeLines[0], Wang("80", "", ""));
  QCOMPARE(w.document().Book().GradeLines[2], Zhao("855", "", ""));
  w.commands().undo->trigger();
  QCOMPARE(w.document().Book().GradeLines, full);
  // On the bare grid too, a single cell as well.
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_Escape);
  w.studentGrid()->setFocus();
  w.studentGrid()->clearSelection();
  h.SelectRange({2, 4, 2, 4});
  QTest::keyClick(w.studentGrid(), Qt::Key_Delete);
  QCOMPARE(w.document().Book().GradeLines[1], Li("", "", "  0"));
  w.commands().undo->trigger();
  QCOMPARE(w.document().Book().GradeLines, full);
  // Copied cells paste back unchanged.
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_Escape);
  const std::vector<std::string> before = w.document().Book().GradeLines;
  h.Select(1, 4);
  h.SelectRange({1, 4, 1, 6});
  w.commands().copyCells->trigger();
  QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("80\t90\t87"));
  w.commands().pasteCells->trigger();
  QCOMPARE(w.document().Book().GradeLines, before);
}

void MainWindowKeysTest::findAcrossCourses() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  QTest::keyClick(w.courseList(), Qt::Key_F, Qt::ControlModifier);
  FindBar* bar = w.findBar();
  QVERIFY(bar != nullptr && bar->isVisible());
  QLineEdit* field = bar->field();
  QTRY_VERIFY(field->hasFocus());
  QVERIFY(w.statusLine()->isVisible());
  struct Step {
    QString Query;
    int Course, Row;  // 0: not found
  };
  const Step steps[] = {
      {QStringLiteral("钱"), 2, 2},           // another course
      {QStringLiteral("王 小明"), 1, 1},      // wraps to the first course; blanks do not count
      {QStringLiteral("王小明"), 2, 1},       // the same student in the next course
      {QStringLiteral("王小明"), 1, 1},       // and round again
      {QStringLiteral("20220000"), 1, 2},     // a number's start: the next after 王小明
      {QStringLiteral("2022000005"), 3, 1},
      {QStringLiteral("XYZ"), 0, 0},          // not a name or a number
      {QStringLiteral("0000"), 0, 0},         // a number matches from its start only
  };
  for (const Step& step : steps) {
    field->setText(step.Query);
    QTest::keyClick(field, Qt::Key_Return);
    const QString where = step.Query;
    if (step.Course == 0) {
      QCOMPARE(w.statusLine()->currentMessage(), WindowTexts::NotFound());
      continue;
    }
    QVERIFY2(h.CourseRow() == step.Course, qPrintable(where));
    QVERIFY2(w.studentGrid()->currentRow() == step.Row, qPrintable(where));
    QVERIFY(w.statusLine()->currentMessage() != WindowTexts::NotFound());
    // The find field keeps the keyboard for the next Enter.
    QVERIFY(field->hasFocus());
    QVERIFY(!w.gradeEditor()->isVisible());
  }
  // Escape closes the bar; the editor comes to the student found last.
  field->setText(QStringLiteral("赵四"));
  QTest::keyClick(field, Qt::Key_Return);
  QTest::keyClick(field, Qt::Key_Escape);
  QVERIFY(!bar->isVisible());
  QVERIFY(!w.statusLine()->isVisible());
  QVERIFY(w.gradeEditor()->isVisible());
  QCOMPARE(h.CourseRow(), 1);
  QCOMPARE(w.gradeCells().Row(), 3);
  QCOMPARE(w.gradeCells().Column(), 4);
}

QTEST_MAIN(MainWindowKeysTest)
#include "test_mainwindow_keys.moc"
