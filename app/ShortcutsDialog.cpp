#include "app/ShortcutsDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/KeyTable.h"
#include "app/TextTable.h"
#include "app/WindowTexts.h"

ShortcutsDialog::ShortcutsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ShortcutsDialog"));
  setWindowTitle(WindowTexts::ShortcutsTitle());
  auto* layout = new QVBoxLayout(this);

  QList<QStringList> rows;
  for (const KeyEntry& entry : KeyTable()) {
    QStringList written;
    for (const QKeySequence& key : entry.Keys) written << key.toString(QKeySequence::NativeText);
    rows.push_back({entry.Where, entry.What, written.join(QStringLiteral(" / "))});
  }
  table_ = MakeTextTable({QStringLiteral("位置"), QStringLiteral("命令"), QStringLiteral("按键")}, rows, this);
  table_->setObjectName(QStringLiteral("ShortcutsTable"));
  table_->setAccessibleName(WindowTexts::ShortcutsTitle());
  layout->addWidget(table_, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(WindowTexts::CloseDialog());
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  int width = 0;
  for (int c = 0; c < 3; ++c) width += table_->columnWidth(c);
  resize(std::max(480, width + 60), 520);
}
