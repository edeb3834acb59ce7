#pragma once
// Before the sheet is printed or written as a PDF: all courses, the course
// shown, or the courses ticked in a list (Space ticks the current one), and
// for the PDF the pages; the page count follows the choice as it changes.
#include <QDialog>
#include <optional>

#include "app/DialogSeam.h"

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

class SheetCoursesDialog : public QDialog {
 public:
  SheetCoursesDialog(const SheetCoursesOffer& offer, QWidget* parent);

  SheetCoursesChoice Chosen() const;

  QRadioButton* AllButton() const { return all_; }
  QRadioButton* ShownButton() const { return shown_; }
  QRadioButton* ChosenButton() const { return chosen_; }
  QListWidget* CourseList() const { return list_; }
  QLabel* PageCountLabel() const { return count_; }

 private:
  CourseChoice Courses() const;
  void Update();

  const SheetCoursesOffer& offer_;
  QRadioButton* all_ = nullptr;
  QRadioButton* shown_ = nullptr;
  QRadioButton* chosen_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* count_ = nullptr;
  QRadioButton* allPages_ = nullptr;
  QRadioButton* range_ = nullptr;
  QSpinBox* from_ = nullptr;
  QSpinBox* to_ = nullptr;
  QPushButton* ok_ = nullptr;
};
