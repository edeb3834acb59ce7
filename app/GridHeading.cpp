#include "app/GridHeading.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTableView>

QColor GridHeading::FixedFace() { return QColor(236, 233, 216); }

GridHeading::GridHeading(QTableView* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {
  setSectionResizeMode(QHeaderView::Fixed);  // the widths are the program's, not dragged
  setSectionsClickable(false);
  setHighlightSections(false);
  setFont(grid->font());
  grid->setHorizontalHeader(this);
}

QSize GridHeading::sizeHint() const {
  return {QHeaderView::sizeHint().width(), grid_->verticalHeader()->defaultSectionSize()};
}

// Each title goes through the steps the grid takes for a cell that takes no
// input (the style's item drawing with the grid's options, the cell one grid
// line short of its section), then the grid's lines, so that the heading is
// pixel for pixel what a fixed first row of the grid was.
void GridHeading::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect dirty = event->rect();
  painter.fillRect(dirty, grid_->viewport()->palette().brush(grid_->viewport()->backgroundRole()));
  if (count() == 0 || model() == nullptr) return;

  QStyleOptionViewItem base;
  base.initFrom(grid_);
  base.state &= ~QStyle::State_MouseOver;
  base.font = grid_->font();
  if (!grid_->hasFocus()) base.state &= ~QStyle::State_Active;
  base.state &= ~QStyle::State_HasFocus;
  const int icon = grid_->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, grid_);
  base.decorationSize = grid_->iconSize().isValid() ? grid_->iconSize() : QSize(icon, icon);
  base.decorationPosition = QStyleOptionViewItem::Left;
  base.decorationAlignment = Qt::AlignCenter;
  base.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  base.textElideMode = grid_->textElideMode();
  base.showDecorationSelected = true;
  if (grid_->wordWrap()) base.features = QStyleOptionViewItem::WrapText;
  base.locale = grid_->locale();
  base.locale.setNumberOptions(QLocale::OmitGroupSeparator);
  base.widget = grid_;

  const int line = grid_->showGrid() ? 1 : 0;
  int first = visualIndexAt(dirty.left());
  int last = visualIndexAt(dirty.right());
  if (first < 0) first = 0;
  if (last < 0) last = count() - 1;
  for (int visual = first; visual <= last; ++visual) {
    const int section = logicalIndex(visual);
    if (isSectionHidden(section)) continue;
    QStyleOptionViewItem cell = base;
    cell.rect = QRect(sectionViewportPosition(section), 0, sectionSize(section) - line, height() - line);
    if (cell.state & QStyle::State_Enabled) {
      cell.state &= ~QStyle::State_Enabled;  // a heading takes no input
      cell.palette.setCurrentColorGroup(QPalette::Disabled);
    }
    cell.palette.setBrush(QPalette::Text, Qt::black);
    cell.backgroundBrush = FixedFace();
    cell.text = model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
    if (!cell.text.isEmpty()) cell.features |= QStyleOptionViewItem::HasDisplay;
    grid_->style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &cell, &painter, grid_);
    grid_->style()->drawControl(QStyle::CE_ItemViewItem, &cell, &painter, grid_);
  }

  if (line == 0) return;
  const QColor colour = QColor::fromRgba(
      static_cast<QRgb>(grid_->style()->styleHint(QStyle::SH_Table_GridLineColor, &base, grid_)));
  painter.setPen(QPen(colour, 1, grid_->gridStyle()));
  const int right = std::min(dirty.right(), length() - offset() - 1);
  painter.drawLine(dirty.left(), height() - 1, right, height() - 1);
  for (int visual = first; visual <= last; ++visual) {
    const int section = logicalIndex(visual);
    if (isSectionHidden(section)) continue;
    const int x = sectionViewportPosition(section) + sectionSize(section) - 1;
    painter.drawLine(x, dirty.top(), x, std::min(dirty.bottom(), height() - 1));
  }
}
