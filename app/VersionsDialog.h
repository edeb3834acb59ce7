#pragma once
// 文件 → 以前的版本: the versions a save replaced, newest first, with when
// their bytes were written, their size and how many records differ from the
// book as it is now. "打开" (or a double click) opens the chosen one into
// the book; nothing is written.
#include <QDialog>
#include <optional>
#include <vector>

#include "app/DialogSeam.h"

class QTableView;

class VersionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit VersionsDialog(const std::vector<VersionRow>& rows, QWidget* parent = nullptr);

  // The row chosen, once the dialog was accepted.
  std::optional<int> Chosen() const;

  QTableView* Table() const { return table_; }

 private:
  QTableView* table_ = nullptr;
};
