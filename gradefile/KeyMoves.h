#pragma once
// Where the grid's keys go, said in the course's students and their grade
// fields: the cell the grade editor moves to, the block that Shift+arrows,
// Shift+Home/End and Ctrl+A select, and the finding that F8 and Shift+F8 go
// to. Which grid row and column show a student and a field is the window's
// business.
#include <cstddef>
#include <optional>
#include <vector>

#include "gradefile/Record.h"
#include "grading/GradeCheck.h"

struct StudentCell {
  int Student = 0;  // the student's place in the course shown, from 0
  GradeField Field = GradeField::Coursework;
  bool operator==(const StudentCell&) const = default;
};

enum class EditorMove {
  Down,      // Enter, Down: the same field of the next student
  Up,        // Up: the same field of the student before
  Next,      // Tab: the next field, after the total the coursework of the next student
  Previous,  // Shift+Tab: the field before, before the coursework the total of the student before
};

// The cell the editor moves to among `students` students, or nothing when
// the move would leave them.
std::optional<StudentCell> EditorMoveTarget(StudentCell from, EditorMove move, int students);

// A block of grade cells as a spreadsheet selects it: from the cell the
// selection started at (the current cell) to the corner the keys move.
struct GradeBlock {
  StudentCell Anchor;
  StudentCell Extent;
  bool operator==(const GradeBlock&) const = default;

  int FirstStudent() const;
  int LastStudent() const;
  GradeField FirstField() const;
  GradeField LastField() const;
  bool Contains(StudentCell cell) const;
};

enum class BlockKey {
  Left,      // Shift+Left
  Right,     // Shift+Right
  Up,        // Shift+Up
  Down,      // Shift+Down
  RowStart,  // Shift+Home: to the coursework
  RowEnd,    // Shift+End: to the total
  Top,       // Ctrl+Shift+Home: to the first student
  Bottom,    // Ctrl+Shift+End: to the last student
  All,       // Ctrl+A: every grade cell of the course, from the first
};

// The block after `key` among `students` students. The far corner stops at
// the edges of the grade cells; a course without students keeps its block.
GradeBlock ExtendBlock(GradeBlock block, BlockKey key, int students);

// The field a finding is about; a finding of the whole record (a repeated
// student number) is placed at the coursework, where its row is entered.
GradeField FieldOf(FindingColumn column);

// Where a finding is: its record (its index in GradeLines) and field.
struct FindingPlace {
  std::size_t LineIndex = 0;
  GradeField Field = GradeField::Coursework;
  bool operator==(const FindingPlace&) const = default;
};

// The index in `findings` (of one course, any order) of the first finding
// after the cell at `from` in record order, then field order; Shift+F8
// (`backward`) the last one before it. Several findings of one cell are one
// stop. Past the last it starts again at the first, as a search does.
// Nothing when there are no findings, or none but at `from` itself.
std::optional<std::size_t> NextFinding(const std::vector<GradeFinding>& findings, FindingPlace from,
                                       bool backward);
