#include "app/CheckBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/WindowTexts.h"
#include "grading/GradeCheck.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/Texts.h"

CheckBar::CheckBar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("CheckBar"));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(255, 248, 210));
  setPalette(palette);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 4);
  label_ = new QLabel(this);
  label_->setObjectName(QStringLiteral("CheckBarLabel"));
  label_->setWordWrap(true);
  layout->addWidget(label_, 1);
  recompute_ = new QPushButton(WindowTexts::Recompute(), this);
  recompute_->setObjectName(QStringLiteral("RecomputeButton"));
  layout->addWidget(recompute_);
  connect(recompute_, &QPushButton::clicked, this, &CheckBar::recompute);
  hide();
}

void CheckBar::showCounts(const std::string& share, std::size_t mismatches, std::size_t typed) {
  // At a share like "3O" every total would be weighed at 3%: the bar says
  // what is wrong and offers no recompute.
  const bool badShare = IsBadShare(share);
  recompute_->setVisible(!badShare);
  if (mismatches == 0 && !badShare) {
    hide();
    return;
  }
  label_->setText(QString::fromStdString(
      badShare ? std::string(texts::kBadShare) : texts::MismatchBar(mismatches, GbkToUtf8(TrimmedBlanks(share)), typed)));
  show();
}
