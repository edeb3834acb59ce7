#include "app/GradeCellCheck.h"

#include "grading/GradeParser.h"
#include "text/Blanks.h"

bool IsSuspiciousGrade(std::string_view gbk) {
  std::string text(gbk);
  TrimBlanks(text);
  if (text.empty()) return false;
  if (IsEditorWord(text)) return false;
  std::int32_t score = 0;
  const GradeCode code = ParseGrade(text, score);
  if (code == GradeCode::NotRecognised) return true;
  if (code == GradeCode::Number) return score < 0 || score > 100;
  return false;
}
