#include "app/GridSelection.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>

#include "app/EditingGrids.h"
#include "app/KeyTable.h"
#include "app/MainWindow.h"

namespace {

std::optional<BlockKey> KeyOf(const QKeyEvent& key) {
  const QKeySequence pressed(key.keyCombination());
  if (IsKeyOf(KeyCommand::SelectAllGrades, pressed)) return BlockKey::All;
  const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
  if (mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
    if (key.key() == Qt::Key_Home) return BlockKey::Top;
    if (key.key() == Qt::Key_End) return BlockKey::Bottom;
    return std::nullopt;
  }
  if (mods != Qt::ShiftModifier) return std::nullopt;
  switch (key.key()) {
    case Qt::Key_Left: return BlockKey::Left;
    case Qt::Key_Right: return BlockKey::Right;
    case Qt::Key_Up: return BlockKey::Up;
    case Qt::Key_Down: return BlockKey::Down;
    case Qt::Key_Home: return BlockKey::RowStart;
    case Qt::Key_End: return BlockKey::RowEnd;
    default: return std::nullopt;
  }
}

}  // namespace

GridSelection::GridSelection(MainWindow& window) : QObject(&window), w_(window) {
  setObjectName(QStringLiteral("GridSelection"));
  // Installed after the window's own filters, so asked before them.
  for (QObject* watched : {static_cast<QObject*>(w_.studentGrid()), static_cast<QObject*>(w_.studentGrid()->viewport()),
                           static_cast<QObject*>(w_.gradeEditor()), static_cast<QObject*>(w_.gradeEditor()->lineEdit())})
    watched->installEventFilter(this);
}

GridSelection::~GridSelection() = default;

int GridSelection::Students() const {
  const bool students = !w_.editingView().rows().empty() && !w_.editingView().rows().front().IsPlaceholder();
  return students ? static_cast<int>(w_.editingView().rows().size()) : 0;
}

std::optional<StudentCell> GridSelection::CurrentCell() const {
  const bool editing = w_.gradeEditor()->isVisible();
  const int row = editing ? w_.gradeCells().Row() : w_.studentGrid()->currentRow();
  const int col = editing ? w_.gradeCells().Column() : w_.studentGrid()->currentColumn();
  if (row < 1 || row > Students() || !IsGradeColumn(col)) return std::nullopt;
  return StudentCell{StudentOfRow(row), FieldOfColumn(col)};
}

bool GridSelection::eventFilter(QObject* watched, QEvent* event) {
  if (watched == w_.studentGrid()->viewport()) return TakeMouse(event) || QObject::eventFilter(watched, event);
  if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (KeyOf(*key)) {
      // The edit field would take Shift+arrows and Ctrl+A for its own text.
      if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
      }
      return TakeKey(key);
    }
  }
  return QObject::eventFilter(watched, event);
}

bool GridSelection::TakeKey(QKeyEvent* key) {
  const std::optional<StudentCell> current = CurrentCell();
  if (!current) return false;
  // A block goes on from where it is while its first cell is current;
  // otherwise it starts at the current cell.
  GradeBlock block{*current, *current};
  if (block_ && block_->Anchor == *current && !w_.gradeEditor()->isVisible()) block = *block_;
  // The editor's text is in the file already: closing it keeps it.
  if (w_.gradeEditor()->isVisible()) w_.leaveGradeEditor();
  Select(ExtendBlock(block, *KeyOf(*key), Students()));
  return true;
}

void GridSelection::Select(const GradeBlock& block) {
  block_ = block;
  StudentGrid* grid = w_.studentGrid();
  {
    const QSignalBlocker quiet(grid);
    grid->setCurrentCell(GridRow(block.Anchor.Student), GridColumn(block.Anchor.Field));
    grid->clearSelection();
    grid->SelectRange({GridRow(block.FirstStudent()), GridColumn(block.FirstField()),
                       GridRow(block.LastStudent()), GridColumn(block.LastField())});
  }
  w_.gradeCells().ForgetCell();
  grid->ScrollToCell(GridRow(block.Extent.Student), GridColumn(block.Extent.Field));
  grid->setFocus(Qt::OtherFocusReason);
}

bool GridSelection::TakeMouse(QEvent* event) {
  StudentGrid* grid = w_.studentGrid();
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      dragging_.reset();
      pressedCell_.reset();
      const QModelIndex at = grid->indexAt(mouse->position().toPoint());
      if (mouse->button() == Qt::LeftButton && at.isValid()) pressedCell_ = QPoint(StudentGrid::RowOf(at), at.column());
      return false;  // the click itself calls the editor to the cell
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (!pressedCell_ || !(mouse->buttons() & Qt::LeftButton) || dragging_) return false;
      const QModelIndex at = grid->indexAt(mouse->position().toPoint());
      if (!at.isValid() || QPoint(StudentGrid::RowOf(at), at.column()) == *pressedCell_) return false;
      // A drag, not a click: the editor goes, and the current cell follows
      // the mouse without calling it back.
      w_.leaveGradeEditor();
      w_.gradeCells().ForgetCell();
      dragging_ = std::make_unique<QSignalBlocker>(grid);
      return false;
    }
    case QEvent::MouseButtonRelease: {
      if (!dragging_) {
        pressedCell_.reset();
        return false;
      }
      // Once the view has finished its selection, the first cell of the
      // drag becomes current again, as a spreadsheet leaves it.
      const QPoint to = [&] {
        const QModelIndex at = grid->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        return at.isValid() ? QPoint(StudentGrid::RowOf(at), at.column()) : QPoint(-1, -1);
      }();
      QMetaObject::invokeMethod(this, [this, to] { EndDrag(to); }, Qt::QueuedConnection);
      return false;
    }
    default:
      return false;
  }
}

void GridSelection::EndDrag(QPoint to) {
  StudentGrid* grid = w_.studentGrid();
  const QPoint from = pressedCell_.value_or(QPoint(-1, -1));
  if (from.x() >= 0)
    grid->selectionModel()->setCurrentIndex(grid->IndexOf(from.x(), from.y()), QItemSelectionModel::NoUpdate);
  dragging_.reset();
  pressedCell_.reset();
  block_.reset();
  auto inGrades = [this](QPoint cell) {
    return cell.x() >= 1 && cell.x() <= Students() && IsGradeColumn(cell.y());
  };
  if (inGrades(from) && inGrades(to))
    block_ = GradeBlock{{StudentOfRow(from.x()), FieldOfColumn(from.y())},
                        {StudentOfRow(to.x()), FieldOfColumn(to.y())}};
  grid->setFocus(Qt::MouseFocusReason);
}
