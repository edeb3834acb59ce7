#pragma once
#include <cstdint>
#include <vector>

#include "printing/PrintSettings.h"
#include "printing/Tlomaprn.h"

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
using TRowList = std::vector<TRowEntry>;

// The printer of the grade sheet "学生考试(考查)成绩表": pages of forty
// students per course (SheetMode 0) or per course and class (otherwise).
// It reads the book, the set-up and the mode at every call, and lays out into
// the lists the main window owns.
class TdjxscjPrn : public Tlomaprn {
 public:
  TdjxscjPrn(const GradeBook& book, const PrintSetup& setup, const std::uint8_t& sheetMode,
             TPageList& pageList, TRowList& rowList);

  bool MakePages() override;
  bool DrawPage(Canvas& canvas, std::uint16_t PageNo, std::uint16_t Device, double Scale) override;

  void ClearPageList();
  void ClearRowList();

 private:
  const GradeBook& book_;
  const PrintSetup& setup_;
  const std::uint8_t& sheetMode_;
  TPageList& pageList_;
  TRowList& rowList_;
};
