#include "app/ImportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFont>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

#include "app/ExchangeTexts.h"
#include "app/ReadingProgress.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"

namespace {

QString Shown(std::string_view gbk) { return GbkToQString(TrimmedBlanks(gbk)); }
QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Headings and widths (in widths of "0") of each list's columns.
struct ColumnLook {
  const char* Heading;
  int Width;
};
constexpr std::array<ColumnLook, 9> kChangeColumns = {{{"行号", 6},
                                                       {"学号", 12},
                                                       {"姓名", 10},
                                                       {"平时(原)", 9},
                                                       {"平时(新)", 9},
                                                       {"考试(原)", 9},
                                                       {"考试(新)", 9},
                                                       {"总成绩(原)", 11},
                                                       {"总成绩(新)", 11}}};
constexpr std::array<ColumnLook, 3> kSkippedColumns = {{{"行号", 6}, {"学号", 14}, {"原因", 44}}};
constexpr std::array<ColumnLook, 2> kMissingColumns = {{{"学号", 14}, {"姓名", 12}}};

const ColumnLook* Looks(ImportRowsModel::List list, int& count) {
  switch (list) {
    case ImportRowsModel::List::Changes: count = kChangeColumns.size(); return kChangeColumns.data();
    case ImportRowsModel::List::Skipped: count = kSkippedColumns.size(); return kSkippedColumns.data();
    case ImportRowsModel::List::Missing: break;
  }
  count = kMissingColumns.size();
  return kMissingColumns.data();
}

QString Reason(const exchange::SkippedRow& row) {
  const QString issue = Utf8(exchange::RowIssueText(row.Issue));
  if (row.Column == exchange::ScoreColumn::None) return issue;
  return Utf8(exchange::ScoreColumnText(row.Column)) + QStringLiteral("“") + GbkToQString(row.Text) +
         QStringLiteral("”：") + issue;
}

QTableView* MakeTable(ImportRowsModel* model, QWidget* parent) {
  auto* view = new QTableView(parent);
  view->setModel(model);
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(20);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setAlternatingRowColors(true);
  view->setWordWrap(false);
  // Only a reason is long enough to want the rest of the width.
  view->horizontalHeader()->setStretchLastSection(model->columnCount() == static_cast<int>(kSkippedColumns.size()));
  // Widths from the font, not from the contents: ten thousand rows would
  // have to be measured.
  const int digit = view->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  for (int c = 0; c < model->columnCount(); ++c)
    view->setColumnWidth(c, model->headerData(c, Qt::Horizontal, Qt::UserRole).toInt() * digit);
  return view;
}

}  // namespace

// ---- the lists ------------------------------------------------------------------

void ImportRowsModel::SetPreview(const exchange::ImportPreview& preview) {
  beginResetModel();
  preview_ = &preview;
  changed_.clear();
  for (std::size_t i = 0; i < preview.Matched.size(); ++i)
    if (preview.Matched[i].Changed) changed_.push_back(i);
  endResetModel();
}

int ImportRowsModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || preview_ == nullptr) return 0;
  switch (list_) {
    case List::Changes: return static_cast<int>(changed_.size());
    case List::Skipped: return static_cast<int>(preview_->Skipped.size());
    case List::Missing: return static_cast<int>(preview_->Missing.size());
  }
  return 0;
}

int ImportRowsModel::columnCount(const QModelIndex& parent) const {
  int count = 0;
  Looks(list_, count);
  return parent.isValid() ? 0 : count;
}

QString ImportRowsModel::Text(int row, int column) const {
  const auto r = static_cast<std::size_t>(row);
  switch (list_) {
    case List::Changes: {
      const exchange::MatchedRow& m = preview_->Matched[changed_[r]];
      if (column == 0) return QString::number(m.Line);
      if (column == 1) return GbkToQString(m.Number);
      if (column == 2) return GbkToQString(m.Name);
      const auto grade = static_cast<std::size_t>((column - 3) / 2);
      return Shown((column - 3) % 2 == 0 ? m.Old[grade] : m.New[grade]);
    }
    case List::Skipped: {
      const exchange::SkippedRow& s = preview_->Skipped[r];
      if (column == 0) return QString::number(s.Line);
      if (column == 1) return GbkToQString(s.Number);
      return Reason(s);
    }
    case List::Missing: {
      const exchange::MissingStudent& m = preview_->Missing[r];
      return GbkToQString(column == 0 ? m.Number : m.Name);
    }
  }
  return {};
}

bool ImportRowsModel::IsNew(int row, int column) const {
  if (list_ != List::Changes || column < 3 || (column - 3) % 2 == 0) return false;
  const exchange::MatchedRow& m = preview_->Matched[changed_[static_cast<std::size_t>(row)]];
  const auto grade = static_cast<std::size_t>((column - 3) / 2);
  return TrimmedBlanks(m.Old[grade]) != TrimmedBlanks(m.New[grade]);
}

QVariant ImportRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || preview_ == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole: return Text(index.row(), index.column());
    case Qt::TextAlignmentRole:
      if (index.column() == 0 && list_ != List::Missing) return int(Qt::AlignRight | Qt::AlignVCenter);
      if (list_ == List::Changes && index.column() >= 3) return int(Qt::AlignCenter);
      return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
      if (IsNew(index.row(), index.column())) {
        QFont bold;
        bold.setBold(true);
        return bold;
      }
      return {};
    case Qt::ForegroundRole:
      if (IsNew(index.row(), index.column())) return QColor(0, 0, 160);
      return {};
  }
  return {};
}

QVariant ImportRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  int count = 0;
  const ColumnLook* looks = Looks(list_, count);
  if (orientation != Qt::Horizontal || section < 0 || section >= count) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(looks[section].Heading);
  if (role == Qt::UserRole) return looks[section].Width;
  return {};
}

// ---- the dialog -----------------------------------------------------------------

ImportDialog::ImportDialog(const ImportOffer& offer, QWidget* parent) : QDialog(parent), session_(*offer.Session) {
  setObjectName(QStringLiteral("ImportDialog"));
  setWindowTitle(ExchangeTexts::ImportTitle());
  auto* layout = new QVBoxLayout(this);

  const exchange::ImportPreview& first = session_.Preview();
  auto* file = new QLabel(ExchangeTexts::FileLine(offer.File), this);
  file->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(file);
  layout->addWidget(new QLabel(ExchangeTexts::CourseLine(offer.Course, Shown(first.Share)), this));
  readAs_ = new QLabel(this);
  layout->addWidget(readAs_);

  columns_ = new QGroupBox(ExchangeTexts::ColumnsUnclear(), this);
  columns_->setObjectName(QStringLiteral("Columns"));
  auto* form = new QFormLayout(columns_);
  form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  coursework_ = new QComboBox(columns_);
  coursework_->setObjectName(QStringLiteral("Coursework"));
  examination_ = new QComboBox(columns_);
  examination_->setObjectName(QStringLiteral("Examination"));
  for (QComboBox* chooser : {coursework_, examination_}) chooser->setMinimumContentsLength(16);
  FillChooser(coursework_, first.CourseworkColumn);
  FillChooser(examination_, first.ExaminationColumn);
  form->addRow(ExchangeTexts::CourseworkColumn(), coursework_);
  form->addRow(ExchangeTexts::ExaminationColumn(), examination_);
  columns_->setVisible(session_.AsksColumns());
  layout->addWidget(columns_);
  for (QComboBox* chooser : {coursework_, examination_})
    connect(chooser, &QComboBox::currentIndexChanged, this, [this] { ChooseColumns(); });

  counts_ = new QLabel(this);
  counts_->setObjectName(QStringLiteral("Counts"));
  counts_->setWordWrap(true);
  layout->addWidget(counts_);
  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("Problem"));
  problem_->setWordWrap(true);
  QPalette warn = problem_->palette();
  warn.setColor(QPalette::WindowText, QColor(176, 0, 0));
  problem_->setPalette(warn);
  layout->addWidget(problem_);

  tabs_ = new QTabWidget(this);
  tabs_->setAccessibleName(ExchangeTexts::PreviewLists());
  changes_ = new ImportRowsModel(ImportRowsModel::List::Changes, this);
  skipped_ = new ImportRowsModel(ImportRowsModel::List::Skipped, this);
  missing_ = new ImportRowsModel(ImportRowsModel::List::Missing, this);
  for (ImportRowsModel* model : {changes_, skipped_, missing_}) tabs_->addTab(MakeTable(model, tabs_), QString());
  layout->addWidget(tabs_, 1);

  auto* buttons = new QDialogButtonBox(this);
  import_ = buttons->addButton(ExchangeTexts::Import(), QDialogButtonBox::AcceptRole);
  import_->setObjectName(QStringLiteral("ImportButton"));
  buttons->addButton(ExchangeTexts::Cancel(), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (session_.CanImport()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  resize(720, 540);
  ShowPreview();
}

void ImportDialog::FillChooser(QComboBox* chooser, std::size_t chosen) {
  const QSignalBlocker block(chooser);
  chooser->addItem(ExchangeTexts::NotImported(), 0);
  const std::vector<std::string>& names = session_.ColumnNames();
  for (std::size_t c = 1; c <= names.size(); ++c) {
    if (c == session_.StudentColumn()) continue;
    chooser->addItem(ExchangeTexts::ColumnItem(c, GbkToQString(names[c - 1])), static_cast<qulonglong>(c));
  }
  chooser->setCurrentIndex(std::max(0, chooser->findData(static_cast<qulonglong>(chosen))));
}

void ImportDialog::ChooseColumns() {
  const exchange::ScoreColumns chosen{coursework_->currentData().toULongLong(),
                                      examination_->currentData().toULongLong()};
  {
    ReadingProgress progress(this);
    session_.Choose(chosen, progress.Callback());
  }
  ShowPreview();
}

void ImportDialog::ShowPreview() {
  const exchange::ImportPreview& p = session_.Preview();
  if (*p.Encoding != '\0')
    readAs_->setText(ExchangeTexts::ReadAs(QString::fromLatin1(p.Encoding), p.Separator, p.HeadingLine, p.Rows));
  using exchange::RowIssue;
  counts_->setVisible(p.Ok());
  counts_->setText(ExchangeTexts::Counts(
      p.Matched.size(), p.ChangedCount(), p.Count(RowIssue::NotInCourse), p.Missing.size(),
      p.Count(RowIssue::Unreadable) + p.Count(RowIssue::NotGbk) + p.Count(RowIssue::TooLong),
      p.Count(RowIssue::Duplicate) + p.Count(RowIssue::DuplicateInGradeFile)));
  QString problem;
  if (!p.Ok())
    problem = Utf8(p.Message);
  else if (p.ChangedCount() == 0)
    problem = ExchangeTexts::NothingChanges();
  else if (p.SkippedNotListed() > 0)
    problem = ExchangeTexts::NotListed(p.SkippedNotListed());
  problem_->setText(problem);
  problem_->setVisible(!problem.isEmpty());

  for (ImportRowsModel* model : {changes_, skipped_, missing_}) model->SetPreview(p);
  tabs_->setTabText(0, ExchangeTexts::ChangesTab(p.ChangedCount()));
  tabs_->setTabText(1, ExchangeTexts::SkippedTab(p.SkippedCount()));
  tabs_->setTabText(2, ExchangeTexts::MissingTab(p.Missing.size()));
  // Each list is read out by the name its tab shows.
  for (int i = 0; i < tabs_->count(); ++i) tabs_->widget(i)->setAccessibleName(tabs_->tabText(i));
  import_->setEnabled(session_.CanImport());
  import_->setDefault(session_.CanImport());
}
