#include "printing/PageMetrics.h"

#include <algorithm>

#include "grading/Numbers.h"

std::int32_t PointsToPixels(double points, std::int32_t dpi) {
  return Round(points * dpi / 72.0);
}

std::int32_t MillimetresToPixels(double mm, std::int32_t dpi) {
  if (dpi <= 0) return 0;
  return Round(mm * dpi / 25.4);
}

std::int32_t PixelsToMillimetres(std::int32_t pixels, std::int32_t dpi) {
  if (dpi <= 0) return 0;
  return Round(pixels * 25.4 / dpi);
}

double ScreenRatio(const PageMetrics& metrics) {
  if (metrics[DevicePrinter].Dpi == 0) return 1.0;
  return static_cast<double>(metrics[DeviceScreen].Dpi) / metrics[DevicePrinter].Dpi;
}

std::int32_t PrinterToScreen(std::int32_t pixels, double ratio) { return Round(pixels * ratio); }

std::int32_t DefaultMarginLeft(std::int32_t dpi) { return Round(dpi * 0.3281); }
std::int32_t DefaultMarginTop(std::int32_t dpi) { return Round(dpi * 0.6562); }

std::int32_t ScaledMargin(std::int32_t margin, double scale) {
  constexpr std::int32_t kFarOffPage = 1 << 24;
  return std::clamp(Round(margin * scale), -kFarOffPage, kFarOffPage);
}

void RescalePrinterMargins(TDeviceMetrics& printer, std::int32_t dpi) {
  if (dpi <= 0 || printer.Dpi <= 0 || dpi == printer.Dpi) return;
  const double factor = static_cast<double>(dpi) / printer.Dpi;
  for (std::int32_t* margin : {&printer.MarginLeft, &printer.MarginRight, &printer.MarginTop, &printer.MarginBottom})
    *margin = Round(*margin * factor);
  printer.Dpi = dpi;
}

void DerivePageMetrics(PageMetrics& metrics, const DeviceMeasurement& measured) {
  TDeviceMetrics& printer = metrics[DevicePrinter];
  TDeviceMetrics& screen = metrics[DeviceScreen];

  printer.PageHeight = measured.PrinterPageHeight;
  printer.PageWidth = measured.PrinterPageWidth;
  printer.LineHeight = measured.PrinterTextHeight;
  printer.CharWidth = measured.PrinterTextWidth / 10;
  printer.HalfChar = printer.CharWidth / 2;
  printer.HalfLine = printer.LineHeight / 2;

  screen.LineHeight = measured.ScreenTextHeight;
  screen.CharWidth = measured.ScreenTextWidth / 10;
  // The preview's rules sit 2 pixels further right than the printer's.
  screen.HalfChar = screen.CharWidth / 2 + 2;
  screen.HalfLine = screen.LineHeight / 2;

  const double ratio = ScreenRatio(metrics);
  screen.PageHeight = PrinterToScreen(printer.PageHeight, ratio);
  screen.PageWidth = PrinterToScreen(printer.PageWidth, ratio);
  screen.MarginLeft = PrinterToScreen(printer.MarginLeft, ratio);
  screen.MarginRight = PrinterToScreen(printer.MarginRight, ratio);
  screen.MarginTop = PrinterToScreen(printer.MarginTop, ratio);
  screen.MarginBottom = PrinterToScreen(printer.MarginBottom, ratio);
}
