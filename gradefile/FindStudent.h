#pragma once
// Finding a student by number or name across the courses of a book, in the
// order the course list and the student grid show them.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gradefile/GradeBook.h"

// A student as the window finds it again: its course (the index in
// CourseKeys, from 0), its place among the course's students (from 0, the
// order of ShowCourse), and the record's number and name as they stand (GBK).
struct StudentEntry {
  std::size_t Course = 0;
  int Student = 0;
  std::string Number;
  std::string Name;
};

// Every student of every listed course, course by course, each course's
// students in the order ShowCourse gives them. A course listed twice has
// its students twice, once under each entry of CourseKeys.
std::vector<StudentEntry> StudentsInListOrder(const GradeBook& book);

// True when `query` (UTF-8, what the teacher typed) names the student: the
// number, blanks trimmed, starts with it, or the name contains it. Blanks
// inside a name (a two-character name is often padded in the middle) and in
// the query do not count; ASCII letters match in either case. An empty query
// matches nothing.
bool StudentMatches(const StudentEntry& student, std::string_view query);

// The index of the first student after `after` that matches, going round to
// the start after the last; `after` itself comes last, so a single match is
// found again. `after` may be -1 (search from the start). Nothing when no
// student matches.
std::optional<std::size_t> FindNextStudent(const std::vector<StudentEntry>& students,
                                           std::string_view query, long after);
