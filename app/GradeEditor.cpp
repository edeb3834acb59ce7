#include "app/GradeEditor.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

#include "app/EditingGrids.h"
#include "app/GridPlaces.h"
#include "preview/DialogLook.h"
#include "printing/qt/QtText.h"

GradeEditor::GradeEditor(StudentGrid& grid)
    : QStyledItemDelegate(&grid), grid_(grid), combo_(new QComboBox(grid.viewport())) {
  combo_->setObjectName(QStringLiteral("gradeEditor"));
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->setCompleter(nullptr);  // completion would change what is typed
  combo_->setMaxVisibleItems(24);
  combo_->setFont(preview::FormFont());
  // A little larger than a grade cell, so that its frame lies on the
  // cell's grid lines.
  combo_->setFixedSize(std::max(66, grid.columnWidth(kFirstGradeColumn) + 2), 21);
  combo_->hide();
  chainBefore_ = combo_->previousInFocusChain();
  combo_->installEventFilter(this);
  viewport_ = grid.viewport();
  viewport_->installEventFilter(this);
  for (int column = kFirstGradeColumn; column <= kLastGradeColumn; ++column) grid.setItemDelegateForColumn(column, this);
}

void GradeEditor::OpenAt(int row, int column, const std::string& bytes) {
  const QModelIndex cell = grid_.IndexOf(row, column);
  if (!cell.isValid()) return;
  const bool was = std::exchange(moving_, true);
  // From cell to cell the focus waits on the grid, not on whatever follows
  // the editor in the window.
  if (cell_.isValid() && HasFocus()) grid_.setFocus(Qt::OtherFocusReason);
  // Closed before the grid scrolls: the old cell going out of sight then is
  // no leaving.
  Close();
  {
    const QSignalBlocker block(combo_);
    combo_->setCurrentIndex(-1);  // a later pick of any word is a change
    combo_->setEditText(GbkToQString(bytes));
  }
  bytes_ = bytes;
  row_ = row;
  column_ = column;
  grid_.scrollTo(cell);
  cell_ = cell;
  grid_.openPersistentEditor(cell);
  // The grid puts its editors right after itself in the tab chain; this one
  // keeps its place, so that a focus it hands on when it closes goes where
  // it always went.
  if (chainBefore_ != nullptr) QWidget::setTabOrder(chainBefore_, combo_);
  combo_->setFocus(Qt::OtherFocusReason);
  combo_->lineEdit()->selectAll();
  moving_ = was;
}

void GradeEditor::Close() {
  if (!cell_.isValid()) return;
  const bool was = std::exchange(moving_, true);
  // Hidden first, it hands a focus it has on along the window's tab chain;
  // closed with the focus at the current cell, the grid would take it.
  combo_->hide();
  grid_.closePersistentEditor(std::exchange(cell_, QPersistentModelIndex()));
  moving_ = was;
}

void GradeEditor::Took(const std::string& bytes, const std::optional<RecordChange>& change) {
  bytes_ = bytes;
  if (change) step_.Add(*change);
}

EditStep GradeEditor::TakeStep() { return std::exchange(step_, {}); }

bool GradeEditor::HasFocus() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus == combo_ || combo_->isAncestorOf(focus);
}

QWidget* GradeEditor::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  if (combo_->parentWidget() != parent) combo_->setParent(parent);
  return combo_;
}

void GradeEditor::destroyEditor(QWidget* editor, const QModelIndex&) const {
  // The one editor lives on for the next cell.
  editor->hide();
}

void GradeEditor::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const {
  const bool was = std::exchange(placing_, true);
  editor->move(option.rect.topLeft());  // in its own fixed size
  placing_ = was;
}

void GradeEditor::setEditorData(QWidget*, const QModelIndex&) const {}

void GradeEditor::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

void GradeEditor::StopWatching() {
  combo_->removeEventFilter(this);
  viewport_->removeEventFilter(this);
}

bool GradeEditor::OutOfSight() const {
  return !moving_ && cell_.isValid() && combo_->isVisible() &&
         !grid_.viewport()->rect().intersects(grid_.visualRect(cell_));
}

bool GradeEditor::eventFilter(QObject* watched, QEvent* event) {
  // The grid scrolls by moving the viewport's children, and shrinks with the
  // window: either can leave the cell out of sight, which is the editor's
  // leaving. While the grid goes through its editors placing them, it is
  // told after it has finished.
  const bool moved = event->type() == QEvent::Move && watched == combo_;
  const bool shrunk = event->type() == QEvent::Resize && watched == viewport_;
  if ((moved || shrunk) && OutOfSight()) {
    if (!placing_)
      emit leftSight();
    else
      QMetaObject::invokeMethod(this, [this] { if (OutOfSight()) emit leftSight(); }, Qt::QueuedConnection);
  }
  // The window takes the editor's keys and its losing the focus; the
  // delegate's own handling would close the editor at Tab, Enter, Escape
  // and every focus out.
  return false;
}
