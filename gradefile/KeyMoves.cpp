#include "gradefile/KeyMoves.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr int kFields = kGradeFields;

int Rank(GradeField field) { return static_cast<int>(field); }
GradeField FieldAt(int rank) { return static_cast<GradeField>(std::clamp(rank, 0, kFields - 1)); }

}  // namespace

std::optional<StudentCell> EditorMoveTarget(StudentCell from, EditorMove move, int students) {
  StudentCell to = from;
  int field = Rank(from.Field);
  switch (move) {
    case EditorMove::Down: ++to.Student; break;
    case EditorMove::Up: --to.Student; break;
    case EditorMove::Next:
      if (++field == kFields) {
        field = 0;
        ++to.Student;
      }
      break;
    case EditorMove::Previous:
      if (--field < 0) {
        field = kFields - 1;
        --to.Student;
      }
      break;
  }
  if (to.Student < 0 || to.Student >= students) return std::nullopt;
  to.Field = FieldAt(field);
  return to;
}

int GradeBlock::FirstStudent() const { return std::min(Anchor.Student, Extent.Student); }
int GradeBlock::LastStudent() const { return std::max(Anchor.Student, Extent.Student); }
GradeField GradeBlock::FirstField() const { return std::min(Anchor.Field, Extent.Field); }
GradeField GradeBlock::LastField() const { return std::max(Anchor.Field, Extent.Field); }

bool GradeBlock::Contains(StudentCell cell) const {
  return cell.Student >= FirstStudent() && cell.Student <= LastStudent() && cell.Field >= FirstField() &&
         cell.Field <= LastField();
}

GradeBlock ExtendBlock(GradeBlock block, BlockKey key, int students) {
  if (students <= 0) return block;
  const int last = students - 1;
  StudentCell& far = block.Extent;
  switch (key) {
    case BlockKey::Left: far.Field = FieldAt(Rank(far.Field) - 1); break;
    case BlockKey::Right: far.Field = FieldAt(Rank(far.Field) + 1); break;
    case BlockKey::Up: far.Student = std::max(far.Student - 1, 0); break;
    case BlockKey::Down: far.Student = std::min(far.Student + 1, last); break;
    case BlockKey::RowStart: far.Field = GradeField::Coursework; break;
    case BlockKey::RowEnd: far.Field = GradeField::Total; break;
    case BlockKey::Top: far.Student = 0; break;
    case BlockKey::Bottom: far.Student = last; break;
    case BlockKey::All: return {{0, GradeField::Coursework}, {last, GradeField::Total}};
  }
  // A block that started outside the students (a course that got shorter)
  // comes back inside them.
  block.Anchor.Student = std::clamp(block.Anchor.Student, 0, last);
  far.Student = std::clamp(far.Student, 0, last);
  return block;
}

GradeField FieldOf(FindingColumn column) {
  switch (column) {
    case FindingColumn::Exam: return GradeField::Examination;
    case FindingColumn::Total: return GradeField::Total;
    case FindingColumn::Coursework:
    case FindingColumn::None:
    case FindingColumn::Share: break;
  }
  return GradeField::Coursework;
}

std::optional<std::size_t> NextFinding(const std::vector<GradeFinding>& findings, FindingPlace from,
                                       bool backward) {
  using Key = std::tuple<std::size_t, int>;
  const Key here{from.LineIndex, Rank(from.Field)};
  auto keyOf = [&](const GradeFinding& f) { return Key{f.LineIndex, Rank(FieldOf(f.Column))}; };
  // The nearest finding past `here` in the direction, and the farthest one
  // the other way, which is where the search starts again.
  std::optional<std::size_t> nearest, wrapped;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Key key = keyOf(findings[i]);
    if (key == here) continue;
    const bool ahead = backward ? key < here : key > here;
    if (ahead) {
      if (!nearest || (backward ? key > keyOf(findings[*nearest]) : key < keyOf(findings[*nearest])))
        nearest = i;
    } else if (!wrapped || (backward ? key > keyOf(findings[*wrapped]) : key < keyOf(findings[*wrapped]))) {
      wrapped = i;
    }
  }
  return nearest ? nearest : wrapped;
}
