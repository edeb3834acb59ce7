#include "gradefile/EditHistory.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "gradefile/Record.h"

void EditStep::Add(const RecordChange& change) {
  for (RecordChange& kept : Records) {
    if (kept.LineIndex == change.LineIndex) {
      kept.After = change.After;
      return;
    }
  }
  Records.push_back(change);
}

void EditStep::Add(const HeadLineChange& change) {
  for (HeadLineChange& kept : Heads) {
    if (kept.Index == change.Index && !change.Added && !change.Removed && !kept.Removed) {
      kept.After = change.After;
      return;
    }
  }
  Heads.push_back(change);
}

void EditStep::Add(const std::vector<RecordChange>& changes) {
  for (const RecordChange& change : changes) Add(change);
}

bool EditStep::Empty() const {
  const bool records = std::all_of(Records.begin(), Records.end(),
                                   [](const RecordChange& c) { return c.Before == c.After; });
  const bool heads = std::all_of(Heads.begin(), Heads.end(), [](const HeadLineChange& c) {
    return !c.Added && !c.Removed && c.Before == c.After;
  });
  return records && heads;
}

StepPlace PlaceOf(const EditStep& step) {
  StepPlace place;
  for (const RecordChange& change : step.Records) {
    if (change.Before == change.After) continue;
    place.Key = KeyOf(change.After);
    place.Number = Field(change.After, record::Number);
    using enum GradeField;
    const std::pair<GradeField, FieldWindow> grades[] = {
        {Coursework, record::Coursework}, {Examination, record::Examination}, {Total, record::Total}};
    place.Field = Coursework;
    for (const auto& [field, window] : grades) {
      if (Field(change.Before, window) != Field(change.After, window)) {
        place.Field = field;
        break;
      }
    }
    return place;
  }
  for (const HeadLineChange& change : step.Heads) {
    place.Key = KeyOf(change.After.empty() ? change.Before : change.After);
    return place;
  }
  return place;
}

void EditHistory::Push(EditStep step) {
  if (step.Empty()) return;
  // The saved point among the steps undone cannot be reached any more.
  if (saved_ != kNoSavedPoint && saved_ > done_.size()) saved_ = kNoSavedPoint;
  done_.push_back(std::move(step));
  undone_.clear();
  if (observer_) observer_(done_.back(), false);
}

namespace {

// One header change played forward (or backward): false when strict and the
// line does not hold what the change starts from.
bool PlayHead(Lines& heads, const HeadLineChange& change, bool backward, bool strict) {
  const bool inserts = backward ? change.Removed : change.Added;
  const bool erases = backward ? change.Added : change.Removed;
  const std::string& from = backward ? change.After : change.Before;
  const std::string& to = backward ? change.Before : change.After;
  const auto at = [&](std::size_t i) { return heads.begin() + static_cast<std::ptrdiff_t>(i); };
  if (inserts) {
    if (strict && change.Index > heads.size()) return false;
    heads.insert(at(std::min(change.Index, heads.size())), to);
    return true;
  }
  if (change.Index >= heads.size()) return !strict;
  if (strict && heads[change.Index] != from) return false;
  if (erases)
    heads.erase(at(change.Index));
  else
    heads[change.Index] = to;
  return true;
}

bool PlayRecord(Lines& grades, const RecordChange& change, bool backward, bool strict) {
  if (change.LineIndex >= grades.size()) return !strict;
  std::string& line = grades[change.LineIndex];
  if (strict && line != (backward ? change.After : change.Before)) return false;
  line = backward ? change.Before : change.After;
  return true;
}

}  // namespace

bool PlayStep(Lines& heads, Lines& grades, const EditStep& step, bool backward, bool strict) {
  if (backward) {
    for (auto it = step.Heads.rbegin(); it != step.Heads.rend(); ++it)
      if (!PlayHead(heads, *it, true, strict)) return false;
    for (auto it = step.Records.rbegin(); it != step.Records.rend(); ++it)
      if (!PlayRecord(grades, *it, true, strict)) return false;
    return true;
  }
  for (const RecordChange& change : step.Records)
    if (!PlayRecord(grades, change, false, strict)) return false;
  for (const HeadLineChange& change : step.Heads)
    if (!PlayHead(heads, change, false, strict)) return false;
  return true;
}

EditStep Reversed(const EditStep& step) {
  EditStep reversed;
  for (auto it = step.Records.rbegin(); it != step.Records.rend(); ++it)
    reversed.Records.push_back(RecordChange{it->LineIndex, it->After, it->Before});
  for (auto it = step.Heads.rbegin(); it != step.Heads.rend(); ++it)
    reversed.Heads.push_back(HeadLineChange{it->Index, it->After, it->Before, it->Removed, it->Added});
  return reversed;
}

void EditHistory::MarkSaved() { saved_ = done_.size(); }

const EditStep* EditHistory::Undo(GradeBook& book) {
  if (done_.empty()) return nullptr;
  undone_.push_back(std::move(done_.back()));
  done_.pop_back();
  const EditStep& step = undone_.back();
  PlayStep(book.HeadLines, book.GradeLines, step, true, false);
  book.Modified = !AtSavedPoint();
  if (observer_) observer_(step, true);
  return &step;
}

const EditStep* EditHistory::Redo(GradeBook& book) {
  if (undone_.empty()) return nullptr;
  done_.push_back(std::move(undone_.back()));
  undone_.pop_back();
  const EditStep& step = done_.back();
  PlayStep(book.HeadLines, book.GradeLines, step, false, false);
  book.Modified = !AtSavedPoint();
  if (observer_) observer_(step, false);
  return &step;
}

void EditHistory::Clear() {
  done_.clear();
  undone_.clear();
  saved_ = 0;
}
