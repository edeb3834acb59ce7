// Page metrics derived from what was measured, unit conversions, ScaleFont.
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "printing/PageMetrics.h"
#include "printing/RecordingCanvas.h"

namespace {

PageMetrics Measured(int printerDpi, int screenDpi) {
  PageMetrics m{};
  m[DevicePrinter].Dpi = printerDpi;
  m[DeviceScreen].Dpi = screenDpi;
  m[DevicePrinter].MarginLeft = 197;
  m[DevicePrinter].MarginTop = 394;
  m[DevicePrinter].MarginRight = 3;
  m[DevicePrinter].MarginBottom = 0;
  return m;
}

TEST(PageMetricsDerive, PrinterAndScreenEntriesFollowTheirRules) {
  PageMetrics m = Measured(600, 96);
  DeviceMeasurement measured;
  measured.PrinterPageWidth = 4760;
  measured.PrinterPageHeight = 6814;
  measured.PrinterTextWidth = 425;
  measured.PrinterTextHeight = 91;
  measured.ScreenTextWidth = 73;
  measured.ScreenTextHeight = 15;
  DerivePageMetrics(m, measured);

  const TDeviceMetrics& p = m[DevicePrinter];
  EXPECT_EQ(p.Dpi, 600);
  EXPECT_EQ(p.PageWidth, 4760);
  EXPECT_EQ(p.PageHeight, 6814);
  EXPECT_EQ(p.CharWidth, 42);
  EXPECT_EQ(p.HalfChar, 21);
  EXPECT_EQ(p.LineHeight, 91);
  EXPECT_EQ(p.HalfLine, 45);
  EXPECT_EQ(p.MarginLeft, 197);  // kept: the printer margins are not derived

  const TDeviceMetrics& s = m[DeviceScreen];
  EXPECT_EQ(s.Dpi, 96);
  EXPECT_EQ(s.CharWidth, 7);
  EXPECT_EQ(s.HalfChar, 5);  // 7 div 2 + 2
  EXPECT_EQ(s.LineHeight, 15);
  EXPECT_EQ(s.HalfLine, 7);
  EXPECT_EQ(s.PageWidth, 762);    // Round(761.6)
  EXPECT_EQ(s.PageHeight, 1090);  // Round(1090.24)
  EXPECT_EQ(s.MarginLeft, 32);    // Round(31.52)
  EXPECT_EQ(s.MarginTop, 63);     // Round(63.04)
  EXPECT_EQ(s.MarginRight, 0);    // Round(0.48)
}

TEST(PageMetricsDerive, PrinterWithoutResolutionUsesRatioOne) {
  PageMetrics m = Measured(0, 96);
  DeviceMeasurement measured;
  measured.PrinterPageWidth = 1000;
  DerivePageMetrics(m, measured);
  EXPECT_EQ(ScreenRatio(m), 1.0);
  EXPECT_EQ(m[DeviceScreen].PageWidth, 1000);
  EXPECT_EQ(m[DeviceScreen].MarginTop, 394);
}

struct Conversion {
  const char* What;
  std::int32_t Got, Expected;
};
void PrintTo(const Conversion& c, std::ostream* os) { *os << c.What; }

class UnitConversions : public ::testing::TestWithParam<Conversion> {};
TEST_P(UnitConversions, RoundTiesToEven) { EXPECT_EQ(GetParam().Got, GetParam().Expected) << GetParam().What; }

INSTANTIATE_TEST_SUITE_P(
    Table, UnitConversions,
    ::testing::Values(Conversion{"197 px at 600 dpi in mm", PixelsToMillimetres(197, 600), 8},
                      Conversion{"10 mm at 600 dpi", MillimetresToPixels(10, 600), 236},
                      Conversion{"mm without dpi", MillimetresToPixels(10, 0), 0},
                      Conversion{"px without dpi", PixelsToMillimetres(10, 0), 0},
                      Conversion{"default left at 600", DefaultMarginLeft(600), 197},
                      Conversion{"default top at 600", DefaultMarginTop(600), 394},
                      Conversion{"default left at 300", DefaultMarginLeft(300), 98},
                      Conversion{"10 pt at 96 dpi", PointsToPixels(10, 96), 13},
                      Conversion{"9 pt at 96 dpi (12 exactly)", PointsToPixels(9, 96), 12},
                      Conversion{"a tie to even: 12.5 -> 12", PointsToPixels(12.5 * 72 / 96, 96), 12},
                      Conversion{"394 printer px on a 96 dpi screen", PrinterToScreen(394, 96.0 / 600), 63},
                      Conversion{"a margin at half scale", ScaledMargin(197, 0.5), 98},
                      Conversion{"the largest margin, held", ScaledMargin(2147483647, 1.0), 1 << 24},
                      Conversion{"the smallest margin, held", ScaledMargin(-2147483647 - 1, 1.0), -(1 << 24)}));

// A printer of another resolution: the margins keep their size on paper.
TEST(PageMetricsRescale, MarginsFollowTheNewResolution) {
  struct Case {
    const char* What;
    std::int32_t OldDpi, NewDpi;
    std::array<std::int32_t, 4> Margins, Expected;  // left, right, top, bottom
    std::int32_t ExpectedDpi;
  };
  const Case cases[] = {
      {"600 to 300", 600, 300, {197, 3, 394, 0}, {98, 2, 197, 0}, 300},  // 98.5 and 1.5 go to even
      {"300 to 600", 300, 600, {98, 1, 197, 5}, {196, 2, 394, 10}, 600},
      {"600 to 1200", 600, 1200, {197, 0, 394, 7}, {394, 0, 788, 14}, 1200},
      {"the same resolution", 600, 600, {197, 3, 394, 0}, {197, 3, 394, 0}, 600},
      {"a printer without resolution", 600, 0, {197, 3, 394, 0}, {197, 3, 394, 0}, 600},
      {"metrics without resolution", 0, 300, {197, 3, 394, 0}, {197, 3, 394, 0}, 0},
      {"a negative resolution", 600, -300, {197, 3, 394, 0}, {197, 3, 394, 0}, 600},
  };
  for (const Case& c : cases) {
    TDeviceMetrics printer;
    printer.Dpi = c.OldDpi;
    printer.MarginLeft = c.Margins[0];
    printer.MarginRight = c.Margins[1];
    printer.MarginTop = c.Margins[2];
    printer.MarginBottom = c.Margins[3];
    printer.LineHeight = 77;
    RescalePrinterMargins(printer, c.NewDpi);
    const std::array<std::int32_t, 4> got = {printer.MarginLeft, printer.MarginRight, printer.MarginTop,
                                             printer.MarginBottom};
    EXPECT_EQ(got, c.Expected) << c.What;
    EXPECT_EQ(printer.Dpi, c.ExpectedDpi) << c.What;
    EXPECT_EQ(printer.LineHeight, 77) << c.What;  // measured again afterwards, not scaled
  }
}

struct ScaleCase {
  int Points;
  double Factor;
  int Expected;
};
void PrintTo(const ScaleCase& c, std::ostream* os) { *os << c.Points << " pt times " << c.Factor; }

class ScaleFontTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleFontTest, SizeTimesFactorRoundedToEven) {
  RecordingCanvas canvas;
  FontSpec font;
  font.Size = GetParam().Points;
  font.Name = "x";
  font.Style = fsItalic;
  ScaleFont(canvas, font, GetParam().Factor);
  ASSERT_EQ(canvas.Ops.size(), 1u);
  EXPECT_EQ(canvas.Ops[0].Points, GetParam().Expected);
  EXPECT_EQ(canvas.Ops[0].Font.Style, fsItalic);
}

INSTANTIATE_TEST_SUITE_P(Factors, ScaleFontTest,
                         ::testing::Values(ScaleCase{10, 1.25, 12}, ScaleCase{14, 1.25, 18},
                                           ScaleCase{10, 1.0, 10}, ScaleCase{10, 0.8, 8},
                                           ScaleCase{10, 2.44140625, 24}, ScaleCase{16, 2.0, 32}));

}  // namespace
