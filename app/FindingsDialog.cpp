#include "app/FindingsDialog.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

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
  table_->setAccessibleName(WindowTexts::FindingsTableName());
  table_->setAccessibleDescription(WindowTexts::FindingsTitle());
  table_->setModel(new FindingsModel(rows, table_));
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab goes on to the buttons: the rows are read with the arrow keys.
  table_->setTabKeyNavigation(false);
  table_->setWordWrap(false);
  table_->setTextElideMode(Qt::ElideRight);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->installEventFilter(this);
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
  // Enter on a row goes to it (the table's own filter); a focused button
  // takes Enter itself, and Escape always means going back.
  goTo->setDefault(true);
  layout->addWidget(buttons);

  connect(goTo, &QPushButton::clicked, this, &FindingsDialog::GoTo);
  connect(table_, &QTableView::doubleClicked, this, &FindingsDialog::GoTo);
  connect(goOn, &QPushButton::clicked, this, [this] {
    choice_ = {FindingsChoice::GoOn, -1};
    accept();
  });
  connect(back, &QPushButton::clicked, this, &QDialog::reject);
  FitColumns();
}

void FindingsDialog::FitColumns() {
  // Every column but the reason as wide as its widest text (the header
  // measures at most a thousand rows, enough for the few distinct courses,
  // columns and names); the reason takes the rest and shows in full as a
  // tool tip where it is cut.
  QHeaderView* header = table_->horizontalHeader();
  const int last = table_->model()->columnCount() - 1;
  int fixed = 0;
  for (int c = 0; c < last; ++c) {
    table_->resizeColumnToContents(c);
    fixed += table_->columnWidth(c);
  }
  table_->resizeColumnToContents(last);
  const int wanted = fixed + table_->columnWidth(last) + table_->verticalHeader()->sizeHint().width() +
                     table_->verticalScrollBar()->sizeHint().width() + 2 * table_->frameWidth() +
                     layout()->contentsMargins().left() + layout()->contentsMargins().right();
  header->setStretchLastSection(true);
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  const int room = screen ? screen->availableGeometry().width() * 9 / 10 : wanted;
  resize(std::clamp(wanted, 560, std::max(560, room)), 420);
}

bool FindingsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      GoTo();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void FindingsDialog::GoTo() {
  const QModelIndex current = table_->currentIndex();
  if (!current.isValid()) return;
  choice_ = {FindingsChoice::GoTo, current.row()};
  accept();
}
