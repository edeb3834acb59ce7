#include "preview/PrinterLaidCanvas.h"

#include <QPainter>

#include "printing/qt/QtText.h"

PrinterLaidCanvas::PrinterLaidCanvas(QPainter& painter, QPaintDevice& printer, int dpi)
    : drawing_(painter, dpi), printer_(printer) {}

void PrinterLaidCanvas::SetFontDpi(int dpi) {
  drawing_.SetFontDpi(dpi);
  UseFont();
}

void PrinterLaidCanvas::SetFont(const FontSpec& font, int points) {
  drawing_.SetFont(font, points);
  UseFont();
}

void PrinterLaidCanvas::UseFont() {
  const QFont& font = drawing_.CurrentFont();
  // The same font object the print job sets, measured on the same device.
  metrics_.emplace(font, &printer_);
  QFont unhinted = font;
  unhinted.setHintingPreference(QFont::PreferNoHinting);
  drawing_.Painter().setFont(unhinted);
}

int PrinterLaidCanvas::TextWidth(std::string_view gbk) {
  if (!metrics_) UseFont();
  return metrics_->horizontalAdvance(GbkToQString(gbk));
}

int PrinterLaidCanvas::TextHeight(std::string_view) {
  if (!metrics_) UseFont();
  return metrics_->height();
}

void PrinterLaidCanvas::TextOut(int x, int y, std::string_view gbk) {
  if (gbk.empty()) return;
  if (!metrics_) UseFont();
  // (x, y) is the top-left corner of the text cell; Qt draws at the baseline.
  drawing_.Painter().drawText(QPoint(x, y + metrics_->ascent()), GbkToQString(gbk));
}
