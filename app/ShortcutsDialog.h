#pragma once
// 帮助 → 快捷键: every key of the program, read from the one key table the
// menus use, by where it works.
#include <QDialog>

class QTableView;

class ShortcutsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ShortcutsDialog(QWidget* parent = nullptr);

  QTableView* Table() const { return table_; }

 private:
  QTableView* table_ = nullptr;
};
