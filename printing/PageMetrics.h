#pragma once
#include <array>
#include <cstdint>

struct TDeviceMetrics {
  std::int32_t Dpi = 0;
  std::int32_t PageHeight = 0;
  std::int32_t PageWidth = 0;
  std::int32_t MarginLeft = 0;
  std::int32_t MarginRight = 0;
  std::int32_t MarginTop = 0;
  std::int32_t MarginBottom = 0;
  std::int32_t LineHeight = 0;
  std::int32_t CharWidth = 0;
  std::int32_t HalfLine = 0;
  std::int32_t HalfChar = 0;
  bool operator==(const TDeviceMetrics&) const = default;
};

enum : int { DevicePrinter = 0, DeviceScreen = 1 };

// Entry 0 the printer, entry 1 the screen.
using PageMetrics = std::array<TDeviceMetrics, 2>;

// What the window measures on the two devices with their measuring fonts.
struct DeviceMeasurement {
  std::int32_t PrinterPageWidth = 0;   // HORZRES
  std::int32_t PrinterPageHeight = 0;  // VERTRES
  std::int32_t PrinterTextWidth = 0;   // width of "1234567890"
  std::int32_t PrinterTextHeight = 0;  // height of "1234567890"
  std::int32_t ScreenTextWidth = 0;
  std::int32_t ScreenTextHeight = 0;
};

// Recomputes every field of both entries except the two Dpi values and the
// printer margins, from what was measured.
void DerivePageMetrics(PageMetrics& metrics, const DeviceMeasurement& measured);

// The printer entry when the page is to be drawn on a printer of `dpi`: the
// margins, kept in printer pixels, scale by dpi / Dpi (each rounded) and Dpi
// becomes dpi, so the sheet prints at the size it had. Nothing changes when
// the resolution stays or either one is not positive.
void RescalePrinterMargins(TDeviceMetrics& printer, std::int32_t dpi);

// Unit conversions of the page set-up. Every rounding is Round (ties to even).

// Pixel height of a font of `points` on a device of `dpi`: Round(points * dpi / 72).
std::int32_t PointsToPixels(double points, std::int32_t dpi);

// Millimetres to printer pixels and back (the margin dialog); a dpi of 0 or
// less converts nothing and gives 0.
std::int32_t MillimetresToPixels(double mm, std::int32_t dpi);
std::int32_t PixelsToMillimetres(std::int32_t pixels, std::int32_t dpi);

// Screen Dpi / printer Dpi, 1.0 when the printer Dpi is 0.
double ScreenRatio(const PageMetrics& metrics);

// Printer pixels in screen pixels: Round(pixels * ratio).
std::int32_t PrinterToScreen(std::int32_t pixels, double ratio);

// Default margins in printer pixels: left 0.3281 inch, top 0.6562 inch.
std::int32_t DefaultMarginLeft(std::int32_t dpi);
std::int32_t DefaultMarginTop(std::int32_t dpi);

// A margin at `scale`, rounded, and held within 16 million pixels: a margin
// past any page (typed into the margin dialog, say) draws nothing on it
// either way, and held there no offset added to it can overflow.
std::int32_t ScaledMargin(std::int32_t margin, double scale);
