#include "printing/qt/FontConvert.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

#include "gradefile/Gbk.h"
#include "printing/PageMetrics.h"
#include "printing/qt/PainterCanvas.h"

namespace {
void ApplyStyle(QFont& font, std::uint8_t style) {
  font.setBold(style & fsBold);
  font.setItalic(style & fsItalic);
  font.setUnderline(style & fsUnderline);
  font.setStrikeOut(style & fsStrikeOut);
}
}  // namespace

QFont ToQFont(const FontSpec& spec, int pixelSize) {
  QFont font(GbkToQString(spec.Name));
  font.setPixelSize(std::max(1, pixelSize));
  // Whole-pixel advances: the sheet's column is the width of "1234567890"
  // div 10, so a fractional digit (6.5 px of a 13 px Song face) would make
  // every number wider than the columns measured from it.
  font.setHintingPreference(QFont::PreferFullHinting);
  ApplyStyle(font, spec.Style);
  return font;
}

QFont ToQFontPoints(const FontSpec& spec) {
  QFont font(GbkToQString(spec.Name));
  font.setPointSize(std::max(1, spec.Size));
  ApplyStyle(font, spec.Style);
  return font;
}

FontSpec FromQFont(const QFont& font, std::uint8_t charset) {
  FontSpec spec;
  spec.Charset = charset;
  spec.Name = Utf8ToGbk(font.family().toStdString()).value_or(Gbk("宋体"));
  const double points = font.pointSizeF();
  spec.Size = points > 0 ? static_cast<std::int32_t>(std::lround(points)) : 10;
  std::uint8_t style = 0;
  if (font.bold()) style |= fsBold;
  if (font.italic()) style |= fsItalic;
  if (font.underline()) style |= fsUnderline;
  if (font.strikeOut()) style |= fsStrikeOut;
  spec.Style = style;
  return spec;
}

TextExtent MeasureDigits(QPaintDevice& device, const FontSpec& body, int dpi) {
  const QFontMetrics metrics(ToQFont(body, PointsToPixels(body.Size, dpi)), &device);
  const QString digits = QStringLiteral("1234567890");
  return TextExtent{metrics.horizontalAdvance(digits), metrics.height()};
}
