#include "app/GridModels.h"

#include "app/GridHeading.h"
#include "app/GridPlaces.h"
#include "printing/qt/QtText.h"

// ---- the course list -------------------------------------------------------------

CourseListModel::CourseListModel(const Lines& titles, QObject* parent)
    : QAbstractTableModel(parent), titles_(titles) {}

void CourseListModel::Reset() {
  beginResetModel();
  endResetModel();
}

int CourseListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(1, static_cast<int>(titles_.size()));
}

int CourseListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant CourseListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  const auto row = static_cast<std::size_t>(index.row());
  if (row >= titles_.size()) return {};
  return GbkToQString(titles_[row]);
}

QVariant CourseListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section != 0 || role != Qt::DisplayRole) return {};
  return QStringLiteral(" 课程列表");
}

// The empty row of no course is not a course: it takes neither the focus's
// current cell nor a selection.
Qt::ItemFlags CourseListModel::flags(const QModelIndex& index) const {
  if (!index.isValid() || static_cast<std::size_t>(index.row()) >= titles_.size()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// ---- the student grid ------------------------------------------------------------

StudentGridModel::StudentGridModel(const std::vector<StudentRow>& students, QObject* parent)
    : QAbstractTableModel(parent), students_(students) {}

void StudentGridModel::Reset() {
  beginResetModel();
  marks_.clear();
  endResetModel();
}

void StudentGridModel::ShowStudent(int student) {
  if (student < 0 || student >= rowCount()) return;
  emit dataChanged(index(student, 0), index(student, kColumns - 1));
}

void StudentGridModel::Mark(int student, int column, const QColor& face, const QString& why) {
  if (student < 0 || student >= rowCount() || column < 0 || column >= kColumns) return;
  const std::uint64_t key = Key(student, column);
  const auto found = marks_.find(key);
  if (!face.isValid() && why.isEmpty()) {
    if (found == marks_.end()) return;
    marks_.erase(found);
  } else {
    if (found != marks_.end() && found->second.Face == face && found->second.Why == why) return;
    marks_[key] = CellMark{face, why};
  }
  const QModelIndex cell = index(student, column);
  emit dataChanged(cell, cell, {Qt::BackgroundRole, Qt::ToolTipRole});
}

int StudentGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(students_.size());
}

int StudentGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant StudentGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const int column = index.column();
  const bool fixed = column < kFirstGradeColumn;
  switch (role) {
    case Qt::DisplayRole:
      return GbkToQString(students_[static_cast<std::size_t>(index.row())].Cells[static_cast<std::size_t>(column)]);
    case Qt::TextAlignmentRole:
      if (column == 0) return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
      return {};
    case Qt::ForegroundRole:
      if (fixed) return QColor(Qt::black);
      return {};
    case Qt::BackgroundRole: {
      const auto found = marks_.find(Key(index.row(), column));
      if (found != marks_.end() && found->second.Face.isValid()) return found->second.Face;
      if (fixed) return GridHeading::FixedFace();
      return {};
    }
    case Qt::ToolTipRole: {
      const auto found = marks_.find(Key(index.row(), column));
      if (found != marks_.end() && !found->second.Why.isEmpty()) return found->second.Why;
      return {};
    }
    default:
      return {};
  }
}

QVariant StudentGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
  static const char16_t* const kHeadings[kColumns] = {u"", u" 学 号", u" 姓 名", u" 班 级",
                                                       u"平时成绩", u"考试成绩", u" 总成绩"};
  return QString::fromUtf16(kHeadings[section]);
}

Qt::ItemFlags StudentGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid() || index.column() < kFirstGradeColumn) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
