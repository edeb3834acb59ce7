#pragma once
// Undo and redo of an open grade file. A step is everything one finished
// command changed: a cell edit from the editor's arrival to its leaving, a
// share edit from focus in to focus out, a paste, a recompute, an import. It
// holds the lines it rewrote or added with their bytes before and after, so
// undo puts back exactly the bytes there were and redo exactly the bytes the
// command wrote; nothing is computed again.
//
// The history belongs to one loaded file: line indexes mean nothing in
// another, so opening a file clears it. Records are never added or removed,
// and a step that added a header line is the newest thing that touched the
// lines after it, so the indexes of every kept step stay valid.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gradefile/GradeBook.h"

struct EditStep {
  std::vector<RecordChange> Records;  // in the order they were made
  std::vector<HeadLineChange> Heads;

  // Adds one change; a later change of a line already in the step keeps the
  // step's first "before" and takes the new "after", so a run of keystrokes
  // is one change from the first state to the last.
  void Add(const RecordChange& change);
  void Add(const HeadLineChange& change);
  void Add(const std::vector<RecordChange>& changes);

  // True when the step would change nothing (no line, or every line back
  // where it started).
  bool Empty() const;
};

// Where a step is seen, so that undo and redo can show the teacher what
// they changed: the course key, and for a record the student number and the
// first grade field that differs (the coursework when none does); no field
// and an empty Number when only a header line changed.
struct StepPlace {
  std::string Key;
  std::string Number;
  std::optional<GradeField> Field;
};
StepPlace PlaceOf(const EditStep& step);

// Plays a step onto the lines: forward writes its "after" bytes (a redo),
// backward puts its "before" bytes back in reverse order (an undo). Loose,
// a line the step names that is not there is passed over; strict, every
// line must hold the bytes the step starts from, and the first that does
// not stops the play (false; the lines are then partly changed).
bool PlayStep(Lines& heads, Lines& grades, const EditStep& step, bool backward, bool strict);

// The step that undoes `step`: the same lines with before and after
// swapped, in reverse order; an added header line becomes a removed one.
EditStep Reversed(const EditStep& step);

class EditHistory {
 public:
  // Keeps a finished step as the newest to undo and forgets what could be
  // redone. An empty step is not kept.
  void Push(EditStep step);

  bool CanUndo() const { return !done_.empty(); }
  bool CanRedo() const { return !undone_.empty(); }

  // Puts the newest step's "before" bytes back (in reverse order) and
  // returns the step, or null when there is nothing to undo. Modified then
  // says whether the lines differ from the saved point.
  const EditStep* Undo(GradeBook& book);

  // Writes the newest undone step's "after" bytes again; null when none.
  const EditStep* Redo(GradeBook& book);

  // The book now holds what its file holds (it was just saved): undo and
  // redo back to here clear Modified. Every step in progress must have been
  // pushed first.
  void MarkSaved();

  // True when the steps done are those of the saved point: the lines are
  // what the file holds, unless an edit not yet pushed changed them.
  bool AtSavedPoint() const { return saved_ == done_.size(); }

  // Forgets every step; the book as it stands is the saved point (a file
  // was just opened).
  void Clear();

  // Is told of every step as it is kept, undone (backward) or redone, after
  // the book has it: the recovery journal follows the edits this way.
  using Observer = std::function<void(const EditStep& step, bool backward)>;
  void Observe(Observer observer) { observer_ = std::move(observer); }

 private:
  Observer observer_;
  // The number of steps done at the saved point; kNoSavedPoint once the
  // steps that lead back to it are forgotten.
  static constexpr std::size_t kNoSavedPoint = static_cast<std::size_t>(-1);

  std::vector<EditStep> done_;
  std::vector<EditStep> undone_;
  std::size_t saved_ = 0;
};
