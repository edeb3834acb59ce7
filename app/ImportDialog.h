#pragma once
// The preview of an import: what the CSV file will change in the course,
// what it will not and why, and, when the heading leaves a doubt, which of
// its columns hold the coursework and the examination scores. Every choice
// of a column is previewed again at once; "导入" takes what is shown.
#include <QAbstractTableModel>
#include <QDialog>
#include <cstddef>
#include <vector>

#include "app/DialogSeam.h"
#include "exchange/ImportSession.h"

class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QTabWidget;
class QTableView;

// One list of the preview as a table: the rows that change, the rows not
// imported, or the students the file does not name.
class ImportRowsModel : public QAbstractTableModel {
 public:
  enum class List { Changes, Skipped, Missing };
  explicit ImportRowsModel(List list, QObject* parent = nullptr) : QAbstractTableModel(parent), list_(list) {}

  void SetPreview(const exchange::ImportPreview& preview);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString Text(int row, int column) const;
  bool IsNew(int row, int column) const;  // a grade the import changes

  List list_;
  const exchange::ImportPreview* preview_ = nullptr;
  std::vector<std::size_t> changed_;  // Changes: indexes into Matched
};

class ImportDialog : public QDialog {
 public:
  ImportDialog(const ImportOffer& offer, QWidget* parent);

  QComboBox* CourseworkChooser() const { return coursework_; }
  QComboBox* ExaminationChooser() const { return examination_; }
  QPushButton* ImportButton() const { return import_; }

 private:
  void FillChooser(QComboBox* chooser, std::size_t chosen);
  void ChooseColumns();  // a chooser changed: preview again
  void ShowPreview();

  exchange::ImportSession& session_;
  QGroupBox* columns_ = nullptr;
  QComboBox* coursework_ = nullptr;
  QComboBox* examination_ = nullptr;
  QLabel* readAs_ = nullptr;
  QLabel* counts_ = nullptr;
  QLabel* problem_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  ImportRowsModel* changes_ = nullptr;
  ImportRowsModel* skipped_ = nullptr;
  ImportRowsModel* missing_ = nullptr;
  QPushButton* import_ = nullptr;
};
