#include "preview/ChoosePageDialog.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "preview/DialogLook.h"

ChoosePageDialog::ChoosePageDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PagepnDlg"));
  setWindowTitle(QStringLiteral("选页"));
  preview::MakeFixedDialog(*this, 274, 115);

  frame = new QFrame(this);
  frame->setFrameShape(QFrame::Box);
  frame->setFrameShadow(QFrame::Sunken);
  frame->setGeometry(8, 8, 177, 99);

  pageCountLabel = new QLabel(QStringLiteral("总页数:"), this);
  pageCountLabel->setGeometry(24, 24, 56, 21);
  pageCountEdit = new QLineEdit(this);
  pageCountEdit->setGeometry(86, 24, 81, 21);
  pageCountEdit->setEnabled(false);
  // Disabled but readable: button face behind text in the normal colour.
  pageCountEdit->setStyleSheet(QStringLiteral(
      "QLineEdit:disabled { background: palette(button); color: palette(window-text); }"));

  pageLabel = new QLabel(QStringLiteral("当前页:"), this);
  pageLabel->setGeometry(24, 66, 56, 21);
  pageBox = new QComboBox(this);
  pageBox->setEditable(false);
  pageBox->setGeometry(86, 66, 81, 21);
  pageCountLabel->setBuddy(pageCountEdit);
  pageLabel->setBuddy(pageBox);

  okButton = new QPushButton(QStringLiteral("确定(&O)"), this);
  okButton->setGeometry(192, 8, 75, 25);
  okButton->setDefault(true);
  cancelButton = new QPushButton(QStringLiteral("取消(&C)"), this);
  cancelButton->setGeometry(192, 38, 75, 25);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  pageBox->setFocus();
}

void ChoosePageDialog::fillPages(int pageCount, int current) {
  pageCountEdit->setText(QString::number(pageCount));
  pageBox->clear();
  for (int i = 1; i <= pageCount; ++i) pageBox->addItem(QString::number(i));
  // A current page outside the list selects nothing rather than a wrong page.
  pageBox->setCurrentIndex(current >= 1 && current <= pageCount ? current - 1 : -1);
}

void ChoosePageDialog::ShowLabels(const QStringList& labels) {
  int widest = 0;
  for (int i = 0; i < pageBox->count() && i < labels.size(); ++i) {
    if (labels[i].isEmpty()) continue;
    pageBox->setItemText(i, QStringLiteral("%1  %2").arg(i + 1).arg(labels[i]));
    widest = std::max(widest, pageBox->fontMetrics().horizontalAdvance(pageBox->itemText(i)));
  }
  // The combo box grows to the longest entry, within reason; the frame, the
  // dialog and the buttons beside it go along.
  const int grow = std::clamp(widest + 40 - pageBox->width(), 0, 420);
  if (grow == 0) return;
  pageBox->resize(pageBox->width() + grow, pageBox->height());
  frame->resize(frame->width() + grow, frame->height());
  for (QPushButton* button : {okButton, cancelButton}) button->move(button->x() + grow, button->y());
  setFixedSize(width() + grow, height());
}

int ChoosePageDialog::SelectedPage() const { return pageBox->currentIndex() + 1; }
