#include "app/SheetCoursesDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/SheetOutputTexts.h"

SheetCoursesDialog::SheetCoursesDialog(const SheetCoursesOffer& offer, QWidget* parent)
    : QDialog(parent), offer_(offer) {
  setObjectName(QStringLiteral("SheetCoursesDialog"));
  setWindowTitle(offer.Title);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(SheetOutputTexts::WhichCourses(), this));
  all_ = new QRadioButton(SheetOutputTexts::AllCourses(), this);
  const bool hasShown = offer.ShownCourse >= 0 && offer.ShownCourse < offer.Courses.size();
  shown_ = new QRadioButton(SheetOutputTexts::ShownCourse(hasShown ? offer.Courses[offer.ShownCourse] : QString()),
                            this);
  shown_->setEnabled(hasShown);
  chosen_ = new QRadioButton(SheetOutputTexts::ChosenCourses(), this);
  // Two sets of choices in one dialog: each its own group.
  auto* courses = new QButtonGroup(this);
  for (QRadioButton* button : {all_, shown_, chosen_}) courses->addButton(button);
  all_->setChecked(true);
  list_ = new QListWidget(this);
  list_->setAccessibleName(SheetOutputTexts::CourseListName());
  for (int i = 0; i < offer.Courses.size(); ++i) {
    auto* item = new QListWidgetItem(offer.Courses[i], list_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    // The course shown is ticked to begin with: the likeliest start of a choice.
    item->setCheckState(i == offer.ShownCourse ? Qt::Checked : Qt::Unchecked);
  }
  if (list_->count() > 0) list_->setCurrentRow(std::max(offer.ShownCourse, 0));
  for (QWidget* w : {static_cast<QWidget*>(all_), static_cast<QWidget*>(shown_), static_cast<QWidget*>(chosen_)})
    layout->addWidget(w);
  layout->addWidget(list_);

  if (offer.WithPages) {
    allPages_ = new QRadioButton(SheetOutputTexts::AllPages(), this);
    range_ = new QRadioButton(SheetOutputTexts::PageRange(), this);
    auto* pages = new QButtonGroup(this);
    pages->addButton(allPages_);
    pages->addButton(range_);
    allPages_->setChecked(true);
    from_ = new QSpinBox(this);
    to_ = new QSpinBox(this);
    from_->setAccessibleName(SheetOutputTexts::FromPageName());
    to_->setAccessibleName(SheetOutputTexts::ToPageName());
    auto* row = new QHBoxLayout;
    row->addWidget(range_);
    row->addWidget(from_);
    row->addWidget(new QLabel(SheetOutputTexts::RangeTo(), this));
    row->addWidget(to_);
    row->addStretch();
    layout->addWidget(allPages_);
    layout->addLayout(row);
    connect(range_, &QRadioButton::toggled, this, [this] { Update(); });
  }
  count_ = new QLabel(this);
  layout->addWidget(count_);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(SheetOutputTexts::Ok(), QDialogButtonBox::AcceptRole);
  ok_->setDefault(true);
  buttons->addButton(SheetOutputTexts::Cancel(), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  for (QRadioButton* button : {all_, shown_, chosen_})
    connect(button, &QRadioButton::toggled, this, [this] { Update(); });
  connect(list_, &QListWidget::itemChanged, this, [this] {
    // Ticking a course means choosing courses.
    if (!chosen_->isChecked()) chosen_->setChecked(true);
    Update();
  });
  setMinimumWidth(380);
  Update();
}

CourseChoice SheetCoursesDialog::Courses() const {
  if (shown_->isChecked()) return CourseChoice::Shown(offer_.Keys[static_cast<std::size_t>(offer_.ShownCourse)]);
  if (!chosen_->isChecked()) return CourseChoice::All();
  std::vector<std::string> keys;
  for (int i = 0; i < list_->count(); ++i)
    if (list_->item(i)->checkState() == Qt::Checked) keys.push_back(offer_.Keys[static_cast<std::size_t>(i)]);
  return CourseChoice::Chosen(std::move(keys));
}

void SheetCoursesDialog::Update() {
  const int pages = offer_.PageCount ? offer_.PageCount(Courses()) : 0;
  count_->setText(SheetOutputTexts::PageCount(pages));
  if (from_ != nullptr) {
    const bool range = range_->isChecked();
    from_->setRange(pages > 0 ? 1 : 0, pages);
    to_->setRange(pages > 0 ? 1 : 0, pages);
    if (!range) to_->setValue(pages);
    from_->setEnabled(range);
    to_->setEnabled(range);
  }
  ok_->setEnabled(pages > 0);
}

SheetCoursesChoice SheetCoursesDialog::Chosen() const {
  SheetCoursesChoice choice;
  choice.Courses = Courses();
  if (range_ != nullptr && range_->isChecked()) {
    choice.Pages.Kind = PrintChoice::PageRange;
    choice.Pages.FromPage = from_->value();
    choice.Pages.ToPage = to_->value();
  }
  return choice;
}
