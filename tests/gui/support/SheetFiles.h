#pragma once
// Grade files for the preview and printing tests, written at test time so the
// page count and the students of every page are known exactly.
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

struct SheetFileCourse {
  std::string Key;             // 5 ASCII bytes
  std::string Name;            // UTF-8
  std::vector<std::string> Classes;  // UTF-8, at most 8 GBK bytes each
  int Students = 40;           // spread over the classes in turn
};

// The student number of student `index` (from 0) of course `course` (from 0):
// ten ASCII digits, unique in the file.
std::string SheetStudentNumber(int course, int index);

// Writes a grade file (magic line, header lines, records, CR LF) of the
// courses; every student has coursework, examination and total grades.
// Returns false when the file could not be written.
bool WriteSheetFile(const QString& path, const std::vector<SheetFileCourse>& courses);

// `courses` courses of `perCourse` students each, two classes per course.
std::vector<SheetFileCourse> UniformCourses(int courses, int perCourse);

// The student numbers on page `page` (from 1) of the whole-course sheet of
// UniformCourses(n, 80): two pages of forty per course.
QStringList NumbersOnUniformPage(int page);
