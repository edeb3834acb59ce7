#include "app/GradeCellCheck.h"

#include <algorithm>

#include "gradefile/Gbk.h"
#include "grading/GradeParser.h"

const std::array<std::string, 18>& EditorWords() {
  static const std::array<std::string, 18> words = {
      Gbk("优"),   Gbk("良"),   Gbk("中"),   Gbk("及格"), Gbk("不及格"), Gbk("合格"),
      Gbk("不合格"), Gbk("通过"), Gbk("不通过"), Gbk("A"),    Gbk("B"),      Gbk("C"),
      Gbk("D"),    Gbk("F"),    Gbk("缺考"), Gbk("缓考"), Gbk("旷考"),   Gbk("作弊"),
  };
  return words;
}

bool IsSuspiciousGrade(std::string_view gbk) {
  std::string text(gbk);
  TrimBlanks(text);
  if (text.empty()) return false;
  const auto& words = EditorWords();
  if (std::find(words.begin(), words.end(), text) != words.end()) return false;
  std::int32_t score = 0;
  const GradeCode code = ParseGrade(text, score);
  if (code == -2) return true;
  if (code == 0) return score < 0 || score > 100;
  return false;
}
