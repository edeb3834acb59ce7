#pragma once
// Which courses a print or a PDF of the sheet is for: every course, the
// course shown, or the courses the user ticked. The sheet printer lays out
// only the groups of those courses (on the split sheet a course brings all
// its classes), so that page numbers, page counts and the page range all
// speak of the pages that come out.
#include <string>
#include <string_view>
#include <vector>

struct CourseChoice {
  enum class Scope { AllCourses, ShownCourse, ChosenCourses };
  Scope Which = Scope::AllCourses;
  // GBK course keys: the course shown (one), or the ticked ones. Unused
  // for AllCourses.
  std::vector<std::string> Keys;

  static CourseChoice All() { return {}; }
  static CourseChoice Shown(std::string key) { return {Scope::ShownCourse, {std::move(key)}}; }
  static CourseChoice Chosen(std::vector<std::string> keys) { return {Scope::ChosenCourses, std::move(keys)}; }

  // Whether the sheet prints the course with this 5-byte key.
  bool Prints(std::string_view key) const;
};

// The keys of `wanted` that none of `known` is; each named once, in the
// order asked.
std::vector<std::string> MissingCourseKeys(const std::vector<std::string>& wanted,
                                           const std::vector<std::string>& known);
