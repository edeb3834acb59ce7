#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "printing/CourseChoice.h"
#include "printing/PrintSettings.h"
#include "printing/SheetForm.h"
#include "printing/SheetKind.h"
#include "printing/SheetPrinter.h"

class GradeBook;

struct TPageEntry {
  std::int32_t GroupCount = 0;  // student rows of the page's whole group
  std::int32_t FirstRow = 0;    // index in the row list of the page's first row
  std::int32_t GroupIndex = 0;  // index in CourseKeys or ClassGroups
};

struct TRowEntry {
  std::int32_t LineIndex = 0;  // index in GradeLines
};

using TPageList = std::vector<TPageEntry>;

// The figures of a page's closing block exactly as the sheet prints them
// (fixed widths, padded on the left); an empty text is a blank left empty.
struct TGroupFigures {
  std::string CourseKey;       // PageCourseKey
  std::string ClassCode;       // PageClassCode; empty on the whole-course sheet
  std::int32_t GroupCount = 0;
  std::int32_t GroupPages = 0;  // pages of the page's group
  std::string Coursework;      // share, 3 wide
  std::string Examination;     // 100 - share, 3 wide
  std::string Due;             // GroupCount, 4 wide
  std::array<std::string, 5> Bands;  // 4 wide: 90-100, 80-89, 70-79, 60-69, the rest
  std::string Average;         // 6 wide, 2 decimals
  std::string FailureRate;     // 6 wide, 2 decimals
};
using TRowList = std::vector<TRowEntry>;

// The printer of the grade sheet "学生考试(考查)成绩表": pages of forty
// students per course or per course and class (SheetKind). It reads the
// book, the set-up and the kind at every call, and lays out into
// the lists the main window owns.
class GradeSheetPrinter : public SheetPrinter {
 public:
  GradeSheetPrinter(const GradeBook& book, const PrintSetup& setup, const SheetKind& sheetKind,
             TPageList& pageList, TRowList& rowList);

  // Lays out the groups of the chosen courses only (printing/CourseChoice.h).
  bool MakePages() override;
  void ChooseCourses(CourseChoice choice) { choice_ = std::move(choice); }
  bool DrawPage(Canvas& canvas, std::int32_t PageNo, std::uint16_t Device, double Scale) override;

  void ClearPageList();
  void ClearRowList();

  // The parts that are the same on every page (labels, rules, the table's
  // frame and headings), for a writer that keeps them once and lays every
  // page over them: DrawForm draws those alone, and DrawPage leaves them out
  // while SetFormApart(true). Together they draw what DrawPage draws alone.
  void DrawForm(Canvas& canvas, std::uint16_t Device, double Scale);
  void SetFormApart(bool apart) { formApart_ = apart; }

  // Finds every course's header lines in one scan for the drawings that
  // follow, instead of a scan per page: for a job that draws many pages of
  // a book that does not change meanwhile (the index points into its lines).
  void IndexHeads();

  // The closing block's figures of page PageNo (from 1); false, with
  // `figures` untouched, when there is no such page.
  bool PageFigures(std::int32_t PageNo, TGroupFigures& figures) const;

  // The figures of every group in page order, each with the number of the
  // group's first page; stops early when `fn` returns false. One scan of
  // the header lines serves all groups, so a book of many courses costs no
  // more than its size.
  void EveryGroupFigures(
      const std::function<bool(std::int32_t firstPage, const TGroupFigures& figures)>& fn) const;

  // The sheet grid (printing/SheetForm.h).
  static constexpr int SheetColumns = sheetform::kSheetColumns;
  static constexpr int HalfColumns = sheetform::kHalfColumns;
  static constexpr int RowsPerPage = 2 * sheetform::kRowsPerHalf;

 private:
  struct PageGroup {
    std::string_view CourseKey;
    std::string_view ClassCode;
    bool Valid = false;
  };
  PageGroup GroupOfPage(const TPageEntry& page) const;
  // Index in RowList of the first row of the group of page `index` (from 0).
  std::size_t GroupFirstRow(std::size_t index) const;
  // The header lines of one course in file order, gathered in one scan of
  // HeadLines per drawing (the book may hold thousands of courses).
  using CourseHeads = std::vector<std::string_view>;
  using HeadIndex = std::unordered_map<std::string_view, CourseHeads>;
  CourseHeads HeadsOf(std::string_view key) const;
  HeadIndex AllHeads() const;
  // The payload of the last header line with this tag.
  static std::optional<std::string_view> HeadValue(const CourseHeads& heads, std::string_view tag);

  // `text` as far as the page can show it when drawn from x in the canvas's
  // current font: whole when it fits, else cut (between characters) well
  // past the page's right edge, so that a huge header line is neither
  // measured nor shaped whole and what shows on the page does not change.
  std::string_view FitToPage(Canvas& canvas, std::string_view text, std::int64_t x) const;

  // Which parts a drawing makes: the form, the page's own, or both.
  enum Parts : unsigned { kFormParts = 1, kPageParts = 2 };
  bool SetGeometry(std::uint16_t Device, double Scale);
  void DrawHeading(Canvas& canvas, const CourseHeads& heads, double scale, unsigned parts);
  void DrawTable(Canvas& canvas, unsigned parts);
  void DrawClosingBlock(Canvas& canvas, const TGroupFigures& figures, unsigned parts);
  void TextAt(Canvas& canvas, int column, int line, std::string_view text) const;
  void RuleUnder(Canvas& canvas, int line, int firstColumn, int lastColumn) const;
  void FillFigures(std::size_t pageIndex, const PageGroup& group, const CourseHeads& heads,
                   TGroupFigures& figures) const;

  std::int32_t quarterChar_ = 0;
  bool formApart_ = false;
  std::optional<HeadIndex> headIndex_;
  CourseChoice choice_;
  // The figures of the group last drawn, kept between its pages while the
  // heads are indexed (a drawing of many pages of a book that stays put).
  std::int32_t figuresGroup_ = -1;
  TGroupFigures figures_;
  std::int64_t pageRight_ = 0;  // right edge of the page or of the sheet, whichever is further

  const GradeBook& book_;
  const PrintSetup& setup_;
  const SheetKind& sheetKind_;
  TPageList& pageList_;
  TRowList& rowList_;
};
