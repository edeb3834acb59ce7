#include "printing/CourseChoice.h"

#include <algorithm>

bool CourseChoice::Prints(std::string_view key) const {
  if (Which == Scope::AllCourses) return true;
  return std::find(Keys.begin(), Keys.end(), key) != Keys.end();
}

std::vector<std::string> MissingCourseKeys(const std::vector<std::string>& wanted,
                                           const std::vector<std::string>& known) {
  std::vector<std::string> missing;
  for (const std::string& key : wanted) {
    if (std::find(known.begin(), known.end(), key) != known.end()) continue;
    if (std::find(missing.begin(), missing.end(), key) == missing.end()) missing.push_back(key);
  }
  return missing;
}
