#include "app/TextTable.h"

#include <QHeaderView>
#include <QTableWidget>

QTableWidget* MakeTextTable(const QStringList& headings, const QList<QStringList>& rows, QWidget* parent) {
  auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(headings.size()), parent);
  table->setHorizontalHeaderLabels(headings);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setTabKeyNavigation(false);
  for (int r = 0; r < rows.size(); ++r)
    for (int c = 0; c < rows[r].size() && c < headings.size(); ++c)
      table->setItem(r, c, new QTableWidgetItem(rows[r][c]));
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  if (!rows.isEmpty()) table->setCurrentCell(0, 0);
  return table;
}
