#include "app/GradeMarks.h"

#include <QStringList>
#include <algorithm>

#include "app/GridModels.h"
#include "app/GridPlaces.h"
#include "gradefile/BookCheck.h"
#include "gradefile/KeyMoves.h"
#include "text/Blanks.h"

namespace {

bool IsGradeKind(FindingKind kind) {
  return kind == FindingKind::Unrecognised || kind == FindingKind::OutOfRange;
}

// The column a finding is marked in: its grade's, or the student number's
// for a repeated number.
int MarkedColumn(FindingColumn column) {
  if (column == FindingColumn::None || column == FindingColumn::Share) return 1;
  return GridColumn(FieldOf(column));
}

}  // namespace

int GradeMarks::GridRowOf(std::size_t lineIndex) const {
  // The grid shows the course's records in record order.
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), lineIndex,
                                   [](const StudentRow& r, std::size_t line) { return r.LineIndex < line; });
  return at != rows_.end() && at->LineIndex == lineIndex ? static_cast<int>(at - rows_.begin()) + 1 : 0;
}

void GradeMarks::Start(const GradeBook& book, std::string_view key) {
  repeatedNumber_.assign(rows_.size(), std::string());
  totalState_.assign(rows_.size(), 0);
  mismatches_ = typedMismatches_ = 0;
  for (const GradeFinding& f : CheckCourse(book, key.substr(0, 5))) {
    if (f.Kind != FindingKind::DuplicateStudent) continue;
    if (const int row = GridRowOf(f.LineIndex)) repeatedNumber_[static_cast<std::size_t>(row - 1)] = f.Explanation;
  }
}

void GradeMarks::MarkRow(int row, std::string_view share) {
  if (row < 1 || row > static_cast<int>(rows_.size())) return;
  const std::size_t index = static_cast<std::size_t>(row - 1);
  const StudentRow& data = rows_[index];
  std::vector<GradeFinding> found;
  using enum GradeField;
  RowCheck(share).Run(data.Grade(Coursework), data.Grade(Examination), data.Grade(Total), found);

  bool mismatch = false;
  for (int col = kFirstGradeColumn; col <= kLastGradeColumn; ++col) {
    QStringList why;
    bool gradeKind = false;
    for (const GradeFinding& f : found) {
      if (MarkedColumn(f.Column) != col) continue;
      why << QString::fromStdString(f.Explanation);
      gradeKind = gradeKind || IsGradeKind(f.Kind);
      mismatch = mismatch || f.Kind == FindingKind::TotalMismatch;
    }
    model_.Mark(StudentOfRow(row), col, why.isEmpty() ? QColor() : gradeKind ? kGradeFindingFace : kTotalFindingFace,
                why.join(QLatin1Char('\n')));
  }
  const std::string repeated = index < repeatedNumber_.size() ? repeatedNumber_[index] : std::string();
  model_.Mark(StudentOfRow(row), 1, repeated.empty() ? QColor() : kRepeatedFace, QString::fromStdString(repeated));

  // The bar counts rows the recompute can reach: those with a record.
  if (index >= totalState_.size()) return;
  unsigned char state = 0;
  if (mismatch && !data.IsPlaceholder()) {
    const std::string& total = data.Grade(Total);
    const bool typed = !TrimmedBlanks(total).empty() &&
                       !TotalFitsSomeShare(data.Grade(Coursework), data.Grade(Examination), total);
    state = typed ? 2 : 1;
  }
  const unsigned char was = totalState_[index];
  mismatches_ = mismatches_ - (was != 0) + (state != 0);
  typedMismatches_ = typedMismatches_ - (was == 2) + (state == 2);
  totalState_[index] = state;
}
