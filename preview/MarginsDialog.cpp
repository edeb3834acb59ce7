#include "preview/MarginsDialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "preview/DialogLook.h"
#include "printing/PreviewRules.h"

MarginsDialog::MarginsDialog(PageMetrics& metrics, QWidget* parent)
    : QDialog(parent), metrics_(metrics) {
  setObjectName(QStringLiteral("PageBdDlg"));
  setWindowTitle(QStringLiteral("设置页边界"));
  preview::MakeFixedDialog(*this, 315, 174);

  frame = new QFrame(this);
  frame->setFrameShape(QFrame::Box);
  frame->setFrameShadow(QFrame::Sunken);
  frame->setGeometry(8, 8, 218, 158);

  const QString texts[4] = {QStringLiteral("页左边空白(毫米):"), QStringLiteral("页右边空白(毫米):"),
                            QStringLiteral("页顶部空白(毫米):"), QStringLiteral("页底部空白(毫米):")};
  QLabel** labels[4] = {&leftLabel, &rightLabel, &topLabel, &bottomLabel};
  QLineEdit** edits[4] = {&leftEdit, &rightEdit, &topEdit, &bottomEdit};
  for (int i = 0; i < 4; ++i) {
    const int y = 22 + i * 36;
    *labels[i] = new QLabel(texts[i], this);
    (*labels[i])->setGeometry(20, y, 124, 21);
    *edits[i] = new QLineEdit(this);
    (*edits[i])->setGeometry(148, y, 62, 21);
    (*labels[i])->setBuddy(*edits[i]);
  }
  setTabOrder(leftEdit, rightEdit);
  setTabOrder(rightEdit, topEdit);
  setTabOrder(topEdit, bottomEdit);

  okButton = new QPushButton(QStringLiteral("确定(&O)"), this);
  okButton->setGeometry(234, 8, 75, 25);
  okButton->setDefault(true);
  cancelButton = new QPushButton(QStringLiteral("取消(&C)"), this);
  cancelButton->setGeometry(234, 38, 75, 25);
  setTabOrder(bottomEdit, okButton);
  setTabOrder(okButton, cancelButton);
  connect(okButton, &QPushButton::clicked, this, &MarginsDialog::storeMargins);
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

  fillMargins();
  leftEdit->setFocus();
}

void MarginsDialog::fillMargins() {
  const TDeviceMetrics& p = metrics_[DevicePrinter];
  leftEdit->setText(QString::number(preview::MarginPixelsToMm(p.MarginLeft, p.Dpi)));
  rightEdit->setText(QString::number(preview::MarginPixelsToMm(p.MarginRight, p.Dpi)));
  topEdit->setText(QString::number(preview::MarginPixelsToMm(p.MarginTop, p.Dpi)));
  bottomEdit->setText(QString::number(preview::MarginPixelsToMm(p.MarginBottom, p.Dpi)));
}

void MarginsDialog::storeMargins() {
  TDeviceMetrics& p = metrics_[DevicePrinter];
  auto read = [&](const QLineEdit* edit) {
    return preview::MarginTextToPixels(edit->text().toStdString(), p.Dpi);
  };
  p.MarginLeft = read(leftEdit);
  p.MarginRight = read(rightEdit);
  p.MarginTop = read(topEdit);
  p.MarginBottom = read(bottomEdit);
  accept();
}
