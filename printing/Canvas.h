#pragma once
// The one drawing surface the sheet knows. Implementations: the QPainter
// adapter (screen, printer, PDF), a text canvas on the sheet grid, and a
// recording canvas for tests. All text is GBK bytes; all lengths are device
// pixels of the surface.
#include <cstdint>
#include <string>
#include <string_view>

enum FontStyleBits : std::uint8_t {
  fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8,
};

// A font as the settings file and the font dialog know it.
struct FontSpec {
  std::uint8_t Charset = 1;  // Windows charset code, kept for the settings file
  std::int32_t Size = 10;    // points
  std::string Name;          // GBK face name, at most 100 bytes when saved
  std::uint8_t Style = 0;    // FontStyleBits
  bool operator==(const FontSpec&) const = default;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The surface's pixels per inch for font sizes: a font of S points is
  // drawn S * Dpi / 72 pixels high (character height, no internal leading).
  virtual void SetFontDpi(int dpi) = 0;
  virtual int FontDpi() const = 0;

  // Puts `font` on the canvas at `points` (its Size is ignored here).
  virtual void SetFont(const FontSpec& font, int points) = 0;

  virtual int TextWidth(std::string_view gbk) = 0;
  virtual int TextHeight(std::string_view gbk) = 0;
  virtual void TextOut(int x, int y, std::string_view gbk) = 0;

  virtual void SetPenStyle(PenStyle style) = 0;
  virtual void Line(int x1, int y1, int x2, int y2) = 0;
  // Outline with the current pen; the inside is left as it is.
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
};

// Puts `font` on the canvas with its size multiplied by `factor`
// (Round, ties to even: 10 pt at 1.25 -> 12, 14 pt -> 18).
void ScaleFont(Canvas& canvas, const FontSpec& font, double factor);
