#pragma once
// Before an export: the course shown in the window, or every course of the
// file. The file type is chosen afterwards, in the save dialog.
#include <QDialog>

#include "app/DialogSeam.h"

class QRadioButton;

class ExportScopeDialog : public QDialog {
 public:
  ExportScopeDialog(const QString& shownCourse, int courseCount, QWidget* parent);

  ExportScope Chosen() const;
  QRadioButton* ShownButton() const { return shown_; }
  QRadioButton* AllButton() const { return all_; }

 private:
  QRadioButton* shown_ = nullptr;
  QRadioButton* all_ = nullptr;
};
