#pragma once
// "选页": choose the page the preview shows.
#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class ChoosePageDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ChoosePageDialog(QWidget* parent = nullptr);

  // Fills the dialog before it is shown: the page total in pageCountEdit, the numbers
  // 1 .. pageCount in pageBox (entry i - 1 reads i), `current` selected.
  void fillPages(int pageCount, int current);

  // Each entry i - 1 reads "i  <labels[i - 1]>" (the page's course and
  // class), the list and the dialog as wide as the longest.
  void ShowLabels(const QStringList& labels);

  // The page of the selected entry (its index + 1); 0 when the list is empty.
  int SelectedPage() const;

  QFrame* frame = nullptr;
  QLabel* pageCountLabel = nullptr;
  QLineEdit* pageCountEdit = nullptr;
  QLabel* pageLabel = nullptr;
  QComboBox* pageBox = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
};
