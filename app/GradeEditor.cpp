#include "app/GradeEditor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <utility>

GradeEditor::GradeEditor(QComboBox& combo, QAbstractItemView& grid)
    : QStyledItemDelegate(&grid), combo_(combo), grid_(grid), chainBefore_(combo.previousInFocusChain()) {
  combo_.installEventFilter(this);
}

void GradeEditor::OpenAt(const QModelIndex& cell) {
  const bool was = std::exchange(moving_, true);
  // From cell to cell the focus waits on the grid, not on whatever follows
  // the editor in the window.
  if (cell.isValid() && cell_.isValid() && HasFocus()) grid_.setFocus(Qt::OtherFocusReason);
  // Closed before the grid scrolls: the old cell going out of sight then is
  // no leaving.
  Close();
  if (cell.isValid()) {
    grid_.scrollTo(cell);
    cell_ = cell;
    grid_.openPersistentEditor(cell);
    // The grid puts its editors right after itself in the tab chain; this
    // one keeps its place, so that the focus it hands on when it closes goes
    // where it always went.
    if (chainBefore_ != nullptr) QWidget::setTabOrder(chainBefore_, &combo_);
  }
  moving_ = was;
}

void GradeEditor::Close() {
  if (!cell_.isValid()) return;
  const bool was = std::exchange(moving_, true);
  // Hidden first, it hands a focus it has on along the window's tab chain;
  // closed with the focus at the current cell, the grid would take it.
  combo_.hide();
  grid_.closePersistentEditor(std::exchange(cell_, QPersistentModelIndex()));
  moving_ = was;
}

bool GradeEditor::HasFocus() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus == &combo_ || combo_.isAncestorOf(focus);
}

QWidget* GradeEditor::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  if (combo_.parentWidget() != parent) combo_.setParent(parent);
  return &combo_;
}

void GradeEditor::destroyEditor(QWidget* editor, const QModelIndex&) const {
  // The one editor lives on for the next cell.
  editor->hide();
}

void GradeEditor::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const {
  // At the cell's top left, in its own fixed size: a little larger than the
  // cell, so that its frame lies on the cell's grid lines.
  editor->move(option.rect.topLeft());
}

void GradeEditor::setEditorData(QWidget*, const QModelIndex&) const {}

void GradeEditor::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

bool GradeEditor::eventFilter(QObject* watched, QEvent* event) {
  // The grid moves its editors by moving the viewport's children: a move
  // that leaves the cell out of sight is the editor's leaving.
  if (watched == &combo_ && event->type() == QEvent::Move && !moving_ && cell_.isValid() && combo_.isVisible() &&
      !grid_.viewport()->rect().intersects(grid_.visualRect(cell_)))
    emit leftSight();
  // The window takes the editor's keys and its losing the focus; the
  // delegate's own handling would close the editor at Tab, Enter, Escape
  // and every focus out.
  return false;
}
