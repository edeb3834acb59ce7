#include "exchange/ImportColumns.h"

#include <algorithm>

#include "exchange/TextCells.h"
#include "text/Gbk.h"

namespace exchange::importing {

bool HeadingSuits(Role role, const std::string& key) {
  static const std::string xuehao = Gbk("学号"), pingshi = Gbk("平时"), kaoshi = Gbk("考试"), juanmian = Gbk("卷面");
  auto has = [&](const std::string& part) { return key.find(part) != std::string::npos; };
  switch (role) {
    case kStudent: return has(xuehao) || (has("student") && !has("name"));
    case kCoursework: return has(pingshi) || has("coursework");
    case kExamination: return has(kaoshi) || has(juanmian) || has("exam");
  }
  return false;
}

Want WantOf(const std::string& request, bool autoWhenEmpty) {
  Want w;
  w.asGiven = request;
  const std::string_view trimmed = TrimGbk(request);
  if (trimmed.empty()) {
    w.kind = autoWhenEmpty ? Want::Auto : Want::Off;
    return w;
  }
  if (trimmed.find_first_not_of("0123456789") == std::string_view::npos && trimmed.size() <= 6) {
    w.kind = Want::Number;
    w.number = static_cast<std::size_t>(std::stoul(std::string(trimmed)));
    if (w.number > 0) return w;
  }
  w.kind = Want::Text;
  w.text = HeadingKey(request);
  return w;
}

Resolution Resolve(const std::array<Want, 3>& wants, const std::vector<std::string>& keys) {
  Resolution r;
  std::array<bool, 3> found{};
  for (int role = 0; role < 3; ++role) {
    const Want& w = wants[role];
    if (w.kind == Want::Number) {
      r.column[role] = w.number;
      found[role] = true;
    } else if (w.kind == Want::Text || w.kind == Want::Auto) {
      for (std::size_t c = 0; c < keys.size(); ++c) {
        const bool taken = std::find(r.column.begin(), r.column.end(), c + 1) != r.column.end();
        if (taken) continue;
        if (w.kind == Want::Text ? keys[c] == w.text : HeadingSuits(static_cast<Role>(role), keys[c])) {
          r.column[role] = c + 1;
          found[role] = r.textual = true;
          break;
        }
      }
    }
  }
  if (!found[kStudent]) {
    r.failure = wants[kStudent].kind == Want::Auto ? ImportFailure::NoStudentColumn : ImportFailure::NoSuchColumn;
    r.missing = &wants[kStudent];
    return r;
  }
  for (int role : {kCoursework, kExamination}) {
    if (wants[role].kind == Want::Text && !found[role]) {
      r.failure = ImportFailure::NoSuchColumn;
      r.missing = &wants[role];
      return r;
    }
  }
  if (!found[kCoursework] && !found[kExamination]) r.failure = ImportFailure::NoScoreColumn;
  return r;
}

}  // namespace exchange::importing

namespace exchange {

using namespace importing;

bool ScoreColumnsClear(const ImportPreview& preview) {
  if (!preview.Ok() || preview.CourseworkColumn == 0 || preview.ExaminationColumn == 0) return false;
  for (std::size_t c = 1; c <= preview.ColumnNames.size(); ++c) {
    if (c == preview.StudentColumn || c == preview.CourseworkColumn || c == preview.ExaminationColumn) continue;
    const std::string key = HeadingKey(preview.ColumnNames[c - 1]);
    if (HeadingSuits(kCoursework, key) || HeadingSuits(kExamination, key)) return false;
  }
  return true;
}

}  // namespace exchange
