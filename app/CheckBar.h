#pragma once
// The bar over the student grid that counts the totals of the course shown
// that disagree with the share and offers to recompute them; at a share no
// total can be weighed with it says so and offers nothing. Hidden when there
// is nothing to say.
#include <QFrame>
#include <cstddef>
#include <string>

class QLabel;
class QPushButton;

class CheckBar : public QFrame {
  Q_OBJECT

 public:
  explicit CheckBar(QWidget* parent);

  QLabel* label() const { return label_; }
  QPushButton* recomputeButton() const { return recompute_; }
  // `share` is the share field's text as GBK; `mismatches` the totals that
  // disagree with it, `typed` those of them that fit no share.
  void showCounts(const std::string& share, std::size_t mismatches, std::size_t typed);

 signals:
  void recompute();

 private:
  QLabel* label_ = nullptr;
  QPushButton* recompute_ = nullptr;
};
