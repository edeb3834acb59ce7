#pragma once
// What the exchange commands of gradesheet-cli share: loading FILE and
// finding a course by the key given on the command line.
#include <optional>
#include <string>

#include "gradefile/GradeBook.h"

// Loads FILE with its course list; on failure prints the program's own
// message (path and text) on stderr and returns false.
bool LoadCliBook(const std::string& file, GradeBook& book);

// The course key (GBK) that KEY, as typed, names in the book; nullopt when
// the book has no such course.
std::optional<std::string> CliCourseKey(const GradeBook& book, const std::string& key);
