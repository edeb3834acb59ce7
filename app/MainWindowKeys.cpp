// The keyboard's way through the editing view, and the window's fit to the
// screen. After a file opens the course list has the focus; Enter, Tab or
// Right go into the grid (the first student's coursework, the editor open),
// Escape comes back, Shift+Tab goes to the share field. Delete on the bare
// grid empties the selected grades, as in a spreadsheet. The grid without its editor takes keys too: typing or
// Enter lays the editor over the current cell.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <initializer_list>

#include "app/KeyTable.h"
#include "app/EditingGrids.h"
#include "app/FindBar.h"
#include "app/MainWindow.h"
#include "app/RecentFilesMenu.h"
#include "gradefile/Clipboard.h"

namespace {

// The word list's rows at a height a finger on a touch pad hits: the font's
// line with room above and below, at least 22 pixels.
class RoomyRows : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max({size.height(), option.fontMetrics.height() + 8, 22}));
    return size;
  }
};

bool IsKey(QEvent* event, std::initializer_list<int> keys) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) return false;
  for (int k : keys)
    if (key->key() == k) return true;
  return false;
}

}  // namespace

void MainWindow::BuildEditingAids() {
  // The find bar belongs to the grid; the preview has none.
  connect(views_, &QStackedWidget::currentChanged, this, [this] {
    if (views_->currentWidget() != editingView_ && findBar_ != nullptr) findBar_->closeBar();
  });

  // The recent files stand above the exit command, read afresh whenever the menu opens.
  recentFiles_ = new RecentFilesMenu(commands_.fileMenu->menu(), commands_.exit, userDir_, this);
  connect(recentFiles_, &RecentFilesMenu::chosen, this, [this](const std::string& path) { OpenRecent(path); });

  courseList()->installEventFilter(this);
  studentGrid()->installEventFilter(this);
  // Text dropped on a field would become a grade or a share; a dropped file
  // is for the window to open.
  shareEdit()->setAcceptDrops(false);
  gradeEditor()->lineEdit()->setAcceptDrops(false);
  setAcceptDrops(true);

  gradeEditor()->setItemDelegate(new RoomyRows(gradeEditor()));
}

void MainWindow::EnterGrid() {
  if (Book.CourseKeys.empty()) return;
  EnterGridAt(1);
}

void MainWindow::EnterGridAt(int row) {
  if (studentGrid()->currentRow() == row && studentGrid()->currentColumn() == kFirstGradeColumn) {
    selectGradeCell(row, kFirstGradeColumn);
  } else {
    studentGrid()->setCurrentCell(row, kFirstGradeColumn);
  }
}

bool MainWindow::EditingKeyFilter(QObject* watched, QEvent* event) {
  const bool editor = watched == gradeEditor() || watched == gradeEditor()->lineEdit();
  // Copy and paste of cells: the menu's commands, unless the editor's own
  // copy of selected text or paste of a single value is meant.
  if ((editor || watched == studentGrid()) && (GridClipboard::IsKeyOf(event, commands_.copyCells) || GridClipboard::IsKeyOf(event, commands_.pasteCells))) {
    const bool copy = GridClipboard::IsKeyOf(event, commands_.copyCells);
    if (editor && copy && gradeEditor()->lineEdit()->hasSelectedText()) return false;
    if (editor && !copy && !IsCellBlock(QApplication::clipboard()->text().toStdString())) return false;
    if (event->type() == QEvent::KeyPress) copy ? clipboard_->copyCells() : clipboard_->pasteCells();
    return true;  // a refused shortcut override lets the menu's shortcut act
  }
  // Delete over a block selected by dragging (the editor sits in its first
  // cell) empties the block; over the editor's cell alone it edits the text.
  if (editor && IsKey(event, {Qt::Key_Delete})) {
    const std::vector<GridRange> ranges = studentGrid()->SelectedRanges();
    if (!ranges.empty() && (ranges.front().Bottom > ranges.front().Top || ranges.front().Right > ranges.front().Left)) {
      clipboard_->ClearSelectedCells();
      return true;
    }
  }
  if (watched == courseList() && IsKey(event, {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Right})) {
    EnterGrid();
    return true;
  }
  // The share field lies between the two: Shift+Tab from the course list
  // reaches it, Tab goes on into the grid, Shift+Tab back.
  if (watched == courseList() && IsKey(event, {Qt::Key_Backtab})) {
    shareEdit()->setFocus(Qt::BacktabFocusReason);
    shareEdit()->selectAll();
    return true;
  }
  if (watched == shareEdit() && IsKey(event, {Qt::Key_Tab, Qt::Key_Backtab})) {
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab)
      EnterGrid();
    else
      courseList()->setFocus(Qt::BacktabFocusReason);
    return true;
  }
  if (watched == studentGrid() && event->type() == QEvent::KeyPress && !gradeEditor()->isVisible()) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (IsKey(event, {Qt::Key_Escape})) {
      courseList()->setFocus(Qt::OtherFocusReason);
      return true;
    }
    if (IsKey(event, {Qt::Key_Delete, Qt::Key_Backspace})) {
      clipboard_->ClearSelectedCells();
      return true;
    }
    const int row = studentGrid()->currentRow();
    const int col = studentGrid()->currentColumn();
    if (row < 1 || col < kFirstGradeColumn) return false;
    const bool typing = !key->text().isEmpty() && key->text().at(0).isPrint() &&
                        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (!typing && !IsKey(event, {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2})) return false;
    selectGradeCell(row, col);
    // The key that opened the editor is its first keystroke.
    if (typing && gradeEditor()->isVisible()) QApplication::sendEvent(gradeEditor()->lineEdit(), event);
    return true;
  }
  return false;
}

// ---- the window's size -----------------------------------------------------------

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (placed_) return;
  placed_ = true;
  // The window manager frames the window after it is shown; the frame is
  // known once it has, at a moment no event tells.
  for (int ms : {0, 150, 500, 1500}) QTimer::singleShot(ms, this, [this] { FitFrameToScreen(); });
}

// At the top left of the screen's free area and as large as it, the frame
// and title bar included, so that nothing of the window (the status bar at
// its bottom) lies off the screen.
void MainWindow::FitFrameToScreen() {
  // A window the teacher (or anyone) has sized meanwhile stays as it is.
  if (isMaximized() || isFullScreen() || size() != placedSize_) return;
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QRect frame = frameGeometry();
  const QRect inner = geometry();
  const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                         frame.right() - inner.right(), frame.bottom() - inner.bottom());
  const QRect client = area.marginsRemoved(margins);
  if (client == inner) return;
  setGeometry(client);
  placedSize_ = client.size();
}
