// Loader and writer: never crash, write every line once, agree with the
// straightforward per-course writer wherever its assumptions hold, and
// reach a fixed point after one write.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>

#include "gradefile/GradeBook.h"
#include "gradefile/Record.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// The writer as first described: a scan of all records per run of header
// lines. Only meaningful when every run has its own key and every record's
// key has a run.
bool NaiveWriter(const GradeBook& book, std::string& out) {
  std::unordered_set<std::string_view> runKeys;
  out = GradeTexts::MagicLine() + "\r\n";
  std::size_t i = 0;
  while (i < book.HeadLines.size()) {
    std::string_view k = KeyOf(book.HeadLines[i]);
    if (!runKeys.insert(k).second) return false;
    while (i < book.HeadLines.size() && KeyOf(book.HeadLines[i]) == k) out += book.HeadLines[i++] + "\r\n";
    for (const auto& g : book.GradeLines) {
      if (KeyOf(g) == k) out += g + "\r\n";
    }
  }
  for (const auto& g : book.GradeLines) {
    if (!runKeys.count(KeyOf(g))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  // Most inputs should get past the magic line; let the fuzzer skip it.
  if (!input.empty() && input[0] == '!') input = GradeTexts::MagicLine() + "\r\n" + input.substr(1);

  GradeBook book;
  if (!book.ReadBytes(input)) {
    Check(book.HeadLines.empty() && book.GradeLines.empty());
    return 0;
  }
  book.BuildCourseList();
  Check(book.CourseKeys.size() == book.CourseTitles.size());
  // Showing a course scans the file; a few courses are enough here.
  for (std::size_t i = 0; i < book.CourseKeys.size() && i < 8; ++i) {
    CourseView v = book.ShowCourse(book.CourseKeys[i]);
    Check(!v.Rows.empty());
  }

  const std::string written = book.Serialize();
  std::string naive;
  if (NaiveWriter(book, naive)) Check(naive == written);

  GradeBook again;
  Check(again.ReadBytes(written));
  Check(again.HeadLines == book.HeadLines);
  Lines a = book.GradeLines, b = again.GradeLines;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  Check(a == b);  // every record written exactly once
  Check(again.Serialize() == written);

  // Edits keep the file readable and the same shape.
  if (!book.CourseKeys.empty()) {
    std::string text = input.substr(0, std::min<std::size_t>(input.size(), 12));
    book.StoreShare(0, text);
    CourseView v = book.ShowCourse(book.CourseKeys[0]);
    std::size_t records = book.GradeLines.size();
    book.WriteThrough(0, v.Rows[0], static_cast<GradeField>(size % kGradeFields), text, v.Share);
    Check(book.GradeLines.size() == records);
    GradeBook edited;
    Check(edited.ReadBytes(book.Serialize()));
    Check(edited.GradeLines.size() == records);
    Check(edited.HeadLines.size() == book.HeadLines.size());
  }
  return 0;
}
