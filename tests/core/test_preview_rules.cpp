// The widget-free rules of the preview: zoom limits and steps, status texts,
// the enabling table, the pages a print choice means, and the margin
// dialog's millimetre reading.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "printing/PreviewRules.h"
#include "text/Gbk.h"

using namespace preview;

namespace {

// 0.8 or 1.25 applied n times to 1.0, the way the window zooms.
double Steps(double factor, int n) {
  double z = 1.0;
  for (int i = 0; i < n; ++i) z = z * factor;
  return z;
}

// A readable name of a table row for the test's own name.
template <typename Case>
std::string RowName(const ::testing::TestParamInfo<Case>& info) {
  std::string name;
  for (char c : std::string(info.param.Name)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

// ---- zoom ---------------------------------------------------------------------

struct ZoomCase {
  const char* Name;
  int Points;
  int OutSteps;  // the smallest zoom is 0.8 to this power
  int InSteps;   // the largest 1.25 to this one
};
void PrintTo(const ZoomCase& c, std::ostream* os) { *os << c.Name; }

class ZoomLimitsTable : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomLimitsTable, LandExactlyOnSteps) {
  const ZoomCase& c = GetParam();
  const ZoomLimits limits = ComputeZoomLimits(c.Points);
  // Exact equality: stepping from 1.0 must land on the limits themselves.
  EXPECT_EQ(limits.Min, Steps(ZoomOutFactor, c.OutSteps));
  EXPECT_EQ(limits.Max, Steps(ZoomInFactor, c.InSteps));
}

INSTANTIATE_TEST_SUITE_P(Fonts, ZoomLimitsTable,
                         ::testing::Values(ZoomCase{"10 pt", 10, 6, 4}, ZoomCase{"16 pt", 16, 8, 2},
                                           ZoomCase{"24 pt", 24, 10, 0}, ZoomCase{"3 pt", 3, 0, 10},
                                           ZoomCase{"2 pt", 2, 0, 12}, ZoomCase{"30 pt", 30, 11, 0},
                                           // the size is read as its absolute value
                                           ZoomCase{"minus 10 pt", -10, 6, 4},
                                           // only damaged settings hold 0: the 10 pt limits
                                           ZoomCase{"0 pt", 0, 6, 4}),
                         RowName<ZoomCase>);

TEST(ZoomLimits, Values) {
  EXPECT_EQ(ComputeZoomLimits(10).Max, 2.44140625);
  EXPECT_EQ(ComputeZoomLimits(16).Max, 1.5625);
  EXPECT_NEAR(ComputeZoomLimits(10).Min, 0.262144, 1e-12);
  EXPECT_NEAR(ComputeZoomLimits(16).Min, 0.16777216, 1e-12);
  EXPECT_EQ(ComputeZoomLimits(24).Max, 1.0);
  EXPECT_EQ(ComputeZoomLimits(3).Min, 1.0);
}

TEST(ZoomSteps, InToTheLimitAndBack) {
  const ZoomLimits limits = ComputeZoomLimits(10);
  double z = 1.0;
  int steps = 0;
  while (ZoomedIn(z, limits.Max) != z) {
    z = ZoomedIn(z, limits.Max);
    ++steps;
  }
  EXPECT_EQ(steps, 4);
  EXPECT_EQ(z, limits.Max);
  EXPECT_EQ(ZoomedOut(z, limits.Min), 1.953125);
  z = 1.0;
  steps = 0;
  while (ZoomedOut(z, limits.Min) != z) {
    z = ZoomedOut(z, limits.Min);
    ++steps;
  }
  EXPECT_EQ(steps, 6);
  EXPECT_EQ(z, limits.Min);
}

// ---- commands and status texts ---------------------------------------------------

struct EnablingCase {
  const char* Name;
  int Sheet, Pages, Page;
  double Zoom;
  const char* Expected;  // previous next choose in out first/last scroll print
};
void PrintTo(const EnablingCase& c, std::ostream* os) { *os << c.Name; }

class EnablingTable : public ::testing::TestWithParam<EnablingCase> {};

TEST_P(EnablingTable, EnablesTheCommandsThatCanRun) {
  const EnablingCase& c = GetParam();
  const PreviewState s{c.Sheet, c.Pages, c.Page, c.Zoom, Steps(0.8, 6), Steps(1.25, 4)};
  const CommandStates got = PreviewCommands(s);
  const bool flags[] = {got.PreviousPage, got.NextPage, got.ChoosePage, got.ZoomIn,
                        got.ZoomOut,      got.FirstLast, got.Scroll,    got.Print};
  std::string text;
  for (bool b : flags) text += b ? '1' : '0';
  EXPECT_EQ(text, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(States, EnablingTable,
                         ::testing::Values(EnablingCase{"no sheet", 0, 5, 2, 1.0, "00000000"},
                                           EnablingCase{"no pages", 1, 0, 0, 1.0, "00011111"},
                                           EnablingCase{"one page", 1, 1, 1, 1.0, "00011111"},
                                           EnablingCase{"first of 3", 1, 3, 1, 1.0, "01111111"},
                                           EnablingCase{"middle of 3", 1, 3, 2, 1.0, "11111111"},
                                           EnablingCase{"last of 3", 1, 3, 3, 1.0, "10111111"},
                                           EnablingCase{"largest zoom", 1, 3, 2, Steps(1.25, 4), "11101111"},
                                           EnablingCase{"smallest zoom", 1, 3, 2, Steps(0.8, 6), "11110111"}),
                         RowName<EnablingCase>);

struct StatusCase {
  const char* Name;
  int Sheet, Pages, Page;
  std::array<const char*, 3> Expected;  // UTF-8
};
void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.Name; }

class StatusTextTable : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusTextTable, NameTheSheetAndItsPages) {
  const StatusCase& c = GetParam();
  const auto texts = PreviewStatusTexts(PreviewState{c.Sheet, c.Pages, c.Page, 1.0, 0.5, 2.0});
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(GbkToUtf8(texts[i]), c.Expected[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(States, StatusTextTable,
                         ::testing::Values(StatusCase{"no sheet", 0, 3, 1, {"", "", ""}},
                                           StatusCase{"no pages", 1, 0, 0, {" 学生成绩单", " 共 0 页", " 第 0 页"}},
                                           StatusCase{"page 9 of 12", 1, 12, 9, {" 学生成绩单", " 共 12 页", " 第 9 页"}}),
                         RowName<StatusCase>);

// ---- printing ------------------------------------------------------------------

struct PrintCase {
  const char* Name;
  PrintChoice Choice;
  int PageCount, CurPage;
  int First, Last;  // First > Last: nothing is printed
};
void PrintTo(const PrintCase& c, std::ostream* os) { *os << c.Name; }

class PagesToPrintTable : public ::testing::TestWithParam<PrintCase> {};

TEST_P(PagesToPrintTable, StayWithinTheSheet) {
  const PrintCase& c = GetParam();
  const PageSpan span = PagesToPrint(c.Choice, c.PageCount, c.CurPage);
  EXPECT_EQ(span.First, c.First);
  EXPECT_EQ(span.Last, c.Last);
}

constexpr PrintChoice kAll{PrintChoice::AllPages, 1, 1};
constexpr PrintChoice kShown{PrintChoice::Selection, 1, 1};
constexpr PrintChoice Range(int from, int to) { return {PrintChoice::PageRange, from, to}; }

INSTANTIATE_TEST_SUITE_P(Choices, PagesToPrintTable,
                         ::testing::Values(PrintCase{"all pages", kAll, 5, 2, 1, 5},
                                           PrintCase{"the page shown", kShown, 5, 3, 3, 3},
                                           PrintCase{"a range", Range(2, 4), 5, 1, 2, 4},
                                           PrintCase{"a range past the end", Range(4, 9), 5, 1, 4, 5},
                                           PrintCase{"a range from 0", Range(0, 2), 5, 1, 1, 2},
                                           PrintCase{"a range wholly past the end", Range(7, 9), 5, 1, 7, 5},
                                           PrintCase{"a range that ends before it begins", Range(4, 2), 5, 1, 4, 2},
                                           PrintCase{"the page shown when none is", kShown, 5, 0, 1, 0},
                                           PrintCase{"a sheet without pages", kAll, 0, 0, 1, 0}),
                         RowName<PrintCase>);

// ---- the margin dialog ------------------------------------------------------

struct MarginTextCase {
  const char* Name;
  const char* Text;
  int Mm;
  int PixelsAt600;
};
void PrintTo(const MarginTextCase& c, std::ostream* os) { *os << c.Name; }

class MarginTextTable : public ::testing::TestWithParam<MarginTextCase> {};

TEST_P(MarginTextTable, ReadsWholeMillimetres) {
  const MarginTextCase& c = GetParam();
  EXPECT_EQ(ReadMarginText(c.Text), c.Mm);
  EXPECT_EQ(MarginTextToPixels(c.Text, 600), c.PixelsAt600);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MarginTextTable,
    ::testing::Values(MarginTextCase{"20", "20", 20, 472}, MarginTextCase{"10", "10", 10, 236},
                      MarginTextCase{"12.5 reads 12", "12.5", 12, 283},
                      MarginTextCase{"minus 5 keeps its sign", "-5", -5, -118},
                      MarginTextCase{"minus 5mm drops the sign", "-5mm", 5, 118},
                      MarginTextCase{"plus 7", "+7", 7, 165}, MarginTextCase{"blanks trimmed", "  8  ", 8, 189},
                      MarginTextCase{"letters", "abc", 0, 0}, MarginTextCase{"empty", "", 0, 0},
                      MarginTextCase{"sign only", "-", 0, 0}, MarginTextCase{"inner blank stops", "1 2", 1, 24},
                      MarginTextCase{"huge saturates", "99999999999999999999", 2147483647, 2147483647},
                      MarginTextCase{"huge negative", "-99999999999999999999", -2147483647,
                                     std::numeric_limits<int>::min()}),
    RowName<MarginTextCase>);

struct MarginMmCase {
  const char* Name;
  int Pixels, Dpi, Mm;
};
void PrintTo(const MarginMmCase& c, std::ostream* os) { *os << c.Name; }

class MarginShownInMm : public ::testing::TestWithParam<MarginMmCase> {};

TEST_P(MarginShownInMm, RoundsToWholeMillimetres) {
  EXPECT_EQ(MarginPixelsToMm(GetParam().Pixels, GetParam().Dpi), GetParam().Mm);
}

INSTANTIATE_TEST_SUITE_P(Margins, MarginShownInMm,
                         ::testing::Values(MarginMmCase{"left 197 at 600", 197, 600, 8},
                                           MarginMmCase{"top 394 at 600", 394, 600, 17},
                                           MarginMmCase{"zero", 0, 600, 0}, MarginMmCase{"negative", -118, 600, -5},
                                           MarginMmCase{"at 300", 118, 300, 10},
                                           MarginMmCase{"no resolution", 197, 0, 0}),
                         RowName<MarginMmCase>);

}  // namespace
