#pragma once
// A table of texts to read, not to edit: the 快捷键 and 关于 dialogs'
// lists. Rows are selected whole; Tab leaves the table; the columns fit
// their texts, the last takes the rest. The view owns its model.
#include <QList>
#include <QStringList>

class QTableView;
class QWidget;

QTableView* MakeTextTable(const QStringList& headings, const QList<QStringList>& rows, QWidget* parent);
