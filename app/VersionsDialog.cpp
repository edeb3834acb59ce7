#include "app/VersionsDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

VersionsDialog::VersionsDialog(const std::vector<VersionRow>& rows, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("以前的版本"));
  auto* layout = new QVBoxLayout(this);
  auto* note = new QLabel(QStringLiteral("每次存储替换文件时保留的内容，最新的在前。打开的版本作为一步修改放进当前文件，"
                                         "可以撤销；文件本身要存储后才改变。"),
                          this);
  note->setWordWrap(true);
  layout->addWidget(note);

  auto* model = new QStandardItemModel(static_cast<int>(rows.size()), 3, this);
  model->setHorizontalHeaderLabels(
      {QStringLiteral("时间"), QStringLiteral("大小（字节）"), QStringLiteral("与现在不同的记录")});
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const VersionRow& row = rows[static_cast<std::size_t>(r)];
    model->setItem(r, 0, new QStandardItem(row.Time));
    for (const auto& [column, value] : {std::pair{1, row.Size}, std::pair{2, row.Differing}}) {
      auto* item = new QStandardItem(QString::number(value));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      model->setItem(r, column, item);
    }
  }
  table_ = new QTableView(this);
  table_->setModel(model);
  table_->setAccessibleName(QStringLiteral("以前的版本"));
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  if (!rows.empty()) table_->selectRow(0);
  layout->addWidget(table_);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* open = buttons->addButton(QStringLiteral("打开"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  open->setDefault(true);
  open->setEnabled(!rows.empty());
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(table_, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(520, 360);
}

std::optional<int> VersionsDialog::Chosen() const {
  const QModelIndex current = table_->currentIndex();
  if (result() != QDialog::Accepted || !current.isValid()) return std::nullopt;
  return current.row();
}
