// Undo and redo in the window: where a step begins and ends (a cell from the
// editor's arrival to its leaving, the share from focus in to focus out), the
// keys in the edit fields, what the window shows afterwards, and when the
// commands are enabled. The byte-exactness of the history itself is tested in
// the core suite.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "app/MainWindow.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"

using namespace testfiles;

class MainWindowUndoTest : public QObject {
  Q_OBJECT

 private slots:
  void cellEditIsOneStep();
  void eachCellIsAStepOfItsOwn();
  void shareEditIsOneStep_data();
  void shareEditIsOneStep();
  void undoShowsTheCourseItChanged();
  void commandsEnabledOnlyWhenPossible();
  void openingAnotherFileClearsTheHistory();
  void previewHasNoUndo();
};

namespace {
void Undo(QWidget* where) { QTest::keyClick(where, Qt::Key_Z, Qt::ControlModifier); }
void Redo(QWidget* where, bool shifted = false) {
  if (shifted)
    QTest::keyClick(where, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  else
    QTest::keyClick(where, Qt::Key_Y, Qt::ControlModifier);
}
}  // namespace

void MainWindowUndoTest::cellEditIsOneStep() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  const Lines before = w.document().Book().GradeLines;
  h.Select(1, 5);  // examination 90 of 王小明
  QTest::keyClick(w.gradeEditor(), Qt::Key_8);
  QTest::keyClick(w.gradeEditor(), Qt::Key_5);
  const Lines typed = w.document().Book().GradeLines;
  QCOMPARE(typed[0], Record("k0001", "2022000001", "王小明", "计科2201", "80", "85", " 84"));

  // Ctrl+Z in the editor ends the edit and takes back both keys at once.
  Undo(w.gradeEditor()->lineEdit());
  QCOMPARE(w.document().Book().GradeLines, before);
  QCOMPARE(h.Cell(1, 5), QStringLiteral("90    "));  // the field as the file holds it
  QCOMPARE(h.Cell(1, 6), QStringLiteral("87    "));
  QVERIFY(w.gradeEditor()->isVisible());
  QCOMPARE(w.gradeCells().Row(), 1);
  QCOMPARE(w.gradeCells().Column(), 5);
  QCOMPARE(w.gradeEditor()->currentText(), QStringLiteral("90"));
  // Back at the file as opened: there is nothing to save, nor to ask at closing.
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());

  Redo(w.gradeEditor()->lineEdit());
  QCOMPARE(w.document().Book().GradeLines, typed);
  QCOMPARE(h.Cell(1, 6), QStringLiteral(" 84   "));
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  Undo(w.gradeEditor()->lineEdit());
  Redo(w.gradeEditor()->lineEdit(), /*shifted=*/true);
  QCOMPARE(w.document().Book().GradeLines, typed);

  // Saved with 85, the saved state is the one undo and redo come back to.
  w.commands().save->trigger();
  QVERIFY(!w.commands().save->isEnabled());
  w.undo();
  QCOMPARE(w.document().Book().GradeLines, before);
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  w.redo();
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
}

void MainWindowUndoTest::eachCellIsAStepOfItsOwn() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  const Lines before = w.document().Book().GradeLines;
  h.Select(1, 4);
  QTest::keyClick(w.gradeEditor(), Qt::Key_7);
  QTest::keyClick(w.gradeEditor(), Qt::Key_Return);  // on to 李华's coursework
  const Lines first = w.document().Book().GradeLines;
  QTest::keyClick(w.gradeEditor(), Qt::Key_6);
  QTest::keyClick(w.gradeEditor(), Qt::Key_0);
  QVERIFY(w.document().Book().GradeLines[1] != first[1]);

  Undo(w.gradeEditor()->lineEdit());  // once: one step, not two
  QCOMPARE(w.document().Book().GradeLines, first);
  QCOMPARE(w.gradeCells().Row(), 2);
  w.commands().undo->trigger();
  QCOMPARE(w.document().Book().GradeLines, before);
  QCOMPARE(w.gradeCells().Row(), 1);
  QCOMPARE(w.gradeCells().Column(), 4);
  QVERIFY(!w.commands().undo->isEnabled());
  // A cell the editor passed without a change is no step.
  h.Select(3, 5);
  h.Select(2, 5);
  QVERIFY(!w.commands().undo->isEnabled());
  QVERIFY(w.commands().redo->isEnabled());
}

void MainWindowUndoTest::shareEditIsOneStep_data() {
  QTest::addColumn<int>("course");
  QTest::addColumn<QString>("oldShare");
  QTest::newRow("replaces a t9 line") << 1 << "30";
  QTest::newRow("adds a t9 line") << 3 << "";
}

void MainWindowUndoTest::shareEditIsOneStep() {
  QFETCH(int, course);
  QFETCH(QString, oldShare);
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.SelectCourse(course);
  const Lines head = w.document().Book().HeadLines;
  w.shareEdit()->setFocus();
  w.shareEdit()->selectAll();
  QTest::keyClicks(w.shareEdit(), QStringLiteral("45"));
  const Lines edited = w.document().Book().HeadLines;
  QVERIFY(edited != head);

  Undo(w.shareEdit());
  QCOMPARE(w.document().Book().HeadLines, head);
  QCOMPARE(w.shareEdit()->text(), oldShare);
  w.commands().redo->trigger();
  QCOMPARE(w.document().Book().HeadLines, edited);
  QCOMPARE(w.shareEdit()->text(), QStringLiteral("45"));
  // Leaving the field ends the step: a second edit is undone on its own.
  w.shareEdit()->setFocus();
  QTest::keyClick(w.shareEdit(), Qt::Key_Backspace);
  h.Select(1, 4);
  w.commands().undo->trigger();
  QCOMPARE(w.document().Book().HeadLines, edited);
  w.commands().undo->trigger();
  QCOMPARE(w.document().Book().HeadLines, head);
}

void MainWindowUndoTest::undoShowsTheCourseItChanged() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.SelectCourse(2);
  h.Select(2, 5);  // 钱五's examination in 高等数学
  QTest::keyClick(w.gradeEditor(), Qt::Key_9);
  h.SelectCourse(1);
  QCOMPARE(h.CourseRow(), 1);

  w.commands().undo->trigger();
  QCOMPARE(h.CourseRow(), 2);
  QCOMPARE(w.shareEdit()->text(), QStringLiteral("40"));
  QCOMPARE(w.gradeCells().Row(), 2);
  QCOMPARE(w.gradeCells().Column(), 5);
  QCOMPARE(h.Cell(2, 5), QString(6, QLatin1Char(' ')));
  QCOMPARE(w.document().Book().GradeLines[4], Record("k0002", "2022000004", "钱五", "计科2201", "", "", ""));
}

void MainWindowUndoTest::commandsEnabledOnlyWhenPossible() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  QVERIFY(!w.commands().undo->isEnabled());
  QVERIFY(!w.commands().redo->isEnabled());
  h.Select(1, 4);
  QTest::keyClick(w.gradeEditor(), Qt::Key_1);
  QVERIFY(w.commands().undo->isEnabled());  // the edit in progress can be undone
  QVERIFY(!w.commands().redo->isEnabled());
  w.commands().undo->trigger();
  QVERIFY(!w.commands().undo->isEnabled());
  QVERIFY(w.commands().redo->isEnabled());
  // A new edit forgets what could be redone.
  QTest::keyClick(w.gradeEditor(), Qt::Key_2);
  QVERIFY(!w.commands().redo->isEnabled());
  h.Select(2, 4);
  QVERIFY(w.commands().undo->isEnabled());
  QVERIFY(!w.commands().redo->isEnabled());
}

void MainWindowUndoTest::openingAnotherFileClearsTheHistory() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Select(1, 4);
  QTest::keyClick(w.gradeEditor(), Qt::Key_1);
  h.Select(2, 4);
  h.Script->YesNoCancelAnswers.push_back(Answer::No);  // do not save the first file
  h.Open(h.Write("other.txt", FileBytes(ThreeCourses())));
  QVERIFY(!w.commands().undo->isEnabled());
  const Lines loaded = w.document().Book().GradeLines;
  w.commands().undo->trigger();
  QCOMPARE(w.document().Book().GradeLines, loaded);
  QVERIFY(!w.Modified());
}

void MainWindowUndoTest::previewHasNoUndo() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Select(1, 4);
  QTest::keyClick(w.gradeEditor(), Qt::Key_1);
  w.showSheet();
  QVERIFY(!w.commands().editMenu->isEnabled());
  QVERIFY(!w.commands().undo->isEnabled());
  w.showEditing();
  QVERIFY(w.commands().editMenu->isEnabled());
  QVERIFY(w.commands().undo->isEnabled());
}

QTEST_MAIN(MainWindowUndoTest)
#include "test_mainwindow_undo.moc"
