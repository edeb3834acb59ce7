#include "app/FrozenHeading.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTableWidget>

namespace {

// The grid's model with its first row only. Hiding the other rows of the
// overlay one by one instead costs the header a walk over all of them for
// each: a course of 100,000 students took seconds to show.
class HeadingRowOnly : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

 protected:
  bool filterAcceptsRow(int row, const QModelIndex&) const override { return row == 0; }
};

void Fit(QTableWidget* grid, QTableView* overlay) {
  const QRect port = grid->viewport()->geometry();
  overlay->setGeometry(port.left(), port.top(), port.width(), grid->rowHeight(0));
}

}  // namespace

QTableView* FreezeHeadingRow(QTableWidget* grid) {
  auto* overlay = new QTableView(grid);
  overlay->setObjectName(grid->objectName() + QStringLiteral("Heading"));
  auto* heading = new HeadingRowOnly(overlay);
  heading->setSourceModel(grid->model());
  overlay->setModel(heading);
  overlay->setFocusPolicy(Qt::NoFocus);
  overlay->setSelectionMode(QAbstractItemView::NoSelection);
  overlay->setEditTriggers(QAbstractItemView::NoEditTriggers);
  overlay->horizontalHeader()->hide();
  overlay->verticalHeader()->hide();
  overlay->setFrameShape(QFrame::NoFrame);
  overlay->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  overlay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  overlay->setFont(grid->font());
  overlay->verticalHeader()->setMinimumSectionSize(grid->verticalHeader()->minimumSectionSize());
  overlay->verticalHeader()->setDefaultSectionSize(grid->rowHeight(0));
  for (int c = 0; c < grid->columnCount(); ++c) overlay->setColumnWidth(c, grid->columnWidth(c));

  QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionResized, overlay,
                   [overlay](int c, int, int size) { overlay->setColumnWidth(c, size); });
  QObject::connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged,
                   overlay->horizontalScrollBar(), &QScrollBar::setValue);

  // Follow the grid's viewport whenever the grid is laid out again.
  class Follower : public QObject {
   public:
    Follower(QTableWidget* g, QTableView* o) : QObject(o), grid_(g), overlay_(o) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Resize || event->type() == QEvent::Move ||
          event->type() == QEvent::Show)
        Fit(grid_, overlay_);
      return false;
    }

   private:
    QTableWidget* grid_;
    QTableView* overlay_;
  };
  grid->viewport()->installEventFilter(new Follower(grid, overlay));
  Fit(grid, overlay);
  overlay->show();
  overlay->raise();
  return overlay;
}

void KeepRowClearOfHeading(QTableWidget* grid, int row) {
  if (row <= 0) return;
  QScrollBar* bar = grid->verticalScrollBar();
  const QRect cell = grid->visualRect(grid->model()->index(row, 0));
  const int heading = grid->rowHeight(0);
  if (cell.top() >= heading || bar->value() <= bar->minimum()) return;
  if (grid->verticalScrollMode() == QAbstractItemView::ScrollPerItem)
    bar->setValue(bar->value() - 1);
  else
    bar->setValue(bar->value() - (heading - cell.top()));
}
