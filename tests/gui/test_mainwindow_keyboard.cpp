// The window by keyboard: F9 and F8 in 编辑, block selection in the grid
// (the block rules themselves are tested in the core suite), the preview's
// keys and zoom, the 帮助 menu. (The names a screen reader reads are walked
// on a real display: tests/a11y.)
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "app/KeyTable.h"
#include "app/KeyboardCommands.h"
#include "app/ShortcutsDialog.h"
#include "app/CheckBar.h"
#include "app/MainWindow.h"
#include "support/GradeFiles.h"
#include "support/PreviewWindow.h"
#include "support/WindowHarness.h"

using namespace testfiles;

class MainWindowKeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void recomputeByF9();
  void blockByShiftArrows();
  void dragSelectsWithoutTheEditor();
  void nextFindingByF8();
  void previewKeys();
  void helpMenu();
};

namespace {

void OpenThree(WindowHarness& h) {
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  QVERIFY(QTest::qWaitForWindowActive(h.W.get()));
}

KeyboardCommands& Keyboard(MainWindow& w) { return *w.findChild<KeyboardCommands*>(); }

}  // namespace

void MainWindowKeyboardTest::recomputeByF9() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  QAction* recompute = w.commands().recompute;
  QCOMPARE(recompute->text(), QStringLiteral("按当前比例重新计算(&T)"));
  QCOMPARE(w.checkBar()->recomputeButton()->text(), recompute->text());
  QCOMPARE(recompute->shortcut(), QKeySequence(Qt::Key_F9));
  QVERIFY(!recompute->isEnabled());
  // A new share: 王小明's 87 no longer agrees; the bar and the command come.
  w.shareEdit()->setFocus();
  w.shareEdit()->selectAll();
  QTest::keyClicks(w.shareEdit(), QStringLiteral("50"));
  QVERIFY(!w.checkBar()->isHidden());
  QVERIFY(recompute->isEnabled());
  h.Select(1, 4);
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_F9);
  // 0.5 x 80 + 0.5 x 90 = 85.
  QCOMPARE(w.document().Book().GradeLines[0], Record("k0001", "2022000001", "王小明", "计科2201", "80", "90", " 85"));
  QVERIFY(w.checkBar()->isHidden());
  QVERIFY(!recompute->isEnabled());
}

void MainWindowKeyboardTest::blockByShiftArrows() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  h.Select(1, 4);
  QTest::keyClicks(w.gradeEditor()->lineEdit(), QStringLiteral("66"));
  // Shift+Right and Shift+Down: the editor closes with its text written, the
  // block grows from its cell.
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_Right, Qt::ShiftModifier);
  QVERIFY(!w.gradeEditor()->isVisible());
  QTRY_VERIFY(w.studentGrid()->hasFocus());
  QTest::keyClick(w.studentGrid(), Qt::Key_Down, Qt::ShiftModifier);
  QCOMPARE(h.Selected().size(), 1);
  const GridRange range = h.Selected().front();
  QCOMPARE(QList<int>({range.Top, range.Left, range.Bottom, range.Right}),
           QList<int>({1, 4, 2, 5}));
  QCOMPARE(w.studentGrid()->currentRow(), 1);
  QCOMPARE(w.studentGrid()->currentColumn(), 4);
  QApplication::clipboard()->clear();
  QTest::keyClick(w.studentGrid(), Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("66\t90\n优\t"));
  // Shift+End to the total, Ctrl+A every grade of the course.
  QTest::keyClick(w.studentGrid(), Qt::Key_End, Qt::ShiftModifier);
  QCOMPARE(h.Selected().front().Right, 6);
  QTest::keyClick(w.studentGrid(), Qt::Key_A, Qt::ControlModifier);
  const GridRange all = h.Selected().front();
  QCOMPARE(QList<int>({all.Top, all.Left, all.Bottom, all.Right}),
           QList<int>({1, 4, 3, 6}));
  // A paste selects the pasted block, its first cell current.
  h.Select(2, 5);
  QApplication::clipboard()->setText(QStringLiteral("70\t71\n72\t73\n"));
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_V, Qt::ControlModifier);
  const GridRange pasted = h.Selected().front();
  QCOMPARE(QList<int>({pasted.Top, pasted.Left, pasted.Bottom, pasted.Right}),
           QList<int>({2, 5, 3, 6}));
  QCOMPARE(w.studentGrid()->currentRow(), 2);
  QCOMPARE(w.studentGrid()->currentColumn(), 5);
  QVERIFY(!w.gradeEditor()->isVisible());
}

void MainWindowKeyboardTest::dragSelectsWithoutTheEditor() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  QWidget* viewport = w.studentGrid()->viewport();
  const QPoint from = h.CellRect(1, 4).center();
  const QPoint to = h.CellRect(3, 5).center();
  QTest::mousePress(viewport, Qt::LeftButton, {}, from);
  QVERIFY(w.gradeEditor()->isVisible());  // a click calls the editor
  QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
  QTRY_COMPARE(w.studentGrid()->currentRow(), 1);
  QVERIFY(!w.gradeEditor()->isVisible());
  const GridRange range = h.Selected().front();
  QCOMPARE(QList<int>({range.Top, range.Left, range.Bottom, range.Right}),
           QList<int>({1, 4, 3, 5}));
  QApplication::clipboard()->clear();
  QTest::keyClick(w.studentGrid(), Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("80\t90\n优\t\n855\to"));
}

void MainWindowKeyboardTest::nextFindingByF8() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OpenThree(h);
  h.Select(1, 4);
  // The course's findings are 赵四's 855 and o; past the last, F8 starts
  // again at the first, Shift+F8 goes back.
  const struct {
    Qt::KeyboardModifiers Modifiers;
    QPoint Cell;
  } steps[] = {{Qt::NoModifier, {3, 4}}, {Qt::NoModifier, {3, 5}}, {Qt::NoModifier, {3, 4}},
               {Qt::ShiftModifier, {3, 5}}, {Qt::ShiftModifier, {3, 4}}};
  for (const auto& step : steps) {
    QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_F8, step.Modifiers);
    QCOMPARE(QPoint(w.gradeCells().Row(), w.gradeCells().Column()), step.Cell);
  }
  // A finding typed into 王小明's examination is the next stop from his row.
  h.Select(1, 4);
  h.Select(1, 5);
  w.gradeEditor()->lineEdit()->selectAll();
  QTest::keyClicks(w.gradeEditor()->lineEdit(), QStringLiteral("9O"));
  h.Select(1, 4);
  QTest::keyClick(w.gradeEditor()->lineEdit(), Qt::Key_F8);
  QCOMPARE(QPoint(w.gradeCells().Row(), w.gradeCells().Column()), QPoint(1, 5));
  QVERIFY(w.commands().editMenu->menu()->actions().contains(w.commands().nextFinding));
}

void MainWindowKeyboardTest::previewKeys() {
  PreviewWindow p;
  QVERIFY(p.Open(3, 5));
  MainWindow& w = p.W();
  // In the editing view the page keys are the grid's.
  QVERIFY(w.commands().nextPage->shortcuts().isEmpty());
  w.showSheet();
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QCOMPARE(w.sheetPreview().Page(), 1);
  QTest::keyClick(&w, Qt::Key_PageDown, Qt::ControlModifier);
  QCOMPARE(w.sheetPreview().Page(), 2);
  QTest::keyClick(&w, Qt::Key_End, Qt::ControlModifier);
  QCOMPARE(w.sheetPreview().Page(), 3);
  QTest::keyClick(&w, Qt::Key_PageUp, Qt::ControlModifier);
  QCOMPARE(w.sheetPreview().Page(), 2);
  QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
  QCOMPARE(w.sheetPreview().Page(), 1);
  QLabel* zoom = Keyboard(w).ZoomPanel();
  QCOMPARE(zoom->text(), QStringLiteral("缩放 100%"));
  QTest::keyClick(&w, Qt::Key_Plus, Qt::ControlModifier);
  QVERIFY(w.sheetPreview().Zoom() > 1.0);
  QCOMPARE(zoom->text(), QStringLiteral("缩放 %1%").arg(qRound(w.sheetPreview().Zoom() * 100)));
  QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
  QCOMPARE(zoom->text(), QStringLiteral("缩放 100%"));
  QScrollBar* bar = w.sheetPreview().pageArea()->verticalScrollBar();
  bar->setValue(0);
  QTest::keyClick(&w, Qt::Key_PageDown);
  QCOMPARE(bar->value(), std::min(bar->maximum(), bar->pageStep()));
  // Fonts and margins in the 预览 menu.
  QStringList captions;
  for (QAction* action : w.commands().previewMenu->menu()->actions()) captions << action->text();
  QVERIFY(captions.contains(QStringLiteral("表内容字体(&T)...")));
  QVERIFY(captions.contains(QStringLiteral("设置页边界(&B)...")));
  QCOMPARE(w.commands().nextPage->shortcut(), QKeySequence(Qt::ControlModifier | Qt::Key_PageDown));
  // 选页 offers each page's course beside its number.
  p.Script->Pages.push_back(3);
  w.choosePage();
  QCOMPARE(w.sheetPreview().Page(), 3);
  QCOMPARE(p.Script->PageLabelsOffered.size(), std::size_t(1));
  QCOMPARE(p.Script->PageLabelsOffered.front(),
           QStringList({QStringLiteral("课程1 (1/1)"), QStringLiteral("课程2 (1/1)"), QStringLiteral("课程3 (1/1)")}));
  w.showEditing();
  QVERIFY(w.commands().firstPage->shortcuts().isEmpty());
}

void MainWindowKeyboardTest::helpMenu() {
  WindowHarness h;
  MainWindow& w = *h.W;
  QMenu* help = w.menuBar()->findChild<QMenu*>(QStringLiteral("HelpMenu"));
  QVERIFY(help);
  QCOMPARE(help->title(), QStringLiteral("帮助(&H)"));
  QCOMPARE(help->actions().size(), 2);
  QCOMPARE(help->actions()[0]->text(), QStringLiteral("快捷键(&K)"));
  QCOMPARE(help->actions()[1]->text(), QStringLiteral("关于(&A)"));
  help->actions()[0]->trigger();
  auto* keys = w.findChild<ShortcutsDialog*>();
  QVERIFY(keys);
  const QAbstractItemModel* listed = keys->Table()->model();
  QCOMPARE(listed->rowCount(), static_cast<int>(KeyTable().size()));
  // The table is the menus' own: the list shows the key 编辑 shows for F9.
  const QModelIndexList f9 = listed->match(listed->index(0, 1), Qt::DisplayRole, QStringLiteral("按当前比例重新计算"), -1,
                                           Qt::MatchExactly);
  QCOMPARE(f9.size(), 1);
  QCOMPARE(listed->index(f9.front().row(), 2).data().toString(),
           w.commands().recompute->shortcut().toString(QKeySequence::NativeText));
  keys->close();
}

QTEST_MAIN(MainWindowKeyboardTest)
#include "test_mainwindow_keyboard.moc"
