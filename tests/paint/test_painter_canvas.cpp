// The QPainter canvas: fonts at the canvas DPI, real text metrics, rules,
// and a whole page drawn into an image.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <ostream>

#include "text/Gbk.h"
#include "gradefile/GradeBook.h"
#include "printing/GradeSheetPrinter.h"
#include "printing/qt/FontConvert.h"
#include "printing/qt/Fonts.h"
#include "printing/qt/PainterCanvas.h"
#include "printing/qt/SheetPdf.h"

namespace {

QImage WhiteImage(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

int InkIn(const QImage& image, const QRect& area) {
  int ink = 0;
  const QRect r = area.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) ink += qGray(image.pixel(x, y)) < 128;
  return ink;
}

FontSpec Song(int points, std::uint8_t style = 0) { return FontSpec{1, points, Gbk("宋体"), style}; }

TEST(Fonts, SongFacesResolveToTheInstalledMingFont) {
  for (const char* face : {"宋体", "SimSun"}) {
    const QFontInfo info(QFont(QString::fromUtf8(face)));
    EXPECT_TRUE(info.family().startsWith(QStringLiteral("AR PL UMing"))) << face << " -> "
                                                                          << info.family().toStdString();
  }
  InstallFontSubstitutes();  // again: still one list
  EXPECT_EQ(QFont::substitutes(QStringLiteral("宋体")).size(), 4);
}

struct FontCase {
  int Points, Dpi, Pixels;
};
void PrintTo(const FontCase& c, std::ostream* os) { *os << c.Points << " pt at " << c.Dpi << " dpi"; }

class CanvasFontSize : public ::testing::TestWithParam<FontCase> {};

TEST_P(CanvasFontSize, PointsMapToPixelsAtTheCanvasDpi) {
  QImage image = WhiteImage(10, 10);
  QPainter painter(&image);
  PainterCanvas canvas(painter, GetParam().Dpi);
  canvas.SetFont(Song(10), GetParam().Points);
  EXPECT_EQ(canvas.CurrentFont().pixelSize(), GetParam().Pixels);
  EXPECT_EQ(painter.font().pixelSize(), GetParam().Pixels);
  // A Chinese character of the Ming face is one em wide.
  EXPECT_NEAR(canvas.TextWidth(Gbk("学")), GetParam().Pixels, 1);
  EXPECT_GE(canvas.TextHeight("1234567890"), GetParam().Pixels);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CanvasFontSize,
                         ::testing::Values(FontCase{10, 96, 13}, FontCase{12, 96, 16},
                                           FontCase{10, 600, 83}, FontCase{16, 600, 133},
                                           FontCase{9, 96, 12}));

TEST(PainterCanvasTest, FontDpiChangeResizesTheCurrentFont) {
  QImage image = WhiteImage(10, 10);
  QPainter painter(&image);
  PainterCanvas canvas(painter, 96);
  canvas.SetFont(Song(10), 10);
  canvas.SetFontDpi(192);
  EXPECT_EQ(canvas.FontDpi(), 192);
  EXPECT_EQ(canvas.CurrentFont().pixelSize(), 27);  // Round(26.67)
}

TEST(PainterCanvasTest, TextOutPutsTheTopLeftOfTheTextAtThePoint) {
  QImage image = WhiteImage(200, 100);
  QPainter painter(&image);
  PainterCanvas canvas(painter, 96);
  canvas.SetFont(Song(20), 20);
  canvas.TextOut(50, 40, Gbk("成绩"));
  painter.end();
  EXPECT_GT(InkIn(image, QRect(50, 40, 60, 30)), 20);
  EXPECT_EQ(InkIn(image, QRect(0, 0, 200, 38)), 0);   // nothing above the point
  EXPECT_EQ(InkIn(image, QRect(0, 0, 48, 100)), 0);   // nothing left of it
}

// A text placed from the font's own map (spaces left out, a second time
// from the texts placed before) draws the pixels Qt's own text layout draws.
struct PlacedCase {
  const char* Name;
  const char* Text;
};

std::ostream& operator<<(std::ostream& os, const PlacedCase& c) { return os << c.Name; }

class PlacedText : public ::testing::TestWithParam<PlacedCase> {};

TEST_P(PlacedText, DrawsAsTheTextLayout) {
  const std::string text = Gbk(GetParam().Text);
  auto draw = [&](bool placing, int times) {
    QImage image = WhiteImage(400, 60);
    QPainter painter(&image);
    PainterCanvas canvas(painter, 96);
    canvas.SetGlyphPlacing(placing);
    canvas.SetFont(Song(16), 16);
    for (int i = 0; i < times; ++i) canvas.TextOut(10, 10, text);
    painter.end();
    return image;
  };
  const QImage laidOut = draw(false, 1);
  EXPECT_EQ(draw(true, 1), laidOut);
  EXPECT_EQ(draw(true, 2), draw(false, 2));
}

INSTANTIATE_TEST_SUITE_P(Texts, PlacedText,
                         ::testing::Values(PlacedCase{"grade", "85"}, PlacedCase{"grade_after_blanks", "  85"},
                                           PlacedCase{"name_before_blanks", "张三    "},
                                           PlacedCase{"blanks_only", "  "}, PlacedCase{"blanks_between", "1 2  3"},
                                           PlacedCase{"words_and_letters", "高等数学(一) A1"},
                                           PlacedCase{"grade_word_and_blank", "优 "}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PainterCanvasTest, RectangleLeavesTheInsideAndClearPenDrawsNothing) {
  QImage image = WhiteImage(100, 100);
  QPainter painter(&image);
  painter.setBrush(Qt::black);
  PainterCanvas canvas(painter, 96);
  canvas.Rectangle(10, 10, 90, 90);
  canvas.SetPenStyle(PenStyle::Clear);
  canvas.Line(0, 95, 99, 95);
  painter.end();
  EXPECT_EQ(qGray(image.pixel(50, 50)), 255);
  EXPECT_LT(qGray(image.pixel(10, 50)), 128);
  EXPECT_LT(qGray(image.pixel(89, 50)), 128);
  EXPECT_EQ(qGray(image.pixel(91, 50)), 255);
  EXPECT_EQ(InkIn(image, QRect(0, 93, 100, 5)), 0);
}

TEST(FontConvertTest, SpecAndQFontConvertBothWays) {
  const FontSpec fontSpec{134, 12, Gbk("宋体"), fsBold | fsItalic | fsStrikeOut};
  const QFont font = ToQFontPoints(fontSpec);
  EXPECT_EQ(font.pointSize(), 12);
  EXPECT_TRUE(font.bold());
  EXPECT_FALSE(font.underline());
  EXPECT_EQ(FromQFont(font, 134), fontSpec);
  EXPECT_EQ(ToQFont(fontSpec, 0).pixelSize(), 1);  // never a zero-size font
  QFont arial(QStringLiteral("Arial"));
  arial.setPixelSize(20);  // no point size: the default 10
  EXPECT_EQ(FromQFont(arial).Size, 10);
}

TEST(FontConvertTest, MeasuringFontOfTheDigits) {
  QImage image = WhiteImage(10, 10);
  const TextExtent at96 = MeasureDigits(image, Song(10), 96);
  const TextExtent at600 = MeasureDigits(image, Song(10), 600);
  // Digits of the Ming face are half an em: 13 px -> about 6.5 a digit.
  EXPECT_NEAR(at96.Width, 65, 10);
  EXPECT_GE(at96.Height, 13);
  EXPECT_NEAR(at600.Width, at96.Width * 600 / 96, at600.Width / 10);
  EXPECT_GT(at600.Height, 5 * at96.Height);
}

// A page drawn into an image at the screen metrics: the rules stand where the
// grid puts them and the title has ink.
TEST(PainterCanvasTest, PageIntoAnImage) {
  GradeBook book;
  book.HeadLines = {"C0001tk" + Gbk("高等数学")};
  book.GradeLines = {"C0001cj2024001   " + Gbk("张三    ") + "A1      85    90     89   "};
  book.BuildCourseList();
  PrintSetup setup;
  setup.Metrics[DevicePrinter].Dpi = 600;
  setup.Metrics[DeviceScreen].Dpi = 96;
  ApplyDefaultPrintSettings(setup);
  QImage probe = WhiteImage(10, 10);
  const TextExtent digits = MeasureDigits(probe, setup.BodyFont, 96);
  DeviceMeasurement measured;
  measured.PrinterPageWidth = 4960;
  measured.PrinterPageHeight = 7016;
  measured.PrinterTextWidth = digits.Width * 600 / 96;
  measured.PrinterTextHeight = digits.Height * 600 / 96;
  measured.ScreenTextWidth = digits.Width;
  measured.ScreenTextHeight = digits.Height;
  DerivePageMetrics(setup.Metrics, measured);
  const TDeviceMetrics& screen = setup.Metrics[DeviceScreen];

  SheetKind kind = SheetKind::WholeCourse;
  TPageList pages;
  TRowList rows;
  GradeSheetPrinter printer(book, setup, kind, pages, rows);
  printer.MakePages();
  QImage page = WhiteImage(screen.PageWidth, screen.PageHeight);
  QPainter painter(&page);
  PainterCanvas canvas(painter, 96);
  printer.DrawPage(canvas, 1, DeviceScreen, 1.0);
  painter.end();

  const int left = screen.MarginLeft, top = screen.MarginTop;
  const int cw = screen.CharWidth, lh = screen.LineHeight;
  const int quarter = screen.HalfChar / 2;
  // The left border of the table, in the middle of the first student row.
  EXPECT_LT(qGray(page.pixel(left + quarter, top + 14 * lh)), 128);
  // The right border (column 101).
  EXPECT_LT(qGray(page.pixel(left + 101 * cw + quarter, top + 30 * lh)), 128);
  // The title line has ink, the band between the term line and line 4 has none
  // left of the margin.
  EXPECT_GT(InkIn(page, QRect(left, top, 101 * cw, lh + 4)), 50);
  EXPECT_EQ(InkIn(page, QRect(0, 0, left - 1, page.height())), 0);
  // Nothing below the lowest drawing of the page.
  EXPECT_EQ(InkIn(page, QRect(0, top + 71 * lh - screen.HalfLine + 4, page.width(), page.height())), 0);
}

TEST(SheetPdfTest, WritesTheRangeAndReportsThePages) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  GradeBook book;
  book.HeadLines = {"C0001tk" + Gbk("高等数学")};
  for (int i = 0; i < 50; ++i) book.GradeLines.push_back("C0001cj" + std::to_string(1000 + i) + "      ");
  book.BuildCourseList();
  PrintSetup setup;
  setup.Metrics[DevicePrinter].Dpi = kPdfDpi;
  ApplyDefaultPrintSettings(setup);
  const std::string path = QFile::encodeName(dir.filePath(QStringLiteral("sheet.pdf"))).toStdString();
  SheetPdfResult result = WriteSheetPdf(path, book, setup, SheetKind::WholeCourse, 2, 99);
  EXPECT_TRUE(result.Ok);
  EXPECT_EQ(result.PageCount, 2);
  EXPECT_EQ(result.PagesWritten, 1);
  // Measured on the PDF: A4 at 600 dpi and the 10 pt body font.
  EXPECT_NEAR(setup.Metrics[DevicePrinter].PageWidth, 4960, 4);
  EXPECT_NEAR(setup.Metrics[DevicePrinter].CharWidth, 42, 2);
  result = WriteSheetPdf(path + ".none", book, setup, SheetKind::WholeCourse, 3, 4);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Why, SheetPdfResult::NoPageInRange);
}

}  // namespace
