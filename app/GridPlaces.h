#pragma once
// Where the editing view's grids show the book: the course list has its
// heading in row 0 and course c (its index in CourseKeys) in row c + 1; the
// student grid has its heading in row 0, student s of the course shown in
// row s + 1, and a student's texts in the columns of StudentRow::Cells, the
// grade fields in columns 4 to 6. The core speaks courses, students and
// fields; only the window turns them into rows and columns.
#include <algorithm>
#include <cstddef>

#include "gradefile/GradeBook.h"
#include "gradefile/Record.h"

inline constexpr int kFirstGradeColumn = static_cast<int>(StudentRow::kFirstGrade);
inline constexpr int kLastGradeColumn = kFirstGradeColumn + kGradeFields - 1;

// The course of a course list row; a row that lists none (the heading, no
// row at all) gives an index past every course.
constexpr std::size_t CourseOfListRow(int row) {
  return row >= 1 ? static_cast<std::size_t>(row - 1) : static_cast<std::size_t>(-1);
}
constexpr int ListRowOfCourse(std::size_t course) { return static_cast<int>(course) + 1; }

constexpr int StudentOfRow(int row) { return row - 1; }
constexpr int GridRow(int student) { return student + 1; }

constexpr bool IsGradeColumn(int column) { return column >= kFirstGradeColumn && column <= kLastGradeColumn; }
constexpr int GridColumn(GradeField field) { return kFirstGradeColumn + static_cast<int>(field); }
// The field of a grade column; a column left of the grades is the
// coursework's, one right of them the total's.
constexpr GradeField FieldOfColumn(int column) {
  return static_cast<GradeField>(std::clamp(column, kFirstGradeColumn, kLastGradeColumn) - kFirstGradeColumn);
}
