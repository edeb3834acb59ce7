#pragma once
// "设置页边界": the four printer margins in whole millimetres.
#include <QDialog>

#include "printing/PageMetrics.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TPageBdDlg : public QDialog {
  Q_OBJECT

 public:
  // Creating the dialog fills the four boxes from the printer entry of
  // `metrics`; only OK writes them back.
  explicit TPageBdDlg(PageMetrics& metrics, QWidget* parent = nullptr);

  // Fills Edit1 .. Edit4 with the left, right, top and bottom margins in mm.
  void FormCreate();
  // Stores the four boxes into the printer margins, then closes with OK.
  void OKBtnClick();

  QFrame* Bevel1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QLineEdit* Edit4 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 private:
  PageMetrics& metrics_;
};
