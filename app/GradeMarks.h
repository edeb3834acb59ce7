#pragma once
// The marks of the check on the course shown in the student grid: every
// finding of a row is marked in its cell (a face per kind of finding and a
// tool tip that says why), a student number that stands twice in the course
// in its own cell, and the totals that disagree with the share are counted
// for the bar over the grid. The rules are the core's (grading/GradeCheck,
// gradefile/BookCheck); this only turns them into faces and counts.
#include <QColor>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "gradefile/GradeBook.h"

class StudentGridModel;

// A grade the file cannot mean as typed (unrecognised or above 100), and a
// share no total can be weighed with.
inline const QColor kGradeFindingFace(255, 200, 140);
// A total that disagrees with the share or counts a word as 0.
inline const QColor kTotalFindingFace(255, 240, 150);
// A student number that stands twice in the course.
inline const QColor kRepeatedFace(240, 180, 200);

class GradeMarks {
 public:
  // `rows`: the rows of the course shown (grid row r is rows[r - 1]), read
  // at every call; `model` is where the marks are shown.
  GradeMarks(const std::vector<StudentRow>& rows, StudentGridModel& model) : rows_(rows), model_(model) {}

  // Course `key` of `book` is shown: its repeated numbers are found, and
  // nothing is counted until its rows are marked.
  void Start(const GradeBook& book, std::string_view key);
  // Marks grid row `row` against `share`; the counts follow.
  void MarkRow(int row, std::string_view share);

  // The rows whose total disagrees with the share, and of those the ones
  // whose total fits no share at all (typed by hand, most likely).
  std::size_t Mismatches() const { return mismatches_; }
  std::size_t TypedMismatches() const { return typedMismatches_; }
  // The grid row of a record of the course shown; 0 for none.
  int GridRowOf(std::size_t lineIndex) const;

 private:
  const std::vector<StudentRow>& rows_;
  StudentGridModel& model_;
  // Per row: why its student number is marked (empty: not repeated), and
  // its total: 0 agrees with the share, 1 does not, 2 does not and fits no share.
  std::vector<std::string> repeatedNumber_;
  std::vector<unsigned char> totalState_;
  std::size_t mismatches_ = 0;
  std::size_t typedMismatches_ = 0;
};
