#include "printing/qt/FontConvert.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

#include "printing/PageMetrics.h"
#include "printing/qt/PainterCanvas.h"
#include "printing/qt/QtText.h"
#include "text/Gbk.h"

namespace {
void ApplyStyle(QFont& font, std::uint8_t style) {
  font.setBold(style & fsBold);
  font.setItalic(style & fsItalic);
  font.setUnderline(style & fsUnderline);
  font.setStrikeOut(style & fsStrikeOut);
}
}  // namespace

QFont ToQFont(const FontSpec& fontSpec, int pixelSize) {
  QFont font(GbkToQString(fontSpec.Name));
  font.setPixelSize(std::max(1, pixelSize));
  // Whole-pixel advances: the sheet's column is the width of "1234567890"
  // div 10, so a fractional digit (6.5 px of a 13 px Song face) would make
  // every number wider than the columns measured from it.
  font.setHintingPreference(QFont::PreferFullHinting);
  ApplyStyle(font, fontSpec.Style);
  return font;
}

QFont ToQFontPoints(const FontSpec& fontSpec) {
  QFont font(GbkToQString(fontSpec.Name));
  font.setPointSize(std::max(1, fontSpec.Size));
  ApplyStyle(font, fontSpec.Style);
  return font;
}

FontSpec FromQFont(const QFont& font, std::uint8_t charset) {
  FontSpec fontSpec;
  fontSpec.Charset = charset;
  fontSpec.Name = QStringToGbk(font.family()).value_or(Gbk("宋体"));
  const double points = font.pointSizeF();
  fontSpec.Size = points > 0 ? static_cast<std::int32_t>(std::lround(points)) : 10;
  std::uint8_t style = 0;
  if (font.bold()) style |= fsBold;
  if (font.italic()) style |= fsItalic;
  if (font.underline()) style |= fsUnderline;
  if (font.strikeOut()) style |= fsStrikeOut;
  fontSpec.Style = style;
  return fontSpec;
}

FontSpec FromQFont(const QFont& font, const FontSpec& previous) {
  FontSpec chosen = FromQFont(font, previous.Charset);
  const QString family = font.family();
  const bool sameFace = family == GbkToQString(previous.Name) ||
                        family == QFontInfo(ToQFontPoints(previous)).family();
  if (sameFace || !QStringToGbk(family)) chosen.Name = previous.Name;
  if (font.pointSizeF() <= 0) chosen.Size = previous.Size;
  return chosen;
}

TextExtent MeasureDigits(QPaintDevice& device, const FontSpec& body, int dpi) {
  const QFontMetrics metrics(ToQFont(body, PointsToPixels(body.Size, dpi)), &device);
  const QString digits = QStringLiteral("1234567890");
  return TextExtent{metrics.horizontalAdvance(digits), metrics.height()};
}
