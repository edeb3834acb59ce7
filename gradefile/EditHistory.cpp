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
    if (kept.Index == change.Index && !change.Added) {
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
    return !c.Added && c.Before == c.After;
  });
  return records && heads;
}

StepPlace PlaceOf(const EditStep& step) {
  StepPlace place;
  for (const RecordChange& change : step.Records) {
    if (change.Before == change.After) continue;
    place.Key = KeyOf(change.After);
    place.Number = Field(change.After, record::Number);
    const FieldWindow grades[] = {record::Coursework, record::Examination, record::Total};
    place.Column = 4;
    for (int i = 0; i < 3; ++i) {
      if (Field(change.Before, grades[i]) != Field(change.After, grades[i])) {
        place.Column = 4 + i;
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
}

void EditHistory::MarkSaved() { saved_ = done_.size(); }

const EditStep* EditHistory::Undo(GradeBook& book) {
  if (done_.empty()) return nullptr;
  undone_.push_back(std::move(done_.back()));
  done_.pop_back();
  const EditStep& step = undone_.back();
  for (auto it = step.Heads.rbegin(); it != step.Heads.rend(); ++it) {
    if (it->Index >= book.HeadLines.size()) continue;
    if (it->Added)
      book.HeadLines.erase(book.HeadLines.begin() + static_cast<std::ptrdiff_t>(it->Index));
    else
      book.HeadLines[it->Index] = it->Before;
  }
  for (auto it = step.Records.rbegin(); it != step.Records.rend(); ++it)
    if (it->LineIndex < book.GradeLines.size()) book.GradeLines[it->LineIndex] = it->Before;
  book.Modified = !AtSavedPoint();
  return &step;
}

const EditStep* EditHistory::Redo(GradeBook& book) {
  if (undone_.empty()) return nullptr;
  done_.push_back(std::move(undone_.back()));
  undone_.pop_back();
  const EditStep& step = done_.back();
  for (const RecordChange& change : step.Records)
    if (change.LineIndex < book.GradeLines.size()) book.GradeLines[change.LineIndex] = change.After;
  for (const HeadLineChange& change : step.Heads) {
    if (change.Added) {
      const std::size_t at = std::min(change.Index, book.HeadLines.size());
      book.HeadLines.insert(book.HeadLines.begin() + static_cast<std::ptrdiff_t>(at), change.After);
    } else if (change.Index < book.HeadLines.size()) {
      book.HeadLines[change.Index] = change.After;
    }
  }
  book.Modified = !AtSavedPoint();
  return &step;
}

void EditHistory::Clear() {
  done_.clear();
  undone_.clear();
  saved_ = 0;
}
