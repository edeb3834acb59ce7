#pragma once
// "设置页边界": the four printer margins in whole millimetres.
#include <QDialog>

#include "printing/PageMetrics.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class MarginsDialog : public QDialog {
  Q_OBJECT

 public:
  // Creating the dialog fills the four boxes from the printer entry of
  // `metrics`; only OK writes them back.
  explicit MarginsDialog(PageMetrics& metrics, QWidget* parent = nullptr);

  // Fills leftEdit .. bottomEdit with the left, right, top and bottom margins in mm.
  void fillMargins();
  // Stores the four boxes into the printer margins, then closes with OK.
  void storeMargins();

  QFrame* frame = nullptr;
  QLabel* leftLabel = nullptr;
  QLabel* rightLabel = nullptr;
  QLabel* topLabel = nullptr;
  QLabel* bottomLabel = nullptr;
  QLineEdit* leftEdit = nullptr;
  QLineEdit* rightEdit = nullptr;
  QLineEdit* topEdit = nullptr;
  QLineEdit* bottomEdit = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;

 private:
  PageMetrics& metrics_;
};
