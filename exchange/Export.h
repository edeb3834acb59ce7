#pragma once
// A book's courses as a spreadsheet for the school office: an Excel
// workbook with one worksheet per course, or CSV. Both are written through
// platform::OutputFile, so a failed export leaves any old file whole.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gradefile/GradeBook.h"

namespace exchange {

// One student as exported: the record's fields without blanks at the ends (GBK).
struct ExportStudent {
  std::string Number, Name, Class, Coursework, Examination, Total;
};

// One course: its key and heading texts (trimmed, GBK) and its students in
// file order.
struct ExportCourse {
  std::string Key, Name, Teacher, Classes, Share;
  std::vector<ExportStudent> Students;
};

// The courses of the book in the order of its course list, each key once
// (a course listed twice is exported once), or only the course `key`
// (nothing when there is no such course). book.CourseKeys must be built.
std::vector<ExportCourse> CoursesForExport(const GradeBook& book, std::optional<std::string_view> key = {});

// The CSV bytes: UTF-8 with a byte order mark (so that Excel and WPS read
// the Chinese right), CR LF, a heading row, one row per student. With
// `courseColumns` every row starts with the course key and name. No cell is
// a formula (InertText).
std::string CsvExportBytes(const std::vector<ExportCourse>& courses, bool courseColumns);

// The worksheet names (UTF-8) of the courses: the course name, characters
// Excel forbids replaced by '_', at most 31 characters, unique without
// regard to case.
std::vector<std::string> XlsxSheetNames(const std::vector<ExportCourse>& courses);

enum class ExportFormat { Xlsx, Csv };

// The format a file name asks for by its extension, ".xlsx" or ".csv" in any
// case; nullopt for any other name.
std::optional<ExportFormat> ExportFormatOf(std::string_view path);

struct ExportResult {
  bool Ok = true;
  std::string Message;  // UTF-8 display text naming the file and the reason, when not Ok
};

ExportResult WriteCsvExport(const std::string& path, const std::vector<ExportCourse>& courses, bool courseColumns);

// Each worksheet: a heading block (course, key, teacher, classes, share),
// then the table 序号 学号 姓名 班级 平时成绩 考试成绩 总成绩 with its heading row
// frozen; plain numbers as numbers, every other grade as text. Refuses an
// empty list of courses.
ExportResult WriteXlsxExport(const std::string& path, const std::vector<ExportCourse>& courses);

}  // namespace exchange
