#include "preview/TPageBdDlg.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "preview/DialogLook.h"
#include "printing/PreviewRules.h"

TPageBdDlg::TPageBdDlg(PageMetrics& metrics, QWidget* parent)
    : QDialog(parent), metrics_(metrics) {
  setObjectName(QStringLiteral("PageBdDlg"));
  setWindowTitle(QStringLiteral("设置页边界"));
  preview::MakeFixedDialog(*this, 315, 174);

  Bevel1 = new QFrame(this);
  Bevel1->setFrameShape(QFrame::Box);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setGeometry(8, 8, 218, 158);

  const QString texts[4] = {QStringLiteral("页左边空白(毫米):"), QStringLiteral("页右边空白(毫米):"),
                            QStringLiteral("页顶部空白(毫米):"), QStringLiteral("页底部空白(毫米):")};
  QLabel** labels[4] = {&Label1, &Label2, &Label3, &Label4};
  QLineEdit** edits[4] = {&Edit1, &Edit2, &Edit3, &Edit4};
  for (int i = 0; i < 4; ++i) {
    const int y = 22 + i * 36;
    *labels[i] = new QLabel(texts[i], this);
    (*labels[i])->setGeometry(20, y, 124, 21);
    *edits[i] = new QLineEdit(this);
    (*edits[i])->setGeometry(148, y, 62, 21);
    (*labels[i])->setBuddy(*edits[i]);
  }
  setTabOrder(Edit1, Edit2);
  setTabOrder(Edit2, Edit3);
  setTabOrder(Edit3, Edit4);

  OKBtn = new QPushButton(QStringLiteral("确定(&O)"), this);
  OKBtn->setGeometry(234, 8, 75, 25);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("取消(&C)"), this);
  CancelBtn->setGeometry(234, 38, 75, 25);
  setTabOrder(Edit4, OKBtn);
  setTabOrder(OKBtn, CancelBtn);
  connect(OKBtn, &QPushButton::clicked, this, &TPageBdDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  FormCreate();
  Edit1->setFocus();
}

void TPageBdDlg::FormCreate() {
  const TDeviceMetrics& p = metrics_[DevicePrinter];
  Edit1->setText(QString::number(preview::MarginPixelsToMm(p.MarginLeft, p.Dpi)));
  Edit2->setText(QString::number(preview::MarginPixelsToMm(p.MarginRight, p.Dpi)));
  Edit3->setText(QString::number(preview::MarginPixelsToMm(p.MarginTop, p.Dpi)));
  Edit4->setText(QString::number(preview::MarginPixelsToMm(p.MarginBottom, p.Dpi)));
}

void TPageBdDlg::OKBtnClick() {
  TDeviceMetrics& p = metrics_[DevicePrinter];
  auto read = [&](const QLineEdit* edit) {
    return preview::MarginTextToPixels(edit->text().toStdString(), p.Dpi);
  };
  p.MarginLeft = read(Edit1);
  p.MarginRight = read(Edit2);
  p.MarginTop = read(Edit3);
  p.MarginBottom = read(Edit4);
  accept();
}
