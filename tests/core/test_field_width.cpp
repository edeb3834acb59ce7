// The width of a grade's field is a rule of the core: whichever way a grade
// comes in (the editor, a paste, Delete, an import, the recompute, undo and
// redo), the record holds only texts that fit their 6 bytes, never half a
// character, and every total is the one computed from the texts beside it.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "exchange/Import.h"
#include "gradefile/BookCheck.h"
#include "gradefile/EditHistory.h"
#include "gradefile/Record.h"
#include "grading/Weighting.h"
#include "test_gradebook_fixture.h"
#include "text/Blanks.h"

using namespace gradebook_test;

namespace {

using enum GradeField;

GradeBook Book() {
  GradeBook book;
  EXPECT_TRUE(book.ReadBytes(Join({Magic(), "AAAAAtk A", "AAAAAt9 30",
                                   Record("AAAAA", "2023000001", "李明", "一班", "80", "90", " 87"),
                                   Record("AAAAA", "2023000002", "王芳", "一班", "60", "70", " 67")})));
  book.BuildCourseList();
  return book;
}

// Types `texts` into grade `field` of student `student` as the editor does,
// one text after another, and keeps what the grid shows.
void Write(GradeBook& book, CourseView& view, std::size_t student, GradeField field,
           const std::vector<std::string>& texts, EditStep* step = nullptr) {
  for (const std::string& text : texts) {
    const auto change = book.WriteThrough(0, view.Rows[student], field, text, view.Share);
    if (change && step != nullptr) step->Add(*change);
  }
}

struct WritingPath {
  const char* Name;
  // Writes into the book; `view` is the shown course, kept as the window keeps it.
  std::function<void(GradeBook&, CourseView&, EditHistory&)> Run;
  bool InPlace = false;  // the grid's cells are written, not shown afresh
};
void PrintTo(const WritingPath& p, std::ostream* os) { *os << p.Name; }

const WritingPath kPaths[] = {
    {"editor_typing_past_six_bytes",
     [](GradeBook& b, CourseView& v, EditHistory&) {
       Write(b, v, 0, Coursework, {"1", "12", "123", "1234", "12345", "123456", "1234567"});
     },
     true},
    {"paste_of_long_words",
     [](GradeBook& b, CourseView& v, EditHistory&) {
       Write(b, v, 0, Coursework, {G("不通过考试")});
       Write(b, v, 0, Examination, {"1234567"});
       Write(b, v, 1, Examination, {"a" + G("优优优")});
       Write(b, v, 1, Total, {G("不及格者")});
     },
     true},
    {"delete", [](GradeBook& b, CourseView& v, EditHistory&) { Write(b, v, 1, Coursework, {""}); }, true},
    {"import",
     [](GradeBook& b, CourseView&, EditHistory&) {
       const exchange::ImportPreview p = exchange::PreviewImportBytes(
           b, "AAAAA", "学号,平时成绩,考试成绩\n2023000001,1234567,85\n2023000002,100,100\n", {});
       ASSERT_TRUE(p.Ok());
       ASSERT_EQ(p.Count(exchange::RowIssue::TooLong), 1u);
       ASSERT_TRUE(exchange::ApplyImport(b, p).Ok);
     }},
    {"recompute_after_a_share_edit",
     [](GradeBook& b, CourseView&, EditHistory&) {
       ASSERT_TRUE(b.StoreShare(0, "45.5"));
       EXPECT_EQ(RecomputeTotals(b, "AAAAA").size(), 2u);
     }},
    {"undo_and_redo",
     [](GradeBook& b, CourseView& v, EditHistory& h) {
       EditStep step;
       Write(b, v, 0, Examination, {"9", "99", "999999", "9999999"}, &step);
       h.Push(step);
       ASSERT_TRUE(h.Undo(b));
       ASSERT_TRUE(h.Redo(b));
     }},
};

class EveryWritingPath : public ::testing::TestWithParam<WritingPath> {};

TEST_P(EveryWritingPath, WritesOnlyWhatFitsAndTotalsFollowTheStoredTexts) {
  GradeBook book = Book();
  CourseView view = book.ShowCourse("AAAAA");
  EditHistory history;
  GetParam().Run(book, view, history);

  const std::string share = book.Share("AAAAA");
  const CourseView shown = book.ShowCourse("AAAAA");
  for (std::size_t i = 0; i < book.GradeLines.size(); ++i) {
    const std::string& line = book.GradeLines[i];
    SCOPED_TRACE("record " + std::to_string(i + 1) + ": " + line);
    ASSERT_EQ(line.size(), 57u);
    const std::pair<GradeField, FieldWindow> fields[] = {
        {Coursework, record::Coursework}, {Examination, record::Examination}, {Total, record::Total}};
    for (const auto& [field, window] : fields) {
      const std::string stored(Field(line, window));
      EXPECT_EQ(PaddedGbk(stored, record::GradeWidth), stored) << "no character cut in two";
      // The grid the edit left shows the record's text, as reading it again does.
      if (GetParam().InPlace) {
        EXPECT_EQ(Padded(view.Rows[i].Grade(field), record::GradeWidth), stored);
      }
      EXPECT_EQ(shown.Rows[i].Grade(field), stored);
    }
    EXPECT_EQ(TrimmedBlanks(Field(line, record::Total)),
              TrimmedBlanks(ComputeTotal(share, Field(line, record::Coursework), Field(line, record::Examination))));
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, EveryWritingPath, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
