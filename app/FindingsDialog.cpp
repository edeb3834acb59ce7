#include "app/FindingsDialog.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/WindowTexts.h"

namespace {

// The rows as the dialog got them; texts become QStrings only when shown.
class FindingsModel : public QAbstractTableModel {
 public:
  FindingsModel(std::vector<FindingRow> rows, QObject* parent)
      : QAbstractTableModel(parent), rows_(std::move(rows)) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(FindingRow().size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    const FindingRow& row = rows_[static_cast<std::size_t>(index.row())];
    return QString::fromStdString(row[static_cast<std::size_t>(index.column())]);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return WindowTexts::FindingsHeading(section);
  }

 private:
  const std::vector<FindingRow> rows_;
};

}  // namespace

FindingsDialog::FindingsDialog(FindingsPurpose purpose, const std::vector<FindingRow>& rows, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("FindingsDialog"));
  setWindowTitle(WindowTexts::FindingsTitle());
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(WindowTexts::FindingsIntro(rows.size(), purpose == FindingsPurpose::Print), this);
  intro->setWordWrap(true);
  layout->addWidget(intro);

  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("FindingsTable"));
  table_->setModel(new FindingsModel(rows, table_));
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setStretchLastSection(true);
  const int widths[] = {120, 96, 64, 64, 96};
  for (int c = 0; c < 5; ++c) table_->setColumnWidth(c, widths[c]);
  if (!rows.empty()) table_->selectRow(0);
  layout->addWidget(table_, 1);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* goTo = buttons->addButton(WindowTexts::GoToFinding(), QDialogButtonBox::ActionRole);
  QPushButton* goOn = buttons->addButton(
      purpose == FindingsPurpose::Print ? WindowTexts::PrintAnyway() : WindowTexts::SaveAnyway(),
      QDialogButtonBox::AcceptRole);
  QPushButton* back = buttons->addButton(WindowTexts::BackToEditing(), QDialogButtonBox::RejectRole);
  goTo->setObjectName(QStringLiteral("GoToButton"));
  goOn->setObjectName(QStringLiteral("GoOnButton"));
  back->setObjectName(QStringLiteral("BackButton"));
  // Going back is the safe answer: Enter and Esc both mean it.
  back->setDefault(true);
  layout->addWidget(buttons);

  connect(goTo, &QPushButton::clicked, this, &FindingsDialog::GoTo);
  connect(table_, &QTableView::doubleClicked, this, &FindingsDialog::GoTo);
  connect(goOn, &QPushButton::clicked, this, [this] {
    choice_ = {FindingsChoice::GoOn, -1};
    accept();
  });
  connect(back, &QPushButton::clicked, this, &QDialog::reject);
  resize(760, 420);
}

void FindingsDialog::GoTo() {
  const QModelIndex current = table_->currentIndex();
  if (!current.isValid()) return;
  choice_ = {FindingsChoice::GoTo, current.row()};
  accept();
}
