#include "app/cli/CliBook.h"

#include <algorithm>
#include <iostream>

#include "gradefile/Gbk.h"

bool LoadCliBook(const std::string& file, GradeBook& book) {
  const LoadResult loaded = book.Load(file);
  if (loaded.Outcome != LoadOutcome::Loaded) {
    std::cerr << loaded.Message << '\n';
    return false;
  }
  if (!loaded.Notice.empty()) std::cerr << loaded.Notice << '\n';
  book.BuildCourseList();
  return true;
}

std::optional<std::string> CliCourseKey(const GradeBook& book, const std::string& key) {
  const std::optional<std::string> gbk = Utf8ToGbk(key);
  if (!gbk || std::find(book.CourseKeys.begin(), book.CourseKeys.end(), *gbk) == book.CourseKeys.end())
    return std::nullopt;
  return gbk;
}
