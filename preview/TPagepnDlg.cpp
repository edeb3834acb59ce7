#include "preview/TPagepnDlg.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "preview/DialogLook.h"

TPagepnDlg::TPagepnDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PagepnDlg"));
  setWindowTitle(QStringLiteral("选页"));
  preview::MakeFixedDialog(*this, 274, 115);

  Bevel1 = new QFrame(this);
  Bevel1->setFrameShape(QFrame::Box);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setGeometry(8, 8, 177, 99);

  Label1 = new QLabel(QStringLiteral("总页数:"), this);
  Label1->setGeometry(24, 24, 56, 21);
  Edit1 = new QLineEdit(this);
  Edit1->setGeometry(86, 24, 81, 21);
  Edit1->setEnabled(false);
  // Disabled but readable: button face behind text in the normal colour.
  Edit1->setStyleSheet(QStringLiteral(
      "QLineEdit:disabled { background: palette(button); color: palette(window-text); }"));

  Label2 = new QLabel(QStringLiteral("当前页:"), this);
  Label2->setGeometry(24, 66, 56, 21);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setEditable(false);
  ComboBox1->setGeometry(86, 66, 81, 21);
  Label1->setBuddy(Edit1);
  Label2->setBuddy(ComboBox1);

  OKBtn = new QPushButton(QStringLiteral("确定(&O)"), this);
  OKBtn->setGeometry(192, 8, 75, 25);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("取消(&C)"), this);
  CancelBtn->setGeometry(192, 38, 75, 25);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  ComboBox1->setFocus();
}

void TPagepnDlg::FormCreate(QWidget* /*sender*/, int pageCount, int current) {
  Edit1->setText(QString::number(pageCount));
  ComboBox1->clear();
  for (int i = 1; i <= pageCount; ++i) ComboBox1->addItem(QString::number(i));
  // A current page outside the list selects nothing rather than a wrong page.
  ComboBox1->setCurrentIndex(current >= 1 && current <= pageCount ? current - 1 : -1);
}

void TPagepnDlg::ShowLabels(const QStringList& labels) {
  int widest = 0;
  for (int i = 0; i < ComboBox1->count() && i < labels.size(); ++i) {
    if (labels[i].isEmpty()) continue;
    ComboBox1->setItemText(i, QStringLiteral("%1  %2").arg(i + 1).arg(labels[i]));
    widest = std::max(widest, ComboBox1->fontMetrics().horizontalAdvance(ComboBox1->itemText(i)));
  }
  // The combo box grows to the longest entry, within reason; the frame, the
  // dialog and the buttons beside it go along.
  const int grow = std::clamp(widest + 40 - ComboBox1->width(), 0, 420);
  if (grow == 0) return;
  ComboBox1->resize(ComboBox1->width() + grow, ComboBox1->height());
  Bevel1->resize(Bevel1->width() + grow, Bevel1->height());
  for (QPushButton* button : {OKBtn, CancelBtn}) button->move(button->x() + grow, button->y());
  setFixedSize(width() + grow, height());
}

int TPagepnDlg::SelectedPage() const { return ComboBox1->currentIndex() + 1; }
