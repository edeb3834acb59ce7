#pragma once
// 帮助 → 关于: the program's version and licence, and the libraries it is
// built with, each with its licence.
#include <QDialog>

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};
