#include "app/ExportScopeDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ExchangeTexts.h"

ExportScopeDialog::ExportScopeDialog(const QString& shownCourse, int courseCount, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("ExportScopeDialog"));
  setWindowTitle(ExchangeTexts::ExportTitle());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(ExchangeTexts::WhatToExport(), this));
  shown_ = new QRadioButton(ExchangeTexts::ShownCourse(shownCourse), this);
  all_ = new QRadioButton(ExchangeTexts::AllCourses(courseCount), this);
  shown_->setChecked(true);  // what the teacher is looking at
  layout->addWidget(shown_);
  layout->addWidget(all_);
  layout->addSpacing(8);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* next = buttons->addButton(ExchangeTexts::Next(), QDialogButtonBox::AcceptRole);
  next->setDefault(true);
  buttons->addButton(ExchangeTexts::Cancel(), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  setMinimumWidth(360);
}

ExportScope ExportScopeDialog::Chosen() const {
  return all_->isChecked() ? ExportScope::AllCourses : ExportScope::ShownCourse;
}
