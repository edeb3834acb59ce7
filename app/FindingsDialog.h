#pragma once
// The list of a file's findings before it is saved or printed: one row per
// finding (course, student number, name, column, text, reason) in a table
// view over the rows as they are, so thousands of findings open at once.
// The teacher goes on, goes back, or goes to one finding (double click or
// "转到"). Tab leaves the table for the buttons; Enter on a row goes to it.
#include <QDialog>
#include <vector>

#include "app/DialogSeam.h"

class QTableView;

class FindingsDialog : public QDialog {
  Q_OBJECT

 public:
  FindingsDialog(FindingsPurpose purpose, const std::vector<FindingRow>& rows, QWidget* parent = nullptr);

  // What was chosen once the dialog has closed (Back when it was closed
  // any other way).
  FindingsChoice Choice() const { return choice_; }

  QTableView* Table() const { return table_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void GoTo();
  void FitColumns();  // the reason takes what the other columns leave

  QTableView* table_ = nullptr;
  FindingsChoice choice_;
};
