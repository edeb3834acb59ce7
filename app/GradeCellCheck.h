#pragma once
// Which grade texts the student grid marks with a warning colour. A grade is
// never refused; texts that nothing in the program will read as a grade are
// only made to stand out before the sheet is printed.
#include <string_view>

#include "grading/GradeCheck.h"  // EditorWords(), the editor's list

// True for a grade text that is not empty (after trimming blanks), not a
// number from 0 to 100, not one of the editor's words and not another text
// the grade parser recognises: "855", "o", "优秀". "缺考" is not suspicious.
bool IsSuspiciousGrade(std::string_view gbk);
