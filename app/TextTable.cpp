#include "app/TextTable.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

QTableView* MakeTextTable(const QStringList& headings, const QList<QStringList>& rows, QWidget* parent) {
  auto* table = new QTableView(parent);
  auto* model = new QStandardItemModel(static_cast<int>(rows.size()), static_cast<int>(headings.size()), table);
  model->setHorizontalHeaderLabels(headings);
  for (int r = 0; r < rows.size(); ++r)
    for (int c = 0; c < rows[r].size() && c < headings.size(); ++c) model->setItem(r, c, new QStandardItem(rows[r][c]));
  table->setModel(model);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setTabKeyNavigation(false);
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  if (!rows.isEmpty()) table->setCurrentIndex(model->index(0, 0));
  return table;
}
